#pragma once
// Files opened with an item's program (a file dropped onto it, or chosen for
// it), and the shell's verb for a start.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tilerack {

// Whether a file name (quoted or not) names a program: .exe, .com, .bat or
// .cmd, whatever their case.
bool NamesAProgram(std::string_view fileName);

// The parameters of a start of the item's program with `files`: the item's
// own parameters first, then each file quoted, so that the program's command
// line parser gives each path back whole (a trailing backslash doubled, as
// it would escape the closing quote).
std::string OpenWithParameters(std::string_view itemParameters, const std::vector<std::string>& files);

// The shell's verb for a start: Ctrl+Shift (on a click or with Enter) starts
// as administrator, anything else opens.
enum class LaunchVerb { Open, RunAs };
LaunchVerb VerbForModifiers(bool control, bool shift);
// A start the user cancelled at the elevation prompt (the system's
// ERROR_CANCELLED) says nothing; any other failure is reported.
inline constexpr uint32_t kStartCancelledByUser = 1223;

}  // namespace tilerack
