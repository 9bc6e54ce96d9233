// The context menu: its entries, the screens' submenu, the chosen entry run.
#include "panel/menus_win.h"

#include "common/app_texts.h"
#include "panel/screen_dock.h"
#include "platform/handles.h"
#include "platform/popup_menu.h"
#include "platform/text.h"

namespace tilerack {

namespace {

enum MainCommand : UINT {
    N1 = 1, N3 = 3, N4 = 4, N7 = 7, N9 = 9, N10 = 10, N11 = 11, N12 = 12,
    kRunAsAdministrator = 20, kOpenFileWith = 21, kAddSeparatorCommand = 22,
    // The entries of the screen menu: this plus the screen's index.
    kFirstScreenCommand = 100, kLastScreenCommand = 199,
    kSpeakRussian = 200, kSpeakEnglish = 201,
};

}  // namespace

void PanelMenus::PopupMain(POINT at) {
    win::UniqueMenu menu(CreatePopupMenu());
    const UINT itemFlags = MF_STRING | (itemCommands_ ? MF_ENABLED : MF_GRAYED);
    auto add = [&](UINT flags, UINT id, const char* text) {
        AppendMenuW(menu.get(), flags, id, text ? win::Widen(text).c_str() : nullptr);
    };
    add(MF_STRING, N1, kMenuCreateItem);
    add(MF_STRING, kAddSeparatorCommand, kMenuAddSeparator);
    add(itemFlags, N10, kMenuMoveUp);
    add(itemFlags, N11, kMenuMoveDown);
    add(MF_SEPARATOR, 0, nullptr);
    add(itemFlags, N4, kMenuDelete);
    add(MF_SEPARATOR, 0, nullptr);
    add(itemFlags, N12, kMenuShowFile);
    add(itemFlags, N3, kMenuProperties);
    add(MF_STRING, N9, kMenuSettings);
    AppendLanguages(menu.get());
    // With two screens or more: the screen the panel stands on, one entry each.
    win::UniqueMenu screens;
    const std::vector<Screen>& list = host_.Screens();
    if (list.size() > 1) {
        screens.reset(CreatePopupMenu());
        const int current = host_.CurrentScreen();
        for (size_t i = 0; i < list.size() && kFirstScreenCommand + i <= kLastScreenCommand; ++i)
            AppendMenuW(screens.get(), MF_STRING | (static_cast<int>(i) == current ? MF_CHECKED : 0),
                        kFirstScreenCommand + i, ScreenEntryText(static_cast<int>(i) + 1, list[i]).c_str());
        // The submenu is the menu's from here on and goes with it.
        AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(screens.release()),
                    win::Widen(kMenuScreens).c_str());
    }
    add(MF_SEPARATOR, 0, nullptr);
    add(MF_STRING, N7, kMenuExit);
    // The item's own starts come last: the entries above keep their places
    // whatever the press was on.
    if (const ItemStarts starts = host_.ClickedItemStarts(); starts != ItemStarts::None) {
        add(MF_SEPARATOR, 0, nullptr);
        add(MF_STRING, kRunAsAdministrator, kMenuRunAsAdministrator);
        if (starts == ItemStarts::Program) add(MF_STRING, kOpenFileWith, kMenuOpenFileWith);
    }
    SetMenuDefaultItem(menu.get(), N7, FALSE);

    // PopupMainPopup: the pointer watch stays suspended once the menu closes.
    host_.EnableTimerMouse(false);
    // The tray icon's menus rely on the panel being made the foreground window too.
    if (const UINT command = win::ChooseFromPopupMenu(panel_, menu.get(), at)) Run(command);
}

void PanelMenus::AppendLanguages(HMENU menu) {
    win::UniqueMenu languages(CreatePopupMenu());
    const bool english = SpokenLanguage() == Language::English;
    AppendMenuW(languages.get(), MF_STRING | (english ? 0 : MF_CHECKED), kSpeakRussian,
                win::Widen(kMenuLanguageRussian).c_str());
    AppendMenuW(languages.get(), MF_STRING | (english ? MF_CHECKED : 0), kSpeakEnglish,
                win::Widen(kMenuLanguageEnglish).c_str());
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(languages.release()), win::Widen(kMenuLanguage).c_str());
}

void PanelMenus::Run(UINT command) {
    switch (command) {
    case N1: host_.N1Click(); break;
    case kAddSeparatorCommand: host_.AddSeparatorClick(); break;
    case N3: host_.N3Click(); break;
    case N9: host_.N9Click(); break;
    case N10: host_.N10Click(); break;
    case N11: host_.N11Click(); break;
    case N4: host_.N4Click(); break;
    case N12: host_.N12Click(); break;
    case N7: host_.N7Click(); break;
    case kRunAsAdministrator: host_.RunAsAdministratorClick(); break;
    case kOpenFileWith: host_.OpenFileWithClick(); break;
    case kSpeakRussian: host_.ChooseLanguage(Language::Russian); break;
    case kSpeakEnglish: host_.ChooseLanguage(Language::English); break;
    default:
        if (command >= kFirstScreenCommand && command <= kLastScreenCommand)
            host_.ChooseScreen(command - kFirstScreenCommand);
        break;
    }
}

}  // namespace tilerack
