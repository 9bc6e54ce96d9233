#pragma once
// The texts for the shell's answers when an item is started (the texts
// themselves are in common/app_texts.h).
#include <cstdint>
#include <string>

namespace tilerack {

// Empty for a result above 32 (the start succeeded); otherwise the message of
// the result code, "Номер %d" for codes without a message of their own.
std::string ShellResultMessage(int32_t result);

}  // namespace tilerack
