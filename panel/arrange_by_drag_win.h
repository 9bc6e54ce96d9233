#pragma once
// Arranging items by dragging their buttons along the strip: the press, the
// drag past the system's distance with the mark where the item would land,
// the strip scrolling while the pointer rests near its ends, and the drop.
// The decisions are ItemDrag's (item_drag.h, portable).
#include <windows.h>

#include <functional>
#include <utility>

#include "panel/button_strip.h"
#include "panel/item_drag.h"
#include "panel/panel_metrics.h"
#include "panel/strip_focus.h"

namespace tilerack {

// The bar across the strip at list gap `gap` (between two items' buttons):
// where a dragged item, or dropped files, would land.
void PaintGapBar(HDC dc, const ButtonStrip& strip, int gap, const PanelMetrics& metrics);

class ArrangeByDrag final : public StripObserver {
public:
    // What a drag asks of the panel.
    struct Host {
        std::function<void(const TShortCut&, int)> MoveItemTo;
        // The strip's entries by height in the room they have, and the strip
        // scrolled to start at another.
        std::function<StripRows()> Rows;
        std::function<void(int)> ScrollStripTo;
        // The screen row just below the part of the screen the strip shows
        // on (which the pointer can reach).
        std::function<int()> VisibleBottom;
        // The pointer's press on the strip is forgotten (no click follows).
        std::function<void()> AbandonPointer;
        std::function<void()> Invalidate;
    };

    // `metrics` are the panel's, read as the drag goes.
    ArrangeByDrag(const ButtonStrip& strip, const PanelMetrics& metrics, Host host)
        : strip_(strip), metrics_(metrics), host_(std::move(host)) {}

    void Attach(HWND panel) { panel_ = panel; }
    // A left press on `over` at client point `p`: only item buttons are dragged.
    void Press(const TFlatButton* over, POINT p);
    // A move of the pressed pointer; true when a drag is on (the move is its).
    bool Move(POINT p);
    // The button came up: true when it ended a drag (no click then).
    bool Release(POINT p);
    // Esc, a lost capture, a button that goes: a drag ends without a move.
    void Cancel();
    void OnCaptureChanged(HWND gaining);
    // The scroll timer's tick (kTimerDragScrollId).
    void ScrollTick();
    bool Dragging() const { return drag_.Dragging(); }
    // The button being dragged: drawn pressed in wherever the pointer is.
    bool Drags(const TFlatButton& b) const;
    // The bar where the item would land.
    void PaintMark(HDC dc) const;

    // StripObserver: the dragged button going ends the drag; so does a new
    // order, since a press or drag names its item by its place (its own
    // move comes once it has ended).
    void ButtonAdded(const TFlatButton&) override {}
    void ButtonRemoving(const TFlatButton& button) override;
    void OrderChanged() override {
        if (drag_.Item() >= 0) Cancel();
    }

private:
    // The gap of the strip nearest to client row `y`.
    int GapAt(int y) const;
    const TFlatButton* DraggedButton() const;

    const ButtonStrip& strip_;
    const PanelMetrics& metrics_;
    Host host_;
    HWND panel_ = nullptr;
    ItemDrag drag_;
};

}  // namespace tilerack
