#include "dialogs/chosen_name.h"

#include "common/app_texts.h"
#include "common/errors.h"
#include "platform/text.h"

namespace tilerack {

std::string ChosenNameInCodePage(const std::wstring& chosen) {
    bool lossless = true;
    std::string name = win::Narrow(chosen, &lossless);
    if (!lossless) throw TError(kNameOutsideCodePage);
    return name;
}

}  // namespace tilerack
