// The settings dialog, opened through the panel's real context menu and its
// tray icon's menu: its layout, the transparency bar acting on the panel at
// once, the side buttons, the delay field, stay-on-top applied only when the
// dialog has gone, the "About" box, and what reaches the settings file.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "dialog_driver.h"

namespace e2e {
namespace {

constexpr COLORREF kUnderPanel = RGB(0, 128, 255);

// The dialog's controls as a user finds them: by kind, text and place.
struct TuningDialog {
    HWND window, track, label /* "Прозрачность..." */, delay, spin, onTop, about, close;
    HWND sideLeft = nullptr, sideRight = nullptr;

    explicit TuningDialog(HWND dialog)
        : window(dialog), track(FindChild(dialog, TRACKBAR_CLASSW)),
          label(ChildStartingWith(dialog, L"Static", L"Прозрачность")), delay(FindChild(dialog, L"Edit")),
          spin(FindChild(dialog, UPDOWN_CLASSW)), onTop(ChildStartingWith(dialog, L"Button", L"Поверх других окон")),
          about(ChildStartingWith(dialog, L"Button", L"About")),
          close(ChildStartingWith(dialog, L"Button", L"Закрыть")),
          sideLeft(ChildStartingWith(dialog, L"Button", L"Слева")),
          sideRight(ChildStartingWith(dialog, L"Button", L"Справа")) {}
    bool Complete() const {
        return track && label && delay && spin && onTop && sideLeft && sideRight && about && close;
    }
    int Position() const { return static_cast<int>(SendMessageW(track, TBM_GETPOS, 0, 0)); }
    std::wstring Label() const { return WindowText(label); }
    bool LabelBecomes(const std::wstring& text) const { return WaitUntil([&] { return Label() == text; }, 3s); }
    bool PositionBecomes(int position) const { return WaitUntil([&] { return Position() == position; }, 3s); }
    bool OnTopTicked() const { return SendMessageW(onTop, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool DelayBecomes(const std::wstring& text) const {
        return WaitUntil([&] { return WindowText(delay) == text; }, 3s);
    }
    // Ticks or clears the stay-on-top box with a click and waits until it shows `ticked`.
    bool SetOnTop(bool ticked) const {
        ClickCentre(onTop);
        return WaitUntil([&] { return OnTopTicked() == ticked; }, 3s);
    }
    // Closes the dialog with its "Закрыть" button and waits until it has gone.
    bool Close() const {
        ClickCentre(close);
        return WaitUntilGone(window);
    }
};

class SettingsDialog : public PanelTest {
protected:
    // Starts the panel shown at `side` over a screen of one known colour.
    HWND Start(const std::vector<std::string>& settings, Side side = Side::Left) {
        screen_ = std::make_unique<PaintedScreen>([](int, int) { return kUnderPanel; });
        if (!screen_->WaitUntilShown()) ADD_FAILURE() << "the test's screen did not show";
        StartPanel({.side = side, .settings = settings});
        MoveTrayWindowAway();
        return window_;
    }

    // Chooses "Настройки..." from the tray icon's menu, or from the panel's
    // own menu by a right click on its empty area once the panel is back in
    // (it may have slid out after an earlier dialog); the complete dialog.
    std::optional<TuningDialog> Open(bool byTray = false) {
        if (byTray) {
            ChooseFromTrayMenu(*panel_, window_, MainMenuEntry::Settings);
        } else if (BringIn(window_)) {
            POINT spot = RestingSpotOverPanel(Side::Left);
            ScreenToClient(window_, &spot);
            ChooseFromContextMenu(*panel_, window_, spot, MainMenuEntry::Settings);
        }
        HWND found = WaitForTopWindow(Pid(), L"TFormTuning", 5s);
        if (!found) ADD_FAILURE() << "no settings dialog after choosing its entry" << (byTray ? " from the tray" : "");
        if (!found) return std::nullopt;
        TuningDialog dialog(found);
        if (!dialog.Complete()) ADD_FAILURE() << "a control of the dialog is missing";
        return dialog.Complete() ? std::optional<TuningDialog>(dialog) : std::nullopt;
    }

    // The panel's pixels away from its strip buttons all show `colour`.
    bool PanelShows(COLORREF colour) {
        const int cw = ClientWidthOf(window_);
        std::vector<POINT> samples{{2, 150}, {cw / 2, 400}, {cw - 3, 650}};
        for (POINT& p : samples) p = ClientToScreenPoint(window_, p.x, p.y);
        return WaitUntil(
            [&] {
                return std::all_of(samples.begin(), samples.end(),
                                   [&](POINT s) { return ScreenPixel(s.x, s.y) == colour; });
            },
            3s);
    }

    std::unique_ptr<PaintedScreen> screen_;
};

TEST_F(SettingsDialog, OpensFromThePanelMenuAndItsBarChangesTheTransparencyAtOnce) {
    ASSERT_NE(Start({"Opacity=50", "TimeOut=400"}), nullptr);
    ASSERT_TRUE(PanelShows(Blend(kUnderPanel, kPanelDefaultColour, 50))) << "the panel is not at opacity 50";

    const auto dialog = Open();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Narrow(WindowText(dialog->window)), Narrow(L"Настройки"));
    const RECT client = ClientRect(dialog->window);
    EXPECT_EQ(client.right, 616);
    EXPECT_EQ(client.bottom, 109);
    EXPECT_EQ(dialog->Position(), 500);
    EXPECT_EQ(Narrow(dialog->Label()), Narrow(L"Прозрачность, 50%"));
    EXPECT_EQ(Narrow(WindowText(dialog->delay)), "400");
    EXPECT_FALSE(dialog->OnTopTicked());
    SaveScreenshotPng(CurrentTestName() + L".opacity50");

    // The bar has the focus: Home takes it to 0, the solid panel colour.
    PressKey(VK_HOME);
    EXPECT_TRUE(WaitUntil([&] { return dialog->Position() == 0; }, 5s)) << "Home did not move the bar";
    EXPECT_TRUE(dialog->LabelBecomes(L"Прозрачность выкл")) << Narrow(dialog->Label());
    EXPECT_TRUE(PanelShows(kPanelDefaultColour)) << "the panel is not solid at once";
    SaveScreenshotPng(CurrentTestName() + L".opacity0");

    // Right steps by 2: still below one percent.
    PressKey(VK_RIGHT);
    EXPECT_TRUE(dialog->PositionBecomes(2)) << "position " << dialog->Position();
    EXPECT_EQ(Narrow(dialog->Label()), Narrow(L"Прозрачность выкл"));
    // Page steps by 10: one percent.
    PressKey(VK_NEXT);
    EXPECT_TRUE(dialog->LabelBecomes(L"Прозрачность, 1%")) << Narrow(dialog->Label());
    EXPECT_EQ(dialog->Position(), 12);

    PressKey(VK_END);
    EXPECT_TRUE(dialog->LabelBecomes(L"Прозрачность, 100%")) << Narrow(dialog->Label());
    EXPECT_EQ(dialog->Position(), 1000);
    EXPECT_TRUE(PanelShows(kUnderPanel)) << "the panel does not show the bare screen at 100";
    SaveScreenshotPng(CurrentTestName() + L".opacity100");

    ASSERT_TRUE(dialog->Close()) << "\"Закрыть\" did not close the dialog";
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Opacity"), L"100");
    EXPECT_EQ(SavedSetting(L"TimeOut"), L"400");
}

TEST_F(SettingsDialog, StoredOpacityOutOfRangeIsPulledIntoTheBar) {
    ASSERT_NE(Start({"Opacity=250"}), nullptr);
    const auto dialog = Open();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Position(), 1000);
    EXPECT_EQ(Narrow(dialog->Label()), Narrow(L"Прозрачность, 100%"));
    EXPECT_TRUE(PanelShows(kUnderPanel)) << "opacity 100 shows the bare screen";
    ASSERT_TRUE(dialog->Close());
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Opacity"), L"100");
}

TEST_F(SettingsDialog, SideButtonsMoveThePanelWhileTheDialogIsOpen) {
    // Moving to the other side re-docks the panel, which resumes the pointer
    // watch while the dialog is still open, and the dialog's closing resumes
    // it again, with the pointer over the dialog: a long delay keeps the
    // panel where the buttons put it.
    ASSERT_NE(Start({"Opacity=0", "TimeOut=60000"}), nullptr);
    const auto dialog = Open();
    ASSERT_TRUE(dialog);

    ClickCentre(dialog->sideRight);
    EXPECT_TRUE(ReachesShown(window_, Side::Right)) << "the right side button did not move the panel";
    EXPECT_TRUE(IsWindowVisible(dialog->window)) << "the dialog closed";
    EXPECT_TRUE(WaitForCloseCross(window_, Side::Right)) << "the strip is not drawn for the right side";
    SaveScreenshotPng(CurrentTestName() + L".right");

    ClickCentre(dialog->sideLeft);
    EXPECT_TRUE(ReachesShown(window_, Side::Left)) << "the left side button did not move the panel back";
    ClickCentre(dialog->sideLeft);  // already there: nothing moves
    EXPECT_EQ(PanelLeft(window_), ShownLeft(Side::Left));
    ClickCentre(dialog->sideRight);
    EXPECT_TRUE(ReachesShown(window_, Side::Right));

    ASSERT_TRUE(dialog->Close());
    EXPECT_EQ(PanelLeft(window_), ShownLeft(Side::Right));
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Side"), L"1");
}

TEST_F(SettingsDialog, DelayFieldSetsTheDelayAtEveryChange) {
    ASSERT_NE(Start({"TimeOut=300"}), nullptr);
    {
        const auto dialog = Open();
        ASSERT_TRUE(dialog);
        EXPECT_EQ(Narrow(WindowText(dialog->delay)), "300");
        ClickCentre(dialog->delay);
        PressKey(VK_END);
        for (int i = 0; i < 3; ++i) PressKey(VK_BACK);
        TypeText(L"abc");
        ASSERT_TRUE(dialog->DelayBecomes(L"abc")) << Narrow(WindowText(dialog->delay));
        ASSERT_TRUE(dialog->Close());
    }
    {
        // The text that was no number set the delay to 0.
        const auto dialog = Open(/*byTray=*/true);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(Narrow(WindowText(dialog->delay)), "0");
        ClickCentre(dialog->delay);
        PressKey(VK_END);
        PressKey(VK_BACK);
        TypeText(L"1234");
        PressKey(VK_UP);  // the arrow keys step the field
        EXPECT_TRUE(dialog->DelayBecomes(L"1235")) << Narrow(WindowText(dialog->delay));
        // The lower spin button, twice.
        const RECT spin = WindowRect(dialog->spin);
        ASSERT_TRUE(DoubleClickOn(dialog->spin, POINT{(spin.left + spin.right) / 2, spin.bottom - 3}));
        EXPECT_TRUE(dialog->DelayBecomes(L"1233")) << Narrow(WindowText(dialog->delay));
        SaveScreenshotPng(CurrentTestName());
        ASSERT_TRUE(dialog->Close());
    }
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"TimeOut"), L"1233");
}

TEST_F(SettingsDialog, StayOnTopChangesOnlyOnceTheDialogHasGone) {
    // The panel stays out with the pointer away: a slide-out under the
    // pointer as it comes to the close button would leave it with no tip.
    ASSERT_NE(Start({"OnTop=0", "TimeOut=60000"}), nullptr);
    ASSERT_FALSE(IsTopmost(window_));
    ASSERT_TRUE(WaitUntil([&] { return ShellHasTrayIcon(window_); }, 5s)) << "no tray icon";
    // A tooltip of the strip has shown: its window, topmost and owned by the
    // panel, now stands in the window order above the panel.
    const auto hint = HoverHint(*panel_, window_, CloseButtonRect(window_, Side::Left));
    ASSERT_TRUE(hint && hint->text == L"Закрыть") << "no tooltip over the close button";
    {
        const auto dialog = Open();
        ASSERT_TRUE(dialog);
        EXPECT_FALSE(dialog->OnTopTicked());
        ASSERT_TRUE(dialog->SetOnTop(true)) << "the box did not tick";
        EXPECT_FALSE(IsTopmost(window_)) << "on top before the dialog closed";
        SaveScreenshotPng(CurrentTestName() + L".ticked");
        // The close box closes it too.
        PostMessageW(dialog->window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(WaitUntilGone(dialog->window));
        EXPECT_TRUE(WaitUntil([&] { return IsTopmost(window_); }, 5s)) << "not on top after the dialog closed";
    }
    {
        const auto dialog = Open(/*byTray=*/true);
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->OnTopTicked()) << "the box does not show the panel on top";
        ASSERT_TRUE(dialog->SetOnTop(false));
        EXPECT_TRUE(IsTopmost(window_)) << "off top before the dialog closed";
        // The application's hidden window, the panel's owner, right under
        // the topmost windows, where a switch to the program puts it.
        SetWindowPos(GetWindow(window_, GW_OWNER), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(dialog->Close());
        EXPECT_TRUE(WaitUntil([&] { return !IsTopmost(window_); }, 5s)) << "still on top after the dialog closed";
    }
    {
        const auto dialog = Open();
        ASSERT_TRUE(dialog);
        EXPECT_FALSE(dialog->OnTopTicked());
        ASSERT_TRUE(dialog->SetOnTop(true));
        ASSERT_TRUE(dialog->Close());
        EXPECT_TRUE(WaitUntil([&] { return IsTopmost(window_); }, 5s)) << "not on top the second time";
    }
    // The same window throughout, with its tray icon, its drop target and
    // its tooltips with all their tools.
    EXPECT_EQ(panel_->WaitForWindow(), window_);
    EXPECT_TRUE(ShellHasTrayIcon(window_));
    EXPECT_NE(GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0) << "no longer a drop target";
    EXPECT_TRUE(IsWindow(hint->window) && GetWindow(hint->window, GW_OWNER) == window_) << "the tooltips are gone";
    EXPECT_GT(SendMessageW(hint->window, TTM_GETTOOLCOUNT, 0, 0), 0) << "the tooltips lost their tools";
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"OnTop"), L"1");
}

TEST_F(SettingsDialog, SwatchOpensTheColourDialogAndAChosenColourShowsAtOnce) {
    ASSERT_NE(Start({"Opacity=0"}), nullptr);
    const auto dialog = Open();
    ASSERT_TRUE(dialog);
    // The swatch lies under the label "Цвет панели:", left of the bar.
    const RECT dialogClient = ClientRectOnScreen(dialog->window, ClientRect(dialog->window));
    const POINT swatch{dialogClient.left + 7 + 69 / 2, dialogClient.top + 30 + 35 / 2};
    EXPECT_EQ(Hex(ScreenPixel(swatch.x, swatch.y)), Hex(kPanelDefaultColour));

    // Cancelled: nothing changes.
    ClickAt(swatch);
    auto colours = WaitForMessageBox(Pid(), 5s);
    ASSERT_TRUE(colours) << "no colour dialog after a press on the swatch";
    SaveScreenshotPng(CurrentTestName() + L".colours");
    ASSERT_TRUE(AnswerMessageBox(Pid(), colours->window, IDCANCEL));
    EXPECT_TRUE(PanelShows(kPanelDefaultColour));

    // Chosen through the dialog's red, green and blue fields: the panel and
    // the swatch show it at once. The right button opens it too.
    ClickAt(swatch, /*rightButton=*/true);
    ASSERT_TRUE(colours = WaitForMessageBox(Pid(), 5s));
    constexpr int kRed = 706, kGreen = 707, kBlue = 708;  // the fields of the system's colour dialog
    SendMessageW(GetDlgItem(colours->window, kRed), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10"));
    SendMessageW(GetDlgItem(colours->window, kGreen), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"200"));
    SendMessageW(GetDlgItem(colours->window, kBlue), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"30"));
    ASSERT_TRUE(AnswerMessageBox(Pid(), colours->window, IDOK));
    EXPECT_TRUE(PanelShows(RGB(10, 200, 30))) << "the panel does not show the chosen colour";
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(swatch.x, swatch.y) == RGB(10, 200, 30); }, 3s))
        << "the swatch shows " << Hex(ScreenPixel(swatch.x, swatch.y));
    SaveScreenshotPng(CurrentTestName());

    ASSERT_TRUE(dialog->Close());
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Color"), std::to_wstring(RGB(10, 200, 30)));
}

TEST_F(SettingsDialog, AboutShowsThreeLinesAndEscapeLeavesTheDialogOpen) {
    ASSERT_NE(Start({}), nullptr);
    const auto dialog = Open();
    ASSERT_TRUE(dialog);

    ClickCentre(dialog->about);
    const auto box = WaitForMessageBox(Pid(), 5s);
    ASSERT_TRUE(box) << "no About box";
    EXPECT_EQ(Narrow(box->caption), Narrow(kAppTitle));
    std::vector<std::wstring> lines;
    for (size_t start = 0;;) {
        const size_t end = box->text.find(L'\n', start);
        lines.push_back(box->text.substr(start, end - start));
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 3u) << Narrow(box->text);
    EXPECT_EQ(lines[0].rfind(L"tilerack", 0), 0u) << Narrow(lines[0]);
    EXPECT_NE(lines[2].find(L"README"), std::wstring::npos) << Narrow(lines[2]);
    EXPECT_EQ(ChildrenOfClass(box->window, L"Button").size(), 1u) << "not a single OK button";
    SaveScreenshotPng(CurrentTestName() + L".about");
    ASSERT_TRUE(AnswerMessageBox(Pid(), box->window));

    // Escape does nothing; the Home key after it still reaches the bar.
    ClickCentre(dialog->track);  // the bar takes the focus
    PressKey(VK_ESCAPE);
    PressKey(VK_HOME);
    EXPECT_TRUE(dialog->PositionBecomes(0)) << "Home after Escape did not arrive";
    EXPECT_TRUE(IsWindowVisible(dialog->window)) << "Escape closed the dialog";
    // Enter presses the default button, "Закрыть".
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntilGone(dialog->window)) << "Enter did not close the dialog";
    EXPECT_TRUE(Responds(window_));
}

}  // namespace
}  // namespace e2e
