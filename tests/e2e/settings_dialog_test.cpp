// The settings dialog, opened through the panel's real context menu and its
// tray icon's menu: its layout, the transparency bar acting on the panel at
// once, the side buttons, the delay field, stay-on-top applied only when the
// dialog has gone, the "About" box, and what reaches the settings file.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "e2e_harness.h"
#include "screen_capture.h"

namespace e2e {
namespace {

constexpr COLORREF kUnderPanel = RGB(0, 128, 255);

LONG ExStyle(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE); }
bool IsTopmost(HWND window) { return (ExStyle(window) & WS_EX_TOPMOST) != 0; }

HWND ChildWithText(HWND parent, const std::wstring& className, const std::wstring& prefix) {
    for (HWND child : ChildrenOfClass(parent, className))
        if (WindowText(child).rfind(prefix, 0) == 0) return child;
    return nullptr;
}

void ClickCentre(HWND control) {
    const POINT centre = Centre(WindowRect(control));
    ClickAt(centre.x, centre.y);
}

// The dialog's controls as a user finds them: by kind, text and place.
struct TuningDialog {
    HWND window = nullptr;
    HWND track = nullptr;
    HWND label = nullptr;  // "Прозрачность..."
    HWND delay = nullptr;
    HWND spin = nullptr;
    HWND onTop = nullptr;
    HWND sideLeft = nullptr;
    HWND sideRight = nullptr;
    HWND about = nullptr;
    HWND close = nullptr;

    explicit TuningDialog(HWND dialog) : window(dialog) {
        const auto tracks = ChildrenOfClass(dialog, TRACKBAR_CLASSW);
        track = tracks.empty() ? nullptr : tracks[0];
        label = ChildWithText(dialog, L"Static", L"Прозрачность");
        const auto edits = ChildrenOfClass(dialog, L"Edit");
        delay = edits.empty() ? nullptr : edits[0];
        const auto spins = ChildrenOfClass(dialog, UPDOWN_CLASSW);
        spin = spins.empty() ? nullptr : spins[0];
        onTop = ChildWithText(dialog, L"Button", L"Поверх других окон");
        about = ChildWithText(dialog, L"Button", L"About");
        close = ChildWithText(dialog, L"Button", L"Закрыть");
        std::vector<HWND> pictures;
        for (HWND b : ChildrenOfClass(dialog, L"Button"))
            if (WindowText(b).empty()) pictures.push_back(b);
        std::sort(pictures.begin(), pictures.end(),
                  [](HWND a, HWND b) { return WindowRect(a).left < WindowRect(b).left; });
        if (pictures.size() == 2) sideLeft = pictures[0], sideRight = pictures[1];
    }
    bool Complete() const {
        return track && label && delay && spin && onTop && sideLeft && sideRight && about && close;
    }
    int Position() const { return static_cast<int>(SendMessageW(track, TBM_GETPOS, 0, 0)); }
    std::wstring Label() const { return WindowText(label); }
    bool OnTopTicked() const { return SendMessageW(onTop, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool DelayBecomes(const std::wstring& text) const {
        return WaitUntil([&] { return WindowText(delay) == text; }, 3s);
    }
};

class SettingsDialog : public PanelTest {
protected:
    // Starts the panel shown at `side` over a screen of one known colour.
    HWND Start(const std::vector<std::string>& settings, int side = 0) {
        screen_ = std::make_unique<PaintedScreen>([](int, int) { return kUnderPanel; });
        if (!screen_->WaitUntilShown()) ADD_FAILURE() << "the test's screen did not show";
        WriteSettings(settings);
        panel_ = std::make_unique<PanelProcess>(*scratch_);
        HWND window = StartShown(*panel_, side);
        MoveTrayWindowAway();
        return window;
    }

    // Right-clicks the panel's empty area and chooses "Настройки..." (the
    // entry above "Выход") with the keyboard; the dialog once it shows.
    HWND OpenFromPanelMenu(HWND window, int side = 0) {
        const POINT spot = RestingSpotOverPanel(side);
        BringIn(window, side);
        ClickAt(spot.x, spot.y, /*rightButton=*/true);
        return ChooseSettingsEntry("right click on the panel");
    }

    // The panel may have slid out after an earlier dialog: the tray's double
    // click brings it in, the pointer resting over it keeps it there.
    void BringIn(HWND window, int side = 0) {
        const POINT spot = RestingSpotOverPanel(side);
        MovePointer(spot.x, spot.y);
        PostTrayCallback(window, WM_LBUTTONDBLCLK);
        if (!ReachesLeft(window, ShownLeft(side))) ADD_FAILURE() << "the panel is not shown";
    }

    HWND OpenFromTrayMenu(HWND window) {
        PostTrayCallback(window, WM_RBUTTONDOWN);
        return ChooseSettingsEntry("tray icon's right-button callback");
    }

    HWND ChooseSettingsEntry(const char* how) {
        HWND menu = nullptr;
        if (!WaitUntil([&] { return (menu = FindPopupMenu(panel_->Pid())) != nullptr; }, 5s)) {
            ADD_FAILURE() << "no context menu after the " << how;
            return nullptr;
        }
        PostKeyToMenu(menu, VK_END);
        PostKeyToMenu(menu, VK_UP);
        PostKeyToMenu(menu, VK_RETURN);
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = FindTopWindow(panel_->Pid(), L"TFormTuning")) != nullptr; }, 5s))
            ADD_FAILURE() << "no settings dialog after choosing the entry from the " << how;
        return dialog;
    }

    // Closes the dialog with its "Закрыть" button and waits until it has gone.
    bool CloseDialog(const TuningDialog& dialog) {
        ClickCentre(dialog.close);
        return WaitUntil([&] { return !IsWindow(dialog.window) || !IsWindowVisible(dialog.window); }, 5s);
    }

    // The panel's pixels away from its strip buttons all show `colour`.
    bool PanelShows(HWND window, COLORREF colour) {
        const int cw = ClientWidthOf(window);
        std::vector<POINT> samples{{2, 150}, {cw / 2, 400}, {cw - 3, 650}};
        for (POINT& p : samples) p = ClientToScreenPoint(window, p.x, p.y);
        return WaitUntil(
            [&] {
                return std::all_of(samples.begin(), samples.end(),
                                   [&](POINT s) { return ScreenPixel(s.x, s.y) == colour; });
            },
            3s);
    }

    // Rests the pointer on the close button until its tooltip shows; the
    // tooltip window, or nullptr.
    HWND ShowCloseTooltip(HWND window, int side = 0) {
        const POINT centre = Centre(ClientRectOnScreen(window, CloseButtonRect(window, side)));
        MoveWithInput(centre.x, centre.y);
        HWND tip = nullptr;
        WaitUntil([&] { return (tip = FindTopWindow(panel_->Pid(), L"tooltips_class32")) != nullptr; }, 5s);
        const POINT spot = RestingSpotOverPanel(side);
        MoveWithInput(spot.x, spot.y);
        return tip && WindowText(tip) == L"Закрыть" ? tip : nullptr;
    }

    std::unique_ptr<PaintedScreen> screen_;
    std::unique_ptr<PanelProcess> panel_;
};

TEST_F(SettingsDialog, OpensFromThePanelMenuAndItsBarChangesTheTransparencyAtOnce) {
    HWND window = Start({"Opacity=50", "TimeOut=400"});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PanelShows(window, Blend(kUnderPanel, kPanelDefaultColour, 50))) << "the panel is not at opacity 50";

    HWND found = OpenFromPanelMenu(window);
    ASSERT_NE(found, nullptr);
    const TuningDialog dialog(found);
    ASSERT_TRUE(dialog.Complete()) << "a control of the dialog is missing";
    EXPECT_EQ(Narrow(WindowText(dialog.window)), Narrow(L"Настройки"));
    const RECT client = ClientRect(dialog.window);
    EXPECT_EQ(client.right, 616);
    EXPECT_EQ(client.bottom, 109);
    EXPECT_EQ(dialog.Position(), 500);
    EXPECT_EQ(Narrow(dialog.Label()), Narrow(L"Прозрачность, 50%"));
    EXPECT_EQ(Narrow(WindowText(dialog.delay)), "400");
    EXPECT_FALSE(dialog.OnTopTicked());
    SaveScreenshotPng(CurrentTestName() + L".opacity50");

    // The bar has the focus: Home takes it to 0, the solid panel colour.
    PressKey(VK_HOME);
    EXPECT_TRUE(WaitUntil([&] { return dialog.Position() == 0; }, 5s)) << "Home did not move the bar";
    EXPECT_TRUE(WaitUntil([&] { return dialog.Label() == L"Прозрачность выкл"; }, 3s)) << Narrow(dialog.Label());
    EXPECT_TRUE(PanelShows(window, kPanelDefaultColour)) << "the panel is not solid at once";
    SaveScreenshotPng(CurrentTestName() + L".opacity0");

    // Right steps by 2: still below one percent.
    PressKey(VK_RIGHT);
    EXPECT_TRUE(WaitUntil([&] { return dialog.Position() == 2; }, 3s)) << "position " << dialog.Position();
    EXPECT_EQ(Narrow(dialog.Label()), Narrow(L"Прозрачность выкл"));
    // Page steps by 10: one percent.
    PressKey(VK_NEXT);
    EXPECT_TRUE(WaitUntil([&] { return dialog.Label() == L"Прозрачность, 1%"; }, 3s)) << Narrow(dialog.Label());
    EXPECT_EQ(dialog.Position(), 12);

    PressKey(VK_END);
    EXPECT_TRUE(WaitUntil([&] { return dialog.Label() == L"Прозрачность, 100%"; }, 3s)) << Narrow(dialog.Label());
    EXPECT_EQ(dialog.Position(), 1000);
    EXPECT_TRUE(PanelShows(window, kUnderPanel)) << "the panel does not show the bare screen at 100";
    SaveScreenshotPng(CurrentTestName() + L".opacity100");

    ASSERT_TRUE(CloseDialog(dialog)) << "\"Закрыть\" did not close the dialog";
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Opacity"), L"100");
    EXPECT_EQ(SavedSetting(L"TimeOut"), L"400");
}

TEST_F(SettingsDialog, StoredOpacityOutOfRangeIsPulledIntoTheBar) {
    HWND window = Start({"Opacity=250"});
    ASSERT_NE(window, nullptr);
    HWND found = OpenFromPanelMenu(window);
    ASSERT_NE(found, nullptr);
    const TuningDialog dialog(found);
    ASSERT_TRUE(dialog.Complete());
    EXPECT_EQ(dialog.Position(), 1000);
    EXPECT_EQ(Narrow(dialog.Label()), Narrow(L"Прозрачность, 100%"));
    EXPECT_TRUE(PanelShows(window, kUnderPanel)) << "opacity 100 shows the bare screen";
    ASSERT_TRUE(CloseDialog(dialog));
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Opacity"), L"100");
}

TEST_F(SettingsDialog, SideButtonsMoveThePanelWhileTheDialogIsOpen) {
    // Moving to the other side re-docks the panel, which resumes the pointer
    // watch while the dialog is still open, and the dialog's closing resumes
    // it again, with the pointer over the dialog: a long delay keeps the
    // panel where the buttons put it.
    HWND window = Start({"Opacity=0", "TimeOut=60000"});
    ASSERT_NE(window, nullptr);
    HWND found = OpenFromPanelMenu(window);
    ASSERT_NE(found, nullptr);
    const TuningDialog dialog(found);
    ASSERT_TRUE(dialog.Complete());

    ClickCentre(dialog.sideRight);
    EXPECT_TRUE(ReachesLeft(window, ShownLeft(1))) << "the right side button did not move the panel";
    EXPECT_TRUE(IsWindowVisible(dialog.window)) << "the dialog closed";
    EXPECT_TRUE(WaitForCloseCross(window, 1)) << "the strip is not drawn for the right side";
    SaveScreenshotPng(CurrentTestName() + L".right");

    ClickCentre(dialog.sideLeft);
    EXPECT_TRUE(ReachesLeft(window, ShownLeft(0))) << "the left side button did not move the panel back";
    ClickCentre(dialog.sideLeft);  // already there: nothing moves
    EXPECT_EQ(PanelLeft(window), ShownLeft(0));
    ClickCentre(dialog.sideRight);
    EXPECT_TRUE(ReachesLeft(window, ShownLeft(1)));

    ASSERT_TRUE(CloseDialog(dialog));
    EXPECT_EQ(PanelLeft(window), ShownLeft(1));
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Side"), L"1");
}

TEST_F(SettingsDialog, DelayFieldSetsTheDelayAtEveryChange) {
    HWND window = Start({"TimeOut=300"});
    ASSERT_NE(window, nullptr);
    {
        HWND found = OpenFromPanelMenu(window);
        ASSERT_NE(found, nullptr);
        const TuningDialog dialog(found);
        ASSERT_TRUE(dialog.Complete());
        EXPECT_EQ(Narrow(WindowText(dialog.delay)), "300");
        ClickCentre(dialog.delay);
        PressKey(VK_END);
        for (int i = 0; i < 3; ++i) PressKey(VK_BACK);
        TypeText(L"abc");
        ASSERT_TRUE(dialog.DelayBecomes(L"abc")) << Narrow(WindowText(dialog.delay));
        ASSERT_TRUE(CloseDialog(dialog));
    }
    {
        // The text that was no number set the delay to 0.
        HWND found = OpenFromTrayMenu(window);
        ASSERT_NE(found, nullptr);
        const TuningDialog dialog(found);
        ASSERT_TRUE(dialog.Complete());
        EXPECT_EQ(Narrow(WindowText(dialog.delay)), "0");
        ClickCentre(dialog.delay);
        PressKey(VK_END);
        PressKey(VK_BACK);
        TypeText(L"1234");
        PressKey(VK_UP);  // the arrow keys step the field
        EXPECT_TRUE(dialog.DelayBecomes(L"1235")) << Narrow(WindowText(dialog.delay));
        // The lower spin button, twice.
        const RECT spin = WindowRect(dialog.spin);
        const POINT down{(spin.left + spin.right) / 2, spin.bottom - 3};
        ClickAt(down.x, down.y);
        ClickAt(down.x, down.y);
        EXPECT_TRUE(dialog.DelayBecomes(L"1233")) << Narrow(WindowText(dialog.delay));
        SaveScreenshotPng(CurrentTestName());
        ASSERT_TRUE(CloseDialog(dialog));
    }
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"TimeOut"), L"1233");
}

TEST_F(SettingsDialog, StayOnTopChangesOnlyOnceTheDialogHasGone) {
    HWND window = Start({"OnTop=0"});
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(IsTopmost(window));
    const int trayIcons = CountTrayIcons();
    // A tooltip of the strip has shown: its window, topmost and owned by the
    // panel, now stands in the window order above the panel.
    HWND tip = ShowCloseTooltip(window);
    ASSERT_NE(tip, nullptr) << "no tooltip over the close button";
    {
        HWND found = OpenFromPanelMenu(window);
        ASSERT_NE(found, nullptr);
        const TuningDialog dialog(found);
        ASSERT_TRUE(dialog.Complete());
        EXPECT_FALSE(dialog.OnTopTicked());
        ClickCentre(dialog.onTop);
        ASSERT_TRUE(WaitUntil([&] { return dialog.OnTopTicked(); }, 3s)) << "the box did not tick";
        EXPECT_FALSE(IsTopmost(window)) << "on top before the dialog closed";
        SaveScreenshotPng(CurrentTestName() + L".ticked");
        // The close box closes it too.
        PostMessageW(dialog.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog.window) || !IsWindowVisible(dialog.window); }, 5s));
        EXPECT_TRUE(WaitUntil([&] { return IsTopmost(window); }, 5s)) << "not on top after the dialog closed";
    }
    {
        HWND found = OpenFromTrayMenu(window);
        ASSERT_NE(found, nullptr);
        const TuningDialog dialog(found);
        ASSERT_TRUE(dialog.Complete());
        EXPECT_TRUE(dialog.OnTopTicked()) << "the box does not show the panel on top";
        ClickCentre(dialog.onTop);
        ASSERT_TRUE(WaitUntil([&] { return !dialog.OnTopTicked(); }, 3s));
        EXPECT_TRUE(IsTopmost(window)) << "off top before the dialog closed";
        ASSERT_TRUE(CloseDialog(dialog));
        EXPECT_TRUE(WaitUntil([&] { return !IsTopmost(window); }, 5s)) << "still on top after the dialog closed";
    }
    {
        HWND found = OpenFromPanelMenu(window);
        ASSERT_NE(found, nullptr);
        const TuningDialog dialog(found);
        ASSERT_TRUE(dialog.Complete());
        EXPECT_FALSE(dialog.OnTopTicked());
        ClickCentre(dialog.onTop);
        ASSERT_TRUE(WaitUntil([&] { return dialog.OnTopTicked(); }, 3s));
        ASSERT_TRUE(CloseDialog(dialog));
        EXPECT_TRUE(WaitUntil([&] { return IsTopmost(window); }, 5s)) << "not on top the second time";
    }
    // The same window throughout, with its tray icon, its drop target and
    // its tooltips with all their tools.
    EXPECT_EQ(panel_->WaitForWindow(), window);
    EXPECT_EQ(CountTrayIcons(), trayIcons);
    EXPECT_NE(ExStyle(window) & WS_EX_ACCEPTFILES, 0) << "no longer a drop target";
    EXPECT_TRUE(IsWindow(tip) && GetWindow(tip, GW_OWNER) == window) << "the tooltips are gone";
    EXPECT_GT(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0) << "the tooltips lost their tools";
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"OnTop"), L"1");
}

TEST_F(SettingsDialog, SwatchOpensTheColourDialogAndAChosenColourShowsAtOnce) {
    HWND window = Start({"Opacity=0"});
    ASSERT_NE(window, nullptr);
    HWND found = OpenFromPanelMenu(window);
    ASSERT_NE(found, nullptr);
    const TuningDialog dialog(found);
    ASSERT_TRUE(dialog.Complete());
    // The swatch lies under the label "Цвет панели:", left of the bar.
    const RECT dialogClient = ClientRectOnScreen(dialog.window, ClientRect(dialog.window));
    const POINT swatch{dialogClient.left + 7 + 69 / 2, dialogClient.top + 30 + 35 / 2};
    EXPECT_EQ(Hex(ScreenPixel(swatch.x, swatch.y)), Hex(kPanelDefaultColour));

    // Cancelled: nothing changes.
    ClickAt(swatch.x, swatch.y);
    std::optional<MessageBoxInfo> colours;
    ASSERT_TRUE(WaitUntil([&] { return (colours = FindMessageBox(panel_->Pid())).has_value(); }, 5s))
        << "no colour dialog after a press on the swatch";
    SaveScreenshotPng(CurrentTestName() + L".colours");
    PostMessageW(colours->window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !FindMessageBox(panel_->Pid()); }, 5s));
    EXPECT_TRUE(PanelShows(window, kPanelDefaultColour));

    // Chosen through the dialog's red, green and blue fields: the panel and
    // the swatch show it at once. The right button opens it too.
    ClickAt(swatch.x, swatch.y, /*rightButton=*/true);
    ASSERT_TRUE(WaitUntil([&] { return (colours = FindMessageBox(panel_->Pid())).has_value(); }, 5s));
    constexpr int kRed = 706, kGreen = 707, kBlue = 708;  // the fields of the system's colour dialog
    SendMessageW(GetDlgItem(colours->window, kRed), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10"));
    SendMessageW(GetDlgItem(colours->window, kGreen), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"200"));
    SendMessageW(GetDlgItem(colours->window, kBlue), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"30"));
    PostMessageW(colours->window, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !FindMessageBox(panel_->Pid()); }, 5s));
    EXPECT_TRUE(PanelShows(window, RGB(10, 200, 30))) << "the panel does not show the chosen colour";
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(swatch.x, swatch.y) == RGB(10, 200, 30); }, 3s))
        << "the swatch shows " << Hex(ScreenPixel(swatch.x, swatch.y));
    SaveScreenshotPng(CurrentTestName());

    ASSERT_TRUE(CloseDialog(dialog));
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedSetting(L"Color"), std::to_wstring(RGB(10, 200, 30)));
}

TEST_F(SettingsDialog, AboutShowsThreeLinesAndEscapeLeavesTheDialogOpen) {
    HWND window = Start({});
    ASSERT_NE(window, nullptr);
    HWND found = OpenFromPanelMenu(window);
    ASSERT_NE(found, nullptr);
    const TuningDialog dialog(found);
    ASSERT_TRUE(dialog.Complete());

    ClickCentre(dialog.about);
    std::optional<MessageBoxInfo> box;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(panel_->Pid())).has_value(); }, 5s)) << "no About box";
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
    DismissMessageBox(box->window);
    ASSERT_TRUE(WaitUntil([&] { return !FindMessageBox(panel_->Pid()); }, 5s));

    // Escape does nothing; the Home key after it still reaches the bar.
    ClickCentre(dialog.track);  // the bar takes the focus
    PressKey(VK_ESCAPE);
    PressKey(VK_HOME);
    EXPECT_TRUE(WaitUntil([&] { return dialog.Position() == 0; }, 3s)) << "Home after Escape did not arrive";
    EXPECT_TRUE(IsWindowVisible(dialog.window)) << "Escape closed the dialog";
    // Enter presses the default button, "Закрыть".
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog.window) || !IsWindowVisible(dialog.window); }, 5s))
        << "Enter did not close the dialog";
    EXPECT_TRUE(Responds(window));
}

}  // namespace
}  // namespace e2e
