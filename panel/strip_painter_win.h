#pragma once
// The strip's look: the background captured under the panel's shown place
// (strip_backdrop_win.h) blended with the panel colour, then every shown
// button of the strip (its face measured in the panel's font, its parts
// placed by button_face.h, then drawn), all composed on a canvas kept from
// one paint to the next and copied to the window in one go. Also the painter
// of the item buttons' pictures and the font at the panel's scale.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "common/panel_settings.h"
#include "panel/button_face.h"
#include "panel/button_strip.h"
#include "panel/item_glyph.h"
#include "panel/panel_metrics.h"
#include "panel/strip_backdrop_win.h"
#include "platform/dib.h"
#include "platform/handles.h"

namespace tilerack {

class StripPainter {
public:
    // What the painting asks of the panel.
    struct Host {
        // How a button is drawn: as the pointer leaves it, a dragged one pressed.
        std::function<ButtonLook(const TFlatButton&)> LookOf;
        // The item button with the keyboard focus, or none.
        std::function<ButtonId()> KeyboardFocus;
        std::function<StripBackdrop::ShownPlace()> WhereShown;
        // The digit badge a button carries (number_badges_win.h), or -1.
        std::function<int(ButtonId)> BadgeOf;
    };

    // `background` is the panel's, written by every capture; `metrics` and
    // `settings` are the panel's, read at each capture and paint.
    StripPainter(const ButtonStrip& strip, TBitmap& background, const PanelMetrics& metrics,
                 const PanelSettings& settings, Host host)
        : strip_(strip),
          metrics_(metrics),
          settings_(settings),
          host_(std::move(host)),
          backdrop_(background, metrics, settings, StripBackdrop::Host{.WhereShown = host_.WhereShown}) {}

    void Attach(HWND panel) {
        panel_ = panel;
        backdrop_.Attach(panel);
    }
    // The font at the panel's (new) scale.
    void FollowScale();
    // Paints the whole client area into `dc`: the background, the strip,
    // then what `over` adds.
    void Paint(HDC dc, const std::function<void(HDC)>& over);
    // The background (strip_backdrop_win.h has each).
    void Capture() { backdrop_.Capture(); }
    void CaptureColumnsBeyond() { backdrop_.CaptureColumnsBeyond(); }
    void FirstShowDone() { backdrop_.FirstShowDone(); }
    void Reblend() { backdrop_.Reblend(); }
    int BackgroundLeft() { return backdrop_.Left(); }
    StripBackdrop::Held HoldBackground(int pixels, int oldLeft) { return backdrop_.Hold(pixels, oldLeft); }
    void RejoinBackground(const StripBackdrop::Held& held) { backdrop_.Rejoin(held); }
    // The pictures of the item buttons.
    ItemGlyphPainter& Glyphs() { return glyphs_; }

private:
    // Measures where each shown button's parts go, then draws them.
    std::vector<PlacedButton> Measure(HDC dc, Extent client) const;
    void Draw(HDC dc, PixelRows pixels, const std::vector<PlacedButton>& placed) const;
    void DrawSeparatorLine(HDC dc, const Rect& bounds) const;
    void DrawMenuMark(HDC dc, const Rect& mark) const;

    const ButtonStrip& strip_;
    const PanelMetrics& metrics_;
    const PanelSettings& settings_;
    Host host_;
    HWND panel_ = nullptr;
    ItemGlyphPainter glyphs_;
    win::UniqueFont font_;
    StripBackdrop backdrop_;
    win::KeptCanvas canvas_;  // kept from one paint to the next
};

}  // namespace tilerack
