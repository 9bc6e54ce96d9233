// The panel's look: item buttons, the strip buttons, the translucent
// background and file icons.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>
#include <shellapi.h>

#include <algorithm>

#include "common/bmp_codec.h"
#include "panel/background_blend.h"
#include "panel/button_face.h"
#include "panel/item_glyph.h"
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

// The part of `rows` inside `r`, as rows of their own (nothing where they do not meet).
PixelRows ClipRows(PixelRows rows, const Rect& r) {
    const int left = std::max(r.left, 0), top = std::max(r.top, 0);
    const int right = std::min(r.Right(), rows.width), bottom = std::min(r.Bottom(), rows.height);
    if (!rows.bits || right <= left || bottom <= top) return PixelRows{};
    return PixelRows{rows.Row(top) + left * 3, right - left, bottom - top, rows.stride};
}

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.Right(), r.Bottom()}; }

}  // namespace

void TMainPanel::AddItem(size_t index, std::unique_ptr<TShortCut> item, bool layOut) {
    AddItemButton(strip_.InsertItem(index, std::move(item)), layOut);
}

void TMainPanel::AddItemButton(ItemEntry& entry, bool layOut) {
    TItemButton& b = entry.button;
    b.handCursor = true;
    b.painter = &glyphPainter_;
    b.bounds = Rect{0, 0, win::ClientSize(hwnd_).cx - metrics_.itemInset, metrics_.itemPitch};
    // Shown once the layout has given it a place: a tooltip tool for every
    // button that never fits the strip would only cost time.
    b.visible = false;
    b.numGlyphs = ItemGlyphPainter::kImages;
    TShortCut& item = *entry.item;
    UpdateItemButton(item);
    // From now on an edit is a change of the list, to be saved.
    item.OnChange = [this](TShortCut& sender) {
        UpdateItemButton(sender);
        itemFile_.ListChanged();
    };
    b.onClick = [this, &item] { ItemClick(item); };
    if (layOut) LayoutButtons();
}

void TMainPanel::RemoveItem(const TShortCut& item) {
    dropPictures_.Forget(&item);
    if (strip_.RemoveItem(&item)) LayoutButtons();
}

void TMainPanel::MoveItemTo(const TShortCut& item, int to) {
    if (to < 0 || !strip_.MoveItem(&item, static_cast<size_t>(to))) return;
    LayoutButtons();
    if (KeyboardFocusButton()) ScrollToFocus();
}

void TMainPanel::ButtonAdded(const TFlatButton& button) { NotifyAccessible(EVENT_OBJECT_CREATE, &button); }

void TMainPanel::ButtonRemoving(const TFlatButton& button) {
    NotifyAccessible(EVENT_OBJECT_DESTROY, &button);
    if (ClickedControl == button.id) ClickedControl = kNoButton;
    if (keyboardFocus_ == button.id) keyboardFocus_ = kNoButton;
    if (drag_.Item() >= 0 && &Items.At(static_cast<size_t>(drag_.Item())).button == &button) CancelDrag();
}

void TMainPanel::OrderChanged() {
    NotifyAccessible(EVENT_OBJECT_REORDER, nullptr);
    // A press or drag names its item by its place: the list changed under
    // it, so it ends without a move. (Its own move comes once it has ended.)
    if (drag_.Item() >= 0) CancelDrag();
    itemFile_.ListChanged();
}

ButtonLook TMainPanel::DrawnLook(const TFlatButton& b) const {
    // The dragged button stays pressed in, wherever the pointer is.
    if (drag_.Dragging() && &Items.At(static_cast<size_t>(drag_.Item())).button == &b) return ButtonLook{true, true};
    return router_.LookOf(b);
}

void TMainPanel::UpdateItemButton(TShortCut& item) {
    TItemButton* b = item.Button;
    if (!b) return;
    b->caption = item.Caption;
    b->hint = item.Hint;
    b->ForgetScaledImages();
    b->ForgetSharpPicture();
    tooltips_.Sync(*b);
    if (b->visible) Invalidate();
    NotifyAccessible(EVENT_OBJECT_NAMECHANGE, b);
}

void TMainPanel::LayoutButtons() {
    const int count = static_cast<int>(Items.Count());
    // Only the keyboard and a drag scroll the strip (firstShown_); otherwise it starts at its first item.
    if (firstShown_ != 0)
        firstShown_ = FirstShownFor(firstShown_, -1, count,
                                    FittingItemCount(dock_.Height(), SButtonHide.bounds.Bottom(), metrics_));
    const std::vector<ItemSlot> slots =
        firstShown_ == 0 ? LayoutItemSlots(count, dock_.Height(), SButtonHide.bounds.Bottom(), metrics_)
                         : LayoutItemSlotsFrom(count, firstShown_, dock_.Height(), SButtonHide.bounds.Bottom(), metrics_);
    for (size_t i = 0; i < Items.Count(); ++i) {
        TItemButton& b = Items.At(i).button;
        b.bounds.top = slots[i].top;
        b.bounds.height = metrics_.itemPitch;
        b.visible = slots[i].visible;
        tooltips_.Sync(b);
    }
    Invalidate();
    RequestSharpIcons();
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
    tooltips_.SyncAll();
    // A change of scale lays the strip out where the panel stands, shown or hidden.
    if (!keepPlace_) PlaceAtEdge();
    Invalidate();
}

void TMainPanel::CaptureBackground() {
    if (Hidden) CaptureUnderShownPlace();
}

void TMainPanel::CaptureUnderShownPlace() {
    const int width = dock_.Width() + metrics_.captureExtra, height = dock_.Height();
    const int top = dock_.ClientTop(settings_.side);
    // Before the first show a left panel reads only the columns its frame
    // can cover: those past its far side stay in sight, so they are read
    // once it shows (CaptureColumnsBeyond) and the first paint comes sooner.
    // At the right edge they lie past the screen's edge or under the frame.
    columnsBeyondPending_ = !shown_ && settings_.side == PanelSide::Left;
    // Captured even when the opacity hides it: a later change of the opacity
    // then blends this capture again at once.
    win::CaptureScreen(BackgroundLeft(), top, width, height, Background, captureCanvas_,
                       columnsBeyondPending_ ? dock_.Width() : width);
    // At the right edge the panel can only grow to the left: what lies
    // there is kept too, for a growth while the panel covers its border.
    if (settings_.side == PanelSide::Right)
        win::CaptureScreen(BackgroundLeft() - metrics_.captureExtra, top, metrics_.captureExtra, height, besideBackground_);
    else
        besideBackground_ = TBitmap();
    ReblendBackground();
}

void TMainPanel::CaptureColumnsBeyond() {
    if (!columnsBeyondPending_) return;
    columnsBeyondPending_ = false;
    const int from = dock_.Width(), count = Background.Width() - from;
    if (count <= 0) return;
    const int left = BackgroundLeft(), beyondLeft = left + from;
    TBitmap beyond;
    win::CaptureScreen(beyondLeft, dock_.ClientTop(settings_.side), count, Background.Height(), beyond);
    CopyCapturedColumns(Background, left, beyond, beyondLeft);
}

int TMainPanel::BackgroundLeft() {
    const int edge = dock_.ClientEdge(settings_.side);
    return settings_.side == PanelSide::Right ? edge - win::ClientSize(hwnd_).cx : edge;
}

// Captured even when the opacity hides it, and blended as it is painted: a
// change of the colour or the opacity shows at once, on the whole capture.
void TMainPanel::ReblendBackground() { blendedColumns_ = Background.Width(); }

void TMainPanel::OnPaint() {
    win::PaintScope paint(hwnd_);
    FormPaint(paint.dc());
}

void TMainPanel::FormPaint(HDC dc) {
    const SIZE client = win::ClientSize(hwnd_);
    const int cw = std::max<int>(client.cx, 1), ch = std::max<int>(client.cy, 1);
    // Everything is composed off screen and copied in one go: no flicker,
    // and the window never erases its background.
    win::DibCanvas& canvas = paintCanvas_.Get(cw, ch);
    const PixelRows pixels = canvas.Rows();
    PaintBackground(pixels, Background, blendedColumns_, win::ToColorRef(settings_.color), settings_.opacity);
    win::SelectScope font(canvas.dc(), font_.get());
    SetBkMode(canvas.dc(), TRANSPARENT);
    DrawStrip(canvas.dc(), pixels, MeasureStrip(canvas.dc(), Extent{cw, ch}));
    PaintDragMark(canvas.dc());
    BitBlt(dc, 0, 0, cw, ch, canvas.dc(), 0, 0, SRCCOPY);
}

// The shown buttons in the strip's order, each with its caption measured in
// the panel's font (selected into `dc`) and its parts placed.
std::vector<PlacedButton> TMainPanel::MeasureStrip(HDC dc, Extent client) const {
    const PanelMetrics& m = metrics_;
    const bool panelFocused = GetFocus() == hwnd_;
    std::vector<PlacedButton> placed;
    for (const TFlatButton* b : strip_.Buttons()) {
        if (!b->visible) continue;
        // Pictures are designed at 96 DPI and drawn at the screen's scale.
        FaceRequest request{.bounds = b->bounds,
                            .picture = Extent{m.scale.Scale(b->ImageWidth()), m.scale.Scale(b->ImageHeight())},
                            .caption = std::nullopt,
                            .look = DrawnLook(*b),
                            .focused = panelFocused && b->id == keyboardFocus_,
                            .fixed = strip_.IsFixed(b)};
        if (!b->caption.empty()) {
            RECT text{0, 0, CaptionRoom(b->bounds.width, request.picture.width, m), b->bounds.height};
            const std::wstring caption = win::Widen(b->caption);
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
            request.caption = Extent{text.right, text.bottom};
        }
        placed.push_back({b, request.look, PlanButtonFace(request, client, m)});
    }
    return placed;
}

// The pictures first, in the strip's order (the fixed buttons over the
// items), then the captions, edges and focus marks.
void TMainPanel::DrawStrip(HDC dc, PixelRows pixels, const std::vector<PlacedButton>& placed) const {
    for (const PlacedButton& p : placed) {
        const Rect& clip = p.face.clip;
        const PixelRows inside = ClipRows(pixels, clip);
        if (!inside.bits) continue;
        const Rect& picture = p.face.picture;
        p.button->DrawImageSized(inside, picture.left - std::max(clip.left, 0), picture.top - std::max(clip.top, 0),
                                 picture.width, picture.height, p.look);
    }
    SetTextColor(dc, RGB(0, 0, 0));
    for (const PlacedButton& p : placed) {
        const ButtonFace& face = p.face;
        if (face.hasCaption) {
            RECT r = ToRECT(face.caption);
            const std::wstring caption = win::Widen(p.button->caption);
            // Not clipped to the measured box: descenders of some fonts reach below it.
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                      DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_NOCLIP);
        }
        if (face.edge != FaceEdge::None) {
            RECT edge = ToRECT(p.button->bounds);
            DrawEdge(dc, &edge, face.edge == FaceEdge::Sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
        if (face.focusMark) {
            const RECT mark = ToRECT(face.focus);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            DrawFocusRect(dc, &mark);
        }
    }
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

std::vector<int> TMainPanel::ButtonTopsOnScreen() const {
    std::vector<int> tops;
    tops.reserve(Items.Count());
    for (const auto& entry : Items) {
        POINT top{0, entry->button.bounds.top};
        ClientToScreen(hwnd_, &top);
        tops.push_back(top.y);
    }
    return tops;
}

}  // namespace tilerack
