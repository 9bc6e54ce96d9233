// The language spoken, and the texts already shown told again in it.
#include "panel/language_switch_win.h"

#include "common/app_texts.h"

namespace tilerack {

void LanguageSwitch::Speak(Language language) {
    SetSpokenLanguage(language);
    strip_.Hide().hint = kHintHide.Get();
    strip_.Close().hint = kHintClose.Get();
    strip_.Menu().hint = kHintMenu.Get();
    host_.RetellTips();
    SetWindowTextW(panel_, kAppTitleW);
    host_.RetellTrayTip();
}

void LanguageSwitch::Choose(Language language) {
    Speak(language);
    host_.KeepLanguage(language);
}

}  // namespace tilerack
