#pragma once
// The panel window's timers (WM_TIMER ids): the pointer watch, the strip
// buttons' reveal, the lifts above a stand-in notification area, the strip's
// scrolling while a drag rests near its top or bottom.
#include <cstdint>

namespace tilerack {

inline constexpr uintptr_t kTimerMouseId = 1;
inline constexpr uintptr_t kTimerButtonId = 2;
inline constexpr uintptr_t kTimerLiftId = 3;
inline constexpr uintptr_t kTimerDragScrollId = 4;
inline constexpr unsigned kDragScrollInterval = 150;  // ms

}  // namespace tilerack
