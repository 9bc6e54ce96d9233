#include "dialogs/chosen_name.h"

#include "common/errors.h"
#include "platform/text.h"

namespace tilerack {

namespace {

constexpr const char* kNameOutsideCodePage =
    "Это имя нельзя сохранить: оно содержит знаки вне кодовой страницы 1251.";

}  // namespace

std::string ChosenNameInCodePage(const std::wstring& chosen) {
    bool lossless = true;
    std::string name = win::Narrow(chosen, &lossless);
    if (!lossless) throw TError(kNameOutsideCodePage);
    return name;
}

}  // namespace tilerack
