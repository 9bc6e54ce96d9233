// Arranging items by dragging their buttons along the strip.
#include "panel/arrange_by_drag_win.h"

#include <algorithm>

#include "panel/panel_timers.h"
#include "panel/strip_focus.h"
#include "platform/display_scale.h"
#include "platform/window_base.h"

namespace tilerack {

void ArrangeByDrag::Press(const TFlatButton* over, POINT p) {
    // Only item buttons are dragged, never the fixed ones.
    const ItemEntry* entry = over ? strip_.EntryOf(over->id) : nullptr;
    const std::optional<size_t> at = entry ? strip_.Items().IndexOf(entry->item.get()) : std::nullopt;
    if (!at) return;
    const SIZE distance = win::DragDistanceFor(metrics_.scale.dpi);
    drag_.Press(static_cast<int>(*at), Point{p.x, p.y}, DragDistance{distance.cx, distance.cy});
}

bool ArrangeByDrag::Move(POINT p) {
    const bool wasDragging = drag_.Dragging();
    if (!wasDragging && drag_.State() != ItemDrag::Phase::Pressed) return false;
    // The left button may have come up where the panel never heard of it.
    if (!(GetKeyState(VK_LBUTTON) & 0x8000) && GetCapture() != panel_) {
        Cancel();
        return false;
    }
    const bool started = drag_.Move(Point{p.x, p.y}, GapAt(p.y));
    if (!drag_.Dragging()) return false;
    if (started) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
        SetTimer(panel_, kTimerDragScrollId, kDragScrollInterval, nullptr);
    }
    host_.Invalidate();
    return true;
}

bool ArrangeByDrag::Release(POINT p) {
    if (!drag_.Dragging()) {
        // A press that never became a drag is a click.
        drag_.Release(false);
        return false;
    }
    const SIZE client = win::ClientSize(panel_);
    const bool overStrip = p.x >= 0 && p.x < client.cx && p.y >= 0 && p.y < client.cy;
    if (overStrip) drag_.Move(Point{p.x, p.y}, GapAt(p.y));
    const std::optional<ItemMove> move = drag_.Release(overStrip);
    KillTimer(panel_, kTimerDragScrollId);
    host_.AbandonPointer();
    if (move) host_.MoveItemTo(*strip_.Items().At(static_cast<size_t>(move->from)).item, move->to);
    host_.Invalidate();
    return true;
}

void ArrangeByDrag::Cancel() {
    const bool dragging = drag_.Cancel();
    KillTimer(panel_, kTimerDragScrollId);
    if (!dragging) return;
    host_.AbandonPointer();
    host_.Invalidate();
}

// Another window took the pointer: a drag under way ends without a move.
void ArrangeByDrag::OnCaptureChanged(HWND gaining) {
    if (gaining != panel_) Cancel();
}

int ArrangeByDrag::GapAt(int y) const {
    const ItemList& items = strip_.Items();
    const int count = static_cast<int>(items.Count());
    if (count == 0) return 0;
    const int first = std::clamp(strip_.FirstShown(), 0, count);
    const int last = std::min(count, first + std::max(host_.Rows().Fitting(first), 1));
    return InsertionGapAmong(y, strip_.EntrySpans(), first, last);
}

void ArrangeByDrag::ScrollTick() {
    if (!drag_.Dragging()) {
        KillTimer(panel_, kTimerDragScrollId);
        return;
    }
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(panel_, &p);
    const StripRows rows = host_.Rows();
    const int shown = strip_.FirstShown();
    const std::vector<StripEntrySpan> spans = strip_.EntrySpans();
    const int fitting = rows.Fitting(shown);
    const int stripTop = strip_.Hide().bounds.Bottom() + metrics_.itemGap;
    // The strip's visible end: the screen's bottom row, which the pointer can reach.
    POINT screenBottom{0, host_.VisibleBottom() - 1};
    ScreenToClient(panel_, &screenBottom);
    const int shownBottom = fitting > 0 ? GapTopAmong(shown + fitting, spans) : stripTop;
    const int stripBottom = std::min<int>(shownBottom, screenBottom.y + 1);
    const int first =
        AutoScrolledFirstWithin(p.y, shown, rows.LastFirst(), stripTop, stripBottom, metrics_.itemPitch / 2);
    if (first == shown) return;
    host_.ScrollStripTo(first);
    drag_.Move(Point{p.x, p.y}, GapAt(p.y));
}

const TFlatButton* ArrangeByDrag::DraggedButton() const {
    return drag_.Item() >= 0 ? &strip_.Items().At(static_cast<size_t>(drag_.Item())).button : nullptr;
}

bool ArrangeByDrag::Drags(const TFlatButton& b) const { return drag_.Dragging() && DraggedButton() == &b; }

void ArrangeByDrag::ButtonRemoving(const TFlatButton& button) {
    if (DraggedButton() == &button) Cancel();
}

void ArrangeByDrag::PaintMark(HDC dc) const {
    if (drag_.Dragging() && drag_.Gap() >= 0) PaintGapBar(dc, strip_, drag_.Gap(), metrics_);
}

void PaintGapBar(HDC dc, const ButtonStrip& strip, int gap, const PanelMetrics& metrics) {
    const ItemList& items = strip.Items();
    if (items.Empty()) return;
    // A bar across the strip at the gap, two design pixels thick, centred on
    // the line between the two buttons.
    const int y = GapTopAmong(gap, strip.EntrySpans());
    const int thick = metrics.scale.Scale(2);
    const Rect across = items.At(0).button.bounds;
    RECT bar{across.left, y - thick / 2, across.Right(), y - thick / 2 + thick};
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace tilerack
