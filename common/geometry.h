#pragma once
// Points and rectangles in pixels: the strip's layout, the dialogs' control
// tables and the pointer watch share them.

namespace tilerack {

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle by its top-left corner and size; Right and Bottom are exclusive.
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    constexpr int Right() const { return left + width; }
    constexpr int Bottom() const { return top + height; }
    constexpr bool Contains(int x, int y) const { return x >= left && x < Right() && y >= top && y < Bottom(); }
    constexpr Rect Offset(int dx, int dy) const { return {left + dx, top + dy, width, height}; }
    bool operator==(const Rect&) const = default;
};

}  // namespace tilerack
