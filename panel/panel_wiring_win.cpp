// The wiring: each collaborator bound to the panel through the Host it
// declares, one binding each; they reach one another only through these
// bindings and the strip's observers.
#include <windows.h>

#include "items/separator.h"
#include "panel/sysmain.h"
#include "platform/application.h"
#include "platform/dib.h"

namespace tilerack {

struct TMainPanel::Wiring {
    static StripPointer::Host PointerHost(TMainPanel& p) {
        return {.FormMouseDown = [&p](const TFlatButton* s, int button, POINT at) { p.FormMouseDown(s, button, at); },
                .SButtonHideMouseMove = [&p] { p.SButtonHideMouseMove(); },
                .MoveItemTo = [&p](const TShortCut& item, int to) { p.MoveItemTo(item, to); },
                .Rows = [&p] { return p.Rows(); },
                .ScrollStripTo = [&p](int first) { p.ScrollStripTo(first); },
                .VisibleBottom = [&p] { return p.dock_.Plan(p.settings_.side).visibleBottom; },
                .Invalidate = [&p] { p.Invalidate(); }};
    }

    static KeyboardUse::Host KeyboardHost(TMainPanel& p) {
        return {.BringOutForKeyboard =
                    [&p] {
                        if (p.Hidden) p.ShowSequence();
                        POINT cursor{};
                        GetCursorPos(&cursor);
                        p.TimerMouse.watch.Restart(cursor.x);
                    },
                .HideByButton = [&p] { p.HideByButton(); },
                .StartHideWatch = [&p] { p.StartHideWatch(); },
                .OpenContextMenu = [&p](const TFlatButton* sender, POINT client,
                                        POINT at) { p.OpenContextMenu(sender, client, at); },
                .MoveItemTo = [&p](const TShortCut& item, int to) { p.MoveItemTo(item, to); },
                .Rows = [&p] { return p.Rows(); },
                .ScrollStripTo = [&p](int first) { p.ScrollStripTo(first); },
                .TellFocus = [&p](const TFlatButton& b) { p.accessibility_.Notify(EVENT_OBJECT_FOCUS, &b); },
                .Invalidate = [&p] { p.Invalidate(); },
                .OpenFolderMenu = [&p](const TFlatButton& b) { return p.folderMenu_.OpenBeside(b); },
                .OnRightSide = [&p] { return p.settings_.side == PanelSide::Right; }};
    }

    static StripAccessibility::Host AccessibilityHost(TMainPanel& p) {
        return {.PanelHidden = [&p] { return p.Hidden; },
                .KeyboardFocus = [&p] { return p.keyboard_.Focus(); },
                .LookOf = [&p](const TFlatButton& b) { return p.pointer_.LookOf(b); },
                .SelectItemButton = [&p](const TItemButton& b) { p.keyboard_.Select(b); },
                .DigitOf = [&p](ButtonId b) { return p.keyboard_.DigitOf(b); }};
    }

    static StripPainter::Host PainterHost(TMainPanel& p) {
        return {.LookOf = [&p](const TFlatButton& b) { return p.pointer_.LookOf(b); },
                .KeyboardFocus = [&p] { return p.keyboard_.Focus(); },
                // Where the client area stands when the panel is shown.
                .WhereShown =
                    [&p] {
                        const PanelSide side = p.settings_.side;
                        return StripBackdrop::ShownPlace{p.dock_.ClientEdge(side), p.dock_.ClientTop(side),
                                                         p.dock_.Width(), p.dock_.Height()};
                    },
                .BadgeOf = [&p](ButtonId b) { return p.keyboard_.InUse() ? p.keyboard_.DigitOf(b) : -1; }};
    }

    static ScaleFollower::Host ScaleHost(TMainPanel& p) {
        return {.PlacingItself = [&p] { return p.dock_.Placing(); },
                .ChangeDpi = [&p](int dpi) { p.ChangeDpi(dpi); },
                .StandAtPlace = [&p] { p.dock_.StandAtPlace(p.settings_.side, p.Hidden); }};
    }

    static FolderMenu::Host FolderMenuHost(TMainPanel& p) {
        return {.StartFile = [&p](const std::wstring& f, const std::wstring& in) { p.starts_.StartFolderEntry(f, in); },
                .OnRightSide = [&p] { return p.settings_.side == PanelSide::Right; },
                .EnableTimerMouse = [&p](bool enabled) { p.EnableTimerMouse(enabled); }};
    }

    static PanelMenus::Host MenusHost(TMainPanel& p) {
        return {.N1Click = [&p] { p.N1Click(); },
                .N10Click = [&p] { p.MoveClickedItem(-1); },
                .N11Click = [&p] { p.MoveClickedItem(+1); },
                .N4Click = [&p] { p.DeleteClickedItem(); },
                .N12Click = [&p] { p.ShowClickedItemFile(); },
                .N3Click = [&p] { p.N3Click(); },
                .N9Click = [&p] { p.N9Click(); },
                .N7Click = [] { win::Application::Instance().Terminate(); },
                .RunAsAdministratorClick = [&p] { p.starts_.RunClickedItemAsAdministrator(); },
                .OpenFileWithClick = [&p] { p.starts_.OpenFileWithClickedItem(); },
                .ClickedItemStarts = [&p] { return p.starts_.ClickedItemStarts(); },
                .AddSeparatorClick = [&p] { p.InsertAtClick(MakeSeparator()); },
                .EnableTimerMouse = [&p](bool enabled) { p.EnableTimerMouse(enabled); },
                .Screens = [&p]() -> const std::vector<Screen>& { return p.dock_.Screens(); },
                .CurrentScreen = [&p] { return p.dock_.Plan(p.settings_.side).screen; },
                .ChooseScreen = [&p](size_t index) { p.ChooseScreen(index); },
                .ChooseLanguage = [&p](Language language) { p.language_.Choose(language); }};
    }

    static FileDrops::Host DropsHost(TMainPanel& p) {
        return {.InsertItem =
                    [&p](size_t index, std::unique_ptr<TShortCut> item, POINT at) {
                        p.ClickPoint = at;
                        p.AddItemButton(p.strip_.InsertItem(index, std::move(item)), /*layOut=*/true);
                    },
                .PanelColor = [&p] { return win::ToColorRef(p.settings_.color); },
                .OpenWith = [&p](const TShortCut& item,
                                 const std::vector<std::string>& files) { p.starts_.Start(item, LaunchVerb::Open, files); },
                .DropOpens = [&p] { return p.settings_.DropOpens(); },
                .EnableTimerMouse = [&p](bool enabled) { p.EnableTimerMouse(enabled); },
                .Invalidate = [&p] { p.Invalidate(); }};
    }

    static ItemFileSession::Host ItemFileHost(TMainPanel& p) {
        return {.TakeReadItem =
                    [&p](size_t index, std::unique_ptr<TShortCut> item) {
                        // laid out once the step is read (ItemsRead)
                        p.AddItemButton(p.strip_.InsertItem(index, std::move(item)), /*layOut=*/false);
                    },
                .ItemsRead = [&p] { p.LayoutButtons(); },
                .ItemsToSave = [&p] { return p.Items.Items(); },
                .ListInMotion = [&p] { return p.pointer_.Dragging() || p.drops_.PicturesWaiting(); }};
    }

    static LanguageSwitch::Host LanguageHost(TMainPanel& p) {
        return {.RetellTips = [&p] { p.pointer_.SyncTips(); },
                .RetellTrayTip = [&p] { p.tray_.RetellTip(); },
                .KeepLanguage =
                    [&p](Language language) {
                        p.settings_.language = language;
                        p.SaveSettings();  // a choice made is kept at once
                    }};
    }

    static ItemStarter::Host StartsHost(TMainPanel& p) {
        return {.ClickedItem = [&p]() -> const TShortCut* { return p.strip_.ItemOf(p.ClickedControl); },
                .EnableTimerMouse = [&p](bool enabled) { p.EnableTimerMouse(enabled); }};
    }
};

TMainPanel::TMainPanel()
    : itemFile_(Wiring::ItemFileHost(*this)),
      pointer_(strip_, metrics_, Wiring::PointerHost(*this)),
      keyboard_(strip_, Wiring::KeyboardHost(*this)),
      accessibility_(strip_, Wiring::AccessibilityHost(*this)),
      sharpIcons_(Items, metrics_, settings_, {.Invalidate = [this] { Invalidate(); }}),
      painter_(strip_, Background, metrics_, settings_, Wiring::PainterHost(*this)),
      scale_(Wiring::ScaleHost(*this)),
      folderMenu_(strip_, metrics_, Wiring::FolderMenuHost(*this)),
      menus_(Items, Wiring::MenusHost(*this)),
      language_(strip_, Wiring::LanguageHost(*this)),
      drops_(strip_, metrics_, Wiring::DropsHost(*this)),
      starts_(Wiring::StartsHost(*this)) {
    strip_.Watch(&accessibility_);
    strip_.Watch(&keyboard_);
    strip_.Watch(&itemFile_);
    strip_.Watch(&drops_);
    // The items menu draws its entries and shows their hints.
    ReflectMenusTo(menus_.Sink());
}

}  // namespace tilerack
