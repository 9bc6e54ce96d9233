#pragma once
// The language the panel speaks: the stored one from the start, another
// chosen from the context menu's languages' submenu, spoken at once and kept.
// The texts the panel has already shown follow it: the fixed buttons' hints
// (their tooltips and accessible names), the window's title and the tray
// icon's tip. Everything shown later reads the table anew.
#include <windows.h>

#include <functional>
#include <utility>

#include "common/app_language.h"
#include "panel/button_strip.h"

namespace tilerack {

class LanguageSwitch {
public:
    struct Host {
        // The strip's tooltips and the tray icon's tip told their texts again.
        std::function<void()> RetellTips;
        std::function<void()> RetellTrayTip;
        // The language chosen is kept in the settings at once.
        std::function<void(Language)> KeepLanguage;
    };

    LanguageSwitch(ButtonStrip& strip, Host host) : strip_(strip), host_(std::move(host)) {}

    void Attach(HWND panel) { panel_ = panel; }
    // The panel speaks `language` from now on.
    void Speak(Language language);
    // The user chose `language`: spoken and kept.
    void Choose(Language language);

private:
    ButtonStrip& strip_;
    Host host_;
    HWND panel_ = nullptr;
};

}  // namespace tilerack
