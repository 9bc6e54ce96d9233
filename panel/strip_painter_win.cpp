// The strip's painting: the background, the buttons' faces, one copy to the window.
#include "panel/strip_painter_win.h"

#include <algorithm>
#include <string>

#include "common/app_texts.h"
#include "common/font_face.h"
#include "panel/background_blend.h"
#include "panel/number_badges_win.h"
#include "platform/fonts.h"
#include "platform/text.h"
#include "platform/window_base.h"

namespace tilerack {

namespace {

// The part of `rows` inside `r`, as rows of their own (nothing where they do not meet).
PixelRows ClipRows(PixelRows rows, const Rect& r) {
    const int left = std::max(r.left, 0), top = std::max(r.top, 0);
    const int right = std::min(r.Right(), rows.width), bottom = std::min(r.Bottom(), rows.height);
    if (!rows.bits || right <= left || bottom <= top) return PixelRows{};
    return PixelRows{rows.Row(top) + left * 3, right - left, bottom - top, rows.stride};
}

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.Right(), r.Bottom()}; }

}  // namespace

// A separator's etched line across the middle of its place, clear of the edges.
void StripPainter::DrawSeparatorLine(HDC dc, const Rect& bounds) const {
    const int inset = metrics_.captionInset;
    const int middle = bounds.top + bounds.height / 2 - 1;
    RECT line{bounds.left + inset, middle, bounds.Right() - inset, middle + 2};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}

// A folder's mark: a small triangle pointing down, centred in its square.
void StripPainter::DrawMenuMark(HDC dc, const Rect& mark) const {
    const int half = std::max(mark.width * 3 / 10, 2);
    const int cx = mark.left + mark.width / 2, cy = mark.top + mark.height / 2;
    const POINT corners[3] = {{cx - half, cy - half / 2}, {cx + half + 1, cy - half / 2}, {cx, cy + half / 2 + 1}};
    win::SelectScope brush(dc, GetStockObject(BLACK_BRUSH));
    win::SelectScope pen(dc, GetStockObject(NULL_PEN));
    Polygon(dc, corners, 3);
}

void StripPainter::FollowScale() {
    font_ = win::MakeFont(win::Widen(FontFaceForDpi(kPanelFontFace, metrics_.scale.dpi)), metrics_.fontHeight,
                          RUSSIAN_CHARSET);
}

void StripPainter::Paint(HDC dc, const std::function<void(HDC)>& over) {
    const SIZE client = win::ClientSize(panel_);
    const int cw = std::max<int>(client.cx, 1), ch = std::max<int>(client.cy, 1);
    // Everything is composed off screen and copied in one go: no flicker,
    // and the window never erases its background.
    win::DibCanvas& canvas = canvas_.Get(cw, ch);
    const PixelRows pixels = canvas.Rows();
    PaintBackground(pixels, backdrop_.Background(), backdrop_.BlendedColumns(), win::ToColorRef(settings_.color),
                    settings_.opacity);
    win::SelectScope font(canvas.dc(), font_.get());
    SetBkMode(canvas.dc(), TRANSPARENT);
    Draw(canvas.dc(), pixels, Measure(canvas.dc(), Extent{cw, ch}));
    over(canvas.dc());
    BitBlt(dc, 0, 0, cw, ch, canvas.dc(), 0, 0, SRCCOPY);
}

// The shown buttons in the strip's order, each with its caption measured in
// the panel's font (selected into `dc`) and its parts placed.
std::vector<PlacedButton> StripPainter::Measure(HDC dc, Extent client) const {
    const PanelMetrics& m = metrics_;
    const bool panelFocused = GetFocus() == panel_;
    std::vector<PlacedButton> placed;
    for (const TFlatButton* b : strip_.Buttons()) {
        if (!b->visible) continue;
        // Pictures are designed at 96 DPI and drawn at the screen's scale.
        FaceRequest request{.bounds = b->bounds,
                            .picture = Extent{m.scale.Scale(b->ImageWidth()), m.scale.Scale(b->ImageHeight())},
                            .caption = std::nullopt,
                            .look = host_.LookOf(*b),
                            .focused = panelFocused && b->id == host_.KeyboardFocus(),
                            .fixed = strip_.IsFixed(b)};
        // A separator is its line alone (drawn with the captions).
        if (b->separator) request.picture = Extent{0, 0};
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
void StripPainter::Draw(HDC dc, PixelRows pixels, const std::vector<PlacedButton>& placed) const {
    for (const PlacedButton& p : placed) {
        const Rect& clip = p.face.clip;
        const PixelRows inside = ClipRows(pixels, clip);
        if (!inside.bits || p.button->separator) continue;
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
        if (p.button->separator) DrawSeparatorLine(dc, p.button->bounds);
        if (p.button->opensMenu) DrawMenuMark(dc, MenuMarkRect(p.button->bounds, settings_.side, metrics_));
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
        if (const int digit = host_.BadgeOf(p.button->id); digit >= 0)
            DrawNumberBadge(dc, p.button->bounds, digit, metrics_);
    }
}

}  // namespace tilerack
