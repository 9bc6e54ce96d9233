#pragma once
// The common controls library is bound at its first use (see
// platform/delayload): a start that shows only the panel does without it.
// Everything that creates a common control calls this first.
namespace tilerack::win {

// Registers the common control classes the program uses; runs once.
void EnsureCommonControls();

}  // namespace tilerack::win
