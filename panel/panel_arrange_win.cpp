// Arranging items by dragging their buttons along the strip: the press, the
// drag past the system's distance with the mark where the item would land,
// the strip scrolling while the pointer rests near its ends, and the drop.
#include <windows.h>

#include <algorithm>

#include "panel/strip_focus.h"
#include "panel/sysmain.h"
#include "platform/display_scale.h"

namespace tilerack {

void TMainPanel::PressForDrag(const TFlatButton* over, POINT p) {
    // Only item buttons are dragged, never the fixed ones.
    const ItemEntry* entry = over ? strip_.EntryOf(over->id) : nullptr;
    const std::optional<size_t> at = entry ? Items.IndexOf(entry->item.get()) : std::nullopt;
    if (!at) return;
    const SIZE distance = win::DragDistanceFor(metrics_.scale.dpi);
    drag_.Press(static_cast<int>(*at), Point{p.x, p.y}, DragDistance{distance.cx, distance.cy});
}

bool TMainPanel::DragMove(POINT p) {
    const bool wasDragging = drag_.Dragging();
    if (!wasDragging && drag_.State() != ItemDrag::Phase::Pressed) return false;
    // The left button may have come up where the panel never heard of it.
    if (!(GetKeyState(VK_LBUTTON) & 0x8000) && GetCapture() != hwnd_) {
        CancelDrag();
        return false;
    }
    const bool started = drag_.Move(Point{p.x, p.y}, GapAt(p.y));
    if (!drag_.Dragging()) return false;
    if (started) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
        SetTimer(hwnd_, kTimerDragScrollId, kDragScrollInterval, nullptr);
    }
    Invalidate();
    return true;
}

bool TMainPanel::DragRelease(POINT p) {
    if (!drag_.Dragging()) {
        // A press that never became a drag is a click.
        drag_.Release(false);
        return false;
    }
    const SIZE client = win::ClientSize(hwnd_);
    const bool overStrip = p.x >= 0 && p.x < client.cx && p.y >= 0 && p.y < client.cy;
    if (overStrip) drag_.Move(Point{p.x, p.y}, GapAt(p.y));
    const std::optional<ItemMove> move = drag_.Release(overStrip);
    KillTimer(hwnd_, kTimerDragScrollId);
    router_.Abandon();
    if (move) MoveItemTo(*Items.At(static_cast<size_t>(move->from)).item, move->to);
    Invalidate();
    return true;
}

void TMainPanel::CancelDrag() {
    const bool dragging = drag_.Cancel();
    KillTimer(hwnd_, kTimerDragScrollId);
    if (!dragging) return;
    router_.Abandon();
    Invalidate();
}

// Another window took the pointer: a drag under way ends without a move.
void TMainPanel::OnCaptureChanged(HWND gaining) {
    if (gaining != hwnd_) CancelDrag();
}

int TMainPanel::GapAt(int y) const {
    const int count = static_cast<int>(Items.Count());
    if (count == 0) return 0;
    const int fitting = FittingItemCount(dock_.Height(), SButtonHide.bounds.Bottom(), metrics_);
    const int first = std::clamp(firstShown_, 0, count);
    const int last = std::min(count, first + std::max(fitting, 1));
    const int firstTop = Items.At(0).button.bounds.top;
    return InsertionGap(y, firstTop, metrics_.itemPitch, first, last);
}

void TMainPanel::DragScrollTick() {
    if (!drag_.Dragging()) {
        KillTimer(hwnd_, kTimerDragScrollId);
        return;
    }
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    const int count = static_cast<int>(Items.Count());
    const int fitting = FittingItemCount(dock_.Height(), SButtonHide.bounds.Bottom(), metrics_);
    const int stripTop = SButtonHide.bounds.Bottom() + metrics_.itemGap;
    // The strip's visible end: the screen's bottom row, which the pointer can reach.
    POINT screenBottom{0, dock_.Plan(settings_.side).visibleBottom - 1};
    ScreenToClient(hwnd_, &screenBottom);
    const int stripBottom = std::min<int>(stripTop + fitting * metrics_.itemPitch, screenBottom.y + 1);
    const int first =
        AutoScrolledFirst(p.y, firstShown_, count, fitting, stripTop, stripBottom, metrics_.itemPitch / 2);
    if (first == firstShown_) return;
    ScrollStripTo(first);
    drag_.Move(Point{p.x, p.y}, GapAt(p.y));
}

void TMainPanel::ScrollStripTo(int first) {
    firstShown_ = first;
    LayoutButtons();
}

void TMainPanel::PaintDragMark(HDC dc) const {
    if (!drag_.Dragging() || drag_.Gap() < 0 || Items.Empty()) return;
    // A bar across the strip at the gap, two design pixels thick, centred on
    // the line between the two buttons.
    const int y = GapTop(drag_.Gap(), Items.At(0).button.bounds.top, metrics_.itemPitch);
    const int thick = metrics_.scale.Scale(2);
    const Rect strip = Items.At(0).button.bounds;
    RECT bar{strip.left, y - thick / 2, strip.Right(), y - thick / 2 + thick};
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace tilerack
