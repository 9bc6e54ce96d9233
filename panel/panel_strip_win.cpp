// The strip: item buttons, their layout and scrolling, the strip buttons and
// their arrows, and file icons; its painting is StripPainter's.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>
#include <shellapi.h>

#include <algorithm>

#include "common/bmp_codec.h"
#include "items/separator.h"
#include "panel/item_glyph.h"
#include "panel/strip_focus.h"
#include "panel/strip_layout.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/dib.h"
#include "platform/file_icons.h"
#include "platform/files.h"
#include "platform/text.h"

namespace tilerack {

namespace {

// The arrow picture from the program's resources, as 24 bits: decoded from
// the resource's bytes directly, with no GDI objects in between.
TBitmap LoadBrightResource() {
    HMODULE module = win::Application::Instance().Module();
    HRSRC found = FindResourceW(module, L"BRIGHT", MAKEINTRESOURCEW(2));  // RT_BITMAP
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;  // resource memory: never freed
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return MakeBrightArrows();
    TBitmap picture;
    try {
        ReadPackedDib(static_cast<const uint8_t*>(bytes), SizeofResource(module, found), picture);
    } catch (const std::exception&) {
        return MakeBrightArrows();
    }
    return picture;
}

}  // namespace

void TMainPanel::AddItemButton(ItemEntry& entry, bool layOut) {
    TItemButton& b = entry.button;
    b.handCursor = true;
    b.painter = &painter_.Glyphs();
    b.bounds = Rect{0, 0, win::ClientSize(hwnd_).cx - metrics_.itemInset, metrics_.itemPitch};
    // Shown once the layout has given it a place: a tooltip tool for every
    // button that never fits the strip would only cost time.
    b.visible = false;
    b.numGlyphs = ItemGlyphPainter::kImages;
    TShortCut& item = *entry.item;
    UpdateItemButton(item);
    // From now on an edit is a change of the list, to be saved.
    item.OnChange = [this](TShortCut& sender) {
        const bool wasSeparator = sender.Button && sender.Button->separator;
        UpdateItemButton(sender);
        // An edit that makes a separator an item, or the other way, changes its height.
        if (sender.Button && sender.Button->separator != wasSeparator) LayoutButtons();
        itemFile_.ListChanged();
    };
    b.onClick = [this, &item] { ItemClick(item); };
    // A click on a folder's mark opens its menu; elsewhere it starts the item.
    b.onClickAt = [this, &item](Point at) {
        if (!item.Button || !folderMenu_.OpenAtMark(*item.Button, at)) ItemClick(item);
    };
    if (layOut) LayoutButtons();
}

void TMainPanel::MoveItemTo(const TShortCut& item, int to) {
    if (to < 0 || !strip_.MoveItem(&item, static_cast<size_t>(to))) return;
    LayoutButtons();
    keyboard_.KeepFocusInSight();
}

StripRows TMainPanel::Rows() const {
    return StripRows(strip_.Separators(), dock_.Height(), SButtonHide.bounds.Bottom(), metrics_);
}

void TMainPanel::ScrollStripTo(int first) {
    strip_.SetFirstShown(first);
    LayoutButtons();
}

void TMainPanel::UpdateItemButton(TShortCut& item) {
    TItemButton* b = item.Button;
    if (!b) return;
    b->separator = IsSeparator(item);
    b->handCursor = !b->separator;
    b->opensMenu = !b->separator && IsFolderPath(win::Widen(item.FileName));
    // A separator shows its line alone: no caption, no tooltip.
    b->caption = b->separator ? std::string() : item.Caption;
    b->hint = b->separator ? std::string() : item.Hint;
    b->ForgetScaledImages();
    b->ForgetSharpPicture();
    pointer_.SyncTip(*b);
    if (b->visible) Invalidate();
    accessibility_.Notify(EVENT_OBJECT_NAMECHANGE, b);
}

void TMainPanel::LayoutButtons() {
    const std::vector<bool> separators = strip_.Separators();
    // Only the keyboard and a drag scroll the strip; otherwise it starts at its first item.
    int first = strip_.FirstShown();
    if (first != 0) {
        first = Rows().FirstShownFor(first, -1);
        strip_.SetFirstShown(first);
    }
    const std::vector<ItemSlot> slots =
        LayoutStripEntries(separators, first, dock_.Height(), SButtonHide.bounds.Bottom(), metrics_);
    for (size_t i = 0; i < Items.Count(); ++i) {
        TItemButton& b = Items.At(i).button;
        b.bounds.top = slots[i].top;
        b.bounds.height = slots[i].height;
        b.visible = slots[i].visible;
        pointer_.SyncTip(b);
    }
    Invalidate();
    sharpIcons_.Request();
}

void TMainPanel::FormResize() {
    const SIZE client = win::ClientSize(hwnd_);
    const int cw = client.cx, ch = client.cy;
    const StripButtons strip = PlaceStripButtons(cw, ch, settings_.side, metrics_);
    SButtonHide.bounds = strip.hide;
    SButtonClose.bounds = strip.close;
    SButtonMenu.bounds = strip.menu;
    // Item buttons are anchored left and right: they follow the width.
    for (const auto& entry : Items) entry->button.bounds.width = cw - metrics_.itemInset;
    if (!Background.Empty() && dock_.Width() > Background.Width()) Background.SetWidth(dock_.Width());
    pointer_.SyncTips();
    // A change of scale lays the strip out where the panel stands, shown or hidden.
    if (!scale_.KeepsPlace()) PlaceAtEdge();
    Invalidate();
}

void TMainPanel::CaptureBackground() {
    if (Hidden) painter_.Capture();
}

void TMainPanel::FormPaint(HDC dc) {
    painter_.Paint(dc, [this](HDC canvas) {
        pointer_.PaintMark(canvas);
        drops_.PaintMark(canvas);
    });
}

void TMainPanel::LoadArrowGlyphs() {
    ArrowGlyphs glyphs = BuildArrowGlyphs(LoadBrightResource(), settings_.side);
    SButtonHide.glyph = std::move(glyphs.hide);
    SButtonMenu.glyph = std::move(glyphs.menu);
    Invalidate();
}

void TMainPanel::SetSide(PanelSide side) {
    if (side == settings_.side) return;
    settings_.side = side;
    LoadArrowGlyphs();
    FormResize();
    if (!Hidden) SlideIn();
}

int TMainPanel::ExtractFileIcon(TBitmap& bitmap, const std::string& fileName, int index) {
    return win::ExtractFileIcon(bitmap, fileName, index, win::ToColorRef(settings_.color));
}

}  // namespace tilerack
