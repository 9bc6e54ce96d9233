// The panel's look: item buttons, the strip buttons, the translucent
// background and file icons.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>
#include <shellapi.h>

#include <algorithm>

#include "common/bmp_codec.h"
#include "common/app_texts.h"
#include "panel/background_blend.h"
#include "panel/item_glyph.h"
#include "panel/strip_layout.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/common_controls.h"
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

TItemButton* TMainPanel::AddItemButton(TShortCut& item, bool layOut) {
    auto button = std::make_unique<TItemButton>();
    TItemButton* b = button.get();
    b->handCursor = true;
    b->item = &item;
    b->painter = &glyphPainter_;
    b->bounds = Rect{0, 0, ClientWidth() - 1, kItemButtonHeight};
    // Shown once the layout has given it a place: a tooltip tool for every
    // button that never fits the strip would only cost time.
    b->visible = false;
    b->wordWrap = true;
    b->numGlyphs = 5;
    b->toolId = nextToolId_++;
    buttons_.push_back(std::move(button));

    item.Button = b;
    // The record's button slot holds the button's run-time identity.
    item.ButtonSlot = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(b));
    item.OnChange = [this](TShortCut& sender) { UpdateItemButton(sender); };
    item.DoChange();
    b->onClick = [this, b] {
        if (b->item) ItemClick(*b->item);
    };
    if (layOut) LayoutButtons();
    return b;
}

void TMainPanel::UpdateItemButton(TShortCut& item) {
    TItemButton* b = item.Button;
    if (!b) return;
    b->numGlyphs = 5;
    b->caption = item.Caption;
    b->hint = item.Hint;
    SyncTooltip(*b);
    if (b->visible) Invalidate();
}

void TMainPanel::LayoutButtons() {
    const std::vector<ItemSlot> slots = LayoutItemSlots(static_cast<int>(Items.size()), Height(),
                                                        SButtonHide.bounds.Bottom());
    for (size_t i = 0; i < Items.size(); ++i) {
        TItemButton* b = Items[i]->Button;
        if (!b) continue;
        b->bounds.top = slots[i].top;
        b->visible = slots[i].visible;
        SyncTooltip(*b);
    }
    Invalidate();
}

void TMainPanel::FormResize() {
    const int cw = ClientWidth(), ch = ClientHeight();
    const StripButtons strip = PlaceStripButtons(cw, ch, settings_.side);
    SButtonHide.bounds = strip.hide;
    SButtonClose.bounds = strip.close;
    SButtonMenu.bounds = strip.menu;
    // Item buttons are anchored left and right: they follow the width.
    if (lastClientWidth_ != 0 && cw != lastClientWidth_)
        for (auto& b : buttons_) b->bounds.width += cw - lastClientWidth_;
    lastClientWidth_ = cw;
    if (!Background.Empty() && Width() > Background.Width()) Background.SetWidth(Width());
    for (TFlatButton* b : AllButtons()) SyncTooltip(*b);
    PlaceAtEdge();
    Invalidate();
}

std::vector<TFlatButton*> TMainPanel::AllButtons() {
    std::vector<TFlatButton*> all{&SButtonHide, &SButtonClose, &SButtonMenu};
    for (auto& b : buttons_) all.push_back(b.get());
    return all;
}

TFlatButton* TMainPanel::HitTest(POINT p) {
    // The menu button lies above the item buttons.
    if (SButtonMenu.visible && SButtonMenu.bounds.Contains(p.x, p.y)) return &SButtonMenu;
    for (TFlatButton* b : {&SButtonHide, &SButtonClose})
        if (b->visible && b->bounds.Contains(p.x, p.y)) return b;
    for (auto& b : buttons_)
        if (b->visible && b->bounds.Contains(p.x, p.y)) return b.get();
    return nullptr;
}

void TMainPanel::CaptureBackground() {
    if (!Hidden) return;
    const int width = Width() + 32, height = Height();
    // Captured even when the opacity hides it: a later change of the opacity
    // then blends this capture again at once.
    const int x0 = settings_.side == 1 ? ScreenWidth() - ClientWidth() : 0;
    win::CaptureScreen(x0, 0, width, height, Background);
    ReblendBackground();
}

// Captured even when the opacity hides it, and blended as it is painted: a
// change of the colour or the opacity shows at once, on the whole capture.
void TMainPanel::ReblendBackground() { blendedColumns_ = Background.Width(); }

void TMainPanel::FormPaint(HDC dc) {
    const int cw = std::max(ClientWidth(), 1), ch = std::max(ClientHeight(), 1);
    // Everything is composed off screen and copied in one go: no flicker,
    // and the window never erases its background.
    win::DibCanvas canvas(cw, ch);
    const PixelRows pixels = canvas.Rows();
    PaintBackground(pixels, Background, blendedColumns_, win::ToColorRef(settings_.color), settings_.opacity);
    if (glyphPainter_.Gain() != GlyphGain) glyphPainter_ = ItemGlyphPainter(GlyphGain);

    auto glyphOrigin = [](const TFlatButton& b, int textWidth) {
        const int gw = b.ImageWidth(), gh = b.ImageHeight();
        const int block = gw + (textWidth > 0 ? 1 + textWidth : 0);
        POINT o{b.bounds.left + (b.bounds.width - block) / 2, b.bounds.top + (b.bounds.height - gh) / 2};
        if (b.pressed && b.hot) { ++o.x; ++o.y; }
        return o;
    };

    win::SelectScope font(canvas.dc(), font_.get());
    SetBkMode(canvas.dc(), TRANSPARENT);

    // Caption sizes first: the glyph and its caption are centred as one block.
    struct Placed { TFlatButton* b; RECT text; POINT glyph; };
    std::vector<Placed> placed;
    for (TFlatButton* b : AllButtons()) {
        if (!b->visible) continue;
        RECT text{0, 0, 0, 0};
        if (!b->caption.empty()) {
            const int room = std::max(b->bounds.width - b->ImageWidth() - 1 - 4, 1);
            text = RECT{0, 0, room, b->bounds.height};
            const std::wstring caption = win::Widen(b->caption);
            DrawTextW(canvas.dc(), caption.c_str(), static_cast<int>(caption.size()), &text,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
            text.right = std::min<LONG>(text.right, room);
            text.bottom = std::min<LONG>(text.bottom, b->bounds.height);
        }
        const POINT g = glyphOrigin(*b, b->caption.empty() ? 0 : text.right);
        if (pixels.bits) b->DrawImage(pixels, g.x, g.y);
        placed.push_back({b, text, g});
    }
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    for (const Placed& p : placed) {
        TFlatButton& b = *p.b;
        if (!b.caption.empty()) {
            const int h = p.text.bottom;
            RECT r{p.glyph.x + b.ImageWidth() + 1, b.bounds.top + (b.bounds.height - h) / 2, 0, 0};
            if (b.pressed && b.hot) r.top += 1;
            r.right = r.left + p.text.right;
            r.bottom = r.top + h;
            const std::wstring caption = win::Widen(b.caption);
            // Not clipped to the measured box: descenders of some fonts reach below it.
            DrawTextW(canvas.dc(), caption.c_str(), static_cast<int>(caption.size()), &r,
                      DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_NOCLIP);
        }
        if (b.hot || b.pressed) {
            RECT edge{b.bounds.left, b.bounds.top, b.bounds.Right(), b.bounds.Bottom()};
            DrawEdge(canvas.dc(), &edge, b.pressed && b.hot ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
    }
    BitBlt(dc, 0, 0, cw, ch, canvas.dc(), 0, 0, SRCCOPY);
}

void TMainPanel::LoadArrowGlyphs() {
    ArrowGlyphs glyphs = BuildArrowGlyphs(LoadBrightResource(), settings_.side);
    HideGlyph = glyphs.hide;
    MenuGlyph = glyphs.menu;
    SButtonHide.glyph = HideGlyph;
    SButtonMenu.glyph = MenuGlyph;
    Invalidate();
}

void TMainPanel::SetSide(int side) {
    if (side == settings_.side) return;
    settings_.side = static_cast<uint8_t>(side);
    LoadArrowGlyphs();
    FormResize();
    if (!Hidden) SlideIn();
}

int TMainPanel::ExtractFileIcon(TBitmap& bitmap, const std::string& fileName, int index) {
    return win::ExtractFileIcon(bitmap, fileName, index, win::ToColorRef(settings_.color));
}

void TMainPanel::CreateTooltips() {
    if (tooltip_) return;
    win::EnsureCommonControls();
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               win::Application::Instance().Module(), nullptr);
    if (!tooltip_) return;
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, 1000);
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 5000);
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_RESHOW, 100);
    // A maximum width turns on line breaks, so two-line hints show as two lines.
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
    for (TFlatButton* b : AllButtons()) SyncTooltip(*b);
}

// The tooltip control (and with it the common controls library) is needed
// only once the pointer is over the panel: made at the first pointer move.
// Its tools are fed by relaying rather than by subclassing the panel, so the
// very move that makes the control already starts its delay.
void TMainPanel::RelayToTooltip(UINT msg, WPARAM wp, LPARAM lp) {
    if (!tooltip_ && msg == WM_MOUSEMOVE && !destroyed_) CreateTooltips();
    if (!tooltip_) return;
    MSG relayed{};
    relayed.hwnd = hwnd_;
    relayed.message = msg;
    relayed.wParam = wp;
    relayed.lParam = lp;
    relayed.time = static_cast<DWORD>(GetMessageTime());
    const DWORD at = GetMessagePos();
    relayed.pt = POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void TMainPanel::SyncTooltip(TFlatButton& b) {
    if (!tooltip_ || !b.toolId) return;
    // A hidden button or one without a hint keeps its tool with an empty
    // place: deleting tools while a tip shows (the hide button vanishing as
    // the pointer leaves it) leaves Wine's tooltip unable to show any tip
    // again, and removing and adding loses its tracking of the pointer.
    const bool shows = b.visible && !b.hint.empty();
    if (!shows && !b.toolAdded) return;
    std::wstring text = win::Widen(b.hint);
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = 0;  // fed by RelayToTooltip
    ti.hwnd = hwnd_;
    ti.uId = b.toolId;
    ti.rect = shows ? RECT{b.bounds.left, b.bounds.top, b.bounds.Right(), b.bounds.Bottom()} : RECT{0, 0, 0, 0};
    ti.lpszText = text.data();
    if (b.toolAdded) {
        SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    } else {
        b.toolAdded = SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != FALSE;
    }
}

void TMainPanel::RemoveTooltip(TFlatButton& b) {
    if (!tooltip_ || !b.toolAdded) return;
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = hwnd_;
    ti.uId = b.toolId;
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    b.toolAdded = false;
}

}  // namespace tilerack
