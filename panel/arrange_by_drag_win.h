#pragma once
// Arranging items by dragging their buttons along the strip: the press, the
// drag past the system's distance with the mark where the item would land,
// the strip scrolling while the pointer rests near its ends, and the drop.
// The decisions are ItemDrag's (item_drag.h, portable).
#include <windows.h>

#include "panel/button_strip.h"
#include "panel/item_drag.h"
#include "panel/panel_metrics.h"

namespace tilerack {

class ArrangeByDrag final : public StripObserver {
public:
    // What a drag asks of the panel.
    class Host {
    public:
        virtual ~Host() = default;
        virtual void MoveItemTo(const TShortCut& item, int to) = 0;
        virtual int FirstShown() const = 0;
        virtual int FittingItems() const = 0;
        virtual void ScrollStripTo(int first) = 0;
        // The pointer's press on the strip is forgotten (no click follows).
        virtual void AbandonPointer() = 0;
        virtual void Invalidate() = 0;
    };

    // `metrics` are the panel's, read as the drag goes.
    ArrangeByDrag(const ButtonStrip& strip, const PanelMetrics& metrics, Host& host)
        : strip_(strip), metrics_(metrics), host_(host) {}

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

    // StripObserver: the dragged button going ends the drag.
    void ButtonAdded(const TFlatButton&) override {}
    void ButtonRemoving(const TFlatButton& button) override;
    void OrderChanged() override {}

private:
    // The gap of the strip nearest to client row `y`.
    int GapAt(int y) const;
    const TFlatButton* DraggedButton() const;

    const ButtonStrip& strip_;
    const PanelMetrics& metrics_;
    Host& host_;
    HWND panel_ = nullptr;
    ItemDrag drag_;
};

}  // namespace tilerack
