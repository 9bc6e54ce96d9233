#pragma once
// The strip's painting: the captured background blended with the panel
// colour, then every shown button of the strip (its face measured in the
// panel's font, then drawn), all composed on a canvas kept from one paint to
// the next and copied to the window in one go. Also the painter of the item
// buttons' pictures and the font at the panel's scale.
#include <windows.h>

#include <functional>
#include <vector>

#include "common/panel_settings.h"
#include "panel/button_face.h"
#include "panel/button_strip.h"
#include "panel/item_glyph.h"
#include "panel/panel_metrics.h"
#include "platform/dib.h"
#include "platform/handles.h"

namespace tilerack {

class StripPainter {
public:
    // What the painting asks of the panel.
    class Host {
    public:
        virtual ~Host() = default;
        // How a button is drawn: as the pointer leaves it, a dragged one pressed.
        virtual ButtonLook DrawnLook(const TFlatButton& b) const = 0;
        // The item button with the keyboard focus, or none.
        virtual ButtonId KeyboardFocus() const = 0;
    };

    // `metrics` and `settings` are the panel's, read at each paint.
    StripPainter(const ButtonStrip& strip, const PanelMetrics& metrics, const PanelSettings& settings, Host& host)
        : strip_(strip), metrics_(metrics), settings_(settings), host_(host) {}

    void Attach(HWND panel) { panel_ = panel; }
    // The font at the panel's (new) scale.
    void FollowScale();
    // Paints the whole client area into `dc`: `background` blended in its
    // first `blendedColumns` columns, the strip, then what `over` adds.
    void Paint(HDC dc, const TBitmap& background, int blendedColumns, const std::function<void(HDC)>& over);
    // The pictures of the item buttons.
    ItemGlyphPainter& Glyphs() { return glyphs_; }

private:
    // Measures where each shown button's parts go, then draws them.
    std::vector<PlacedButton> Measure(HDC dc, Extent client) const;
    void Draw(HDC dc, PixelRows pixels, const std::vector<PlacedButton>& placed) const;

    const ButtonStrip& strip_;
    const PanelMetrics& metrics_;
    const PanelSettings& settings_;
    Host& host_;
    HWND panel_ = nullptr;
    ItemGlyphPainter glyphs_;
    win::UniqueFont font_;
    win::KeptCanvas canvas_;  // kept from one paint to the next
};

}  // namespace tilerack
