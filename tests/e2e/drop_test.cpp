// Files dragged onto the panel through the shell's real drag-and-drop path:
// a GTK drag source on the X server, Wine's XDND support, WM_DROPFILES.
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "e2e_harness.h"
#include "platform/text.h"
#include "screen_capture.h"
#include "shorts_file_builder.h"

namespace e2e {
namespace {

using tilerack::win::Narrow;

// Where the drag source stands: away from the panel and the tray window.
constexpr POINT kSourceSpot{640, 520};

class Drop : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // A long delay keeps the shown panel in place while the pointer is
        // over at the drag source.
        WriteSettings({"TimeOut=60000"});
    }

    // Creates a small file in `folder` and returns its full path.
    std::wstring MakeFile(const std::wstring& folder, const std::wstring& name) {
        const std::wstring path = JoinPath(folder, name);
        EXPECT_TRUE(WriteFileBytes(path, Bytes{'x'})) << "cannot create " << e2e::Narrow(path);
        return path;
    }

    HWND StartPanel(PanelProcess& panel) {
        const POINT rest = RestingSpotOverPanel(0);
        MovePointer(rest.x, rest.y);
        HWND window = panel.WaitForWindow();
        if (!window) return nullptr;
        EXPECT_TRUE(ReachesLeft(window, ShownLeft(0)));
        MoveTrayWindowAway();
        return window;
    }

    // The double click on the tray icon slides the panel in, which makes it
    // a drop target.
    void SlideInByTray(HWND window) {
        PostTrayCallback(window, WM_LBUTTONDBLCLK);
        ASSERT_TRUE(Responds(window));
        ASSERT_TRUE(WaitForCloseCross(window, 0));
    }

    POINT ItemCentre(HWND window, int index) { return Centre(ClientRectOnScreen(window, ItemButtonRect(window, index))); }

    // Waits until `count` item buttons show their captions' black ink.
    bool WaitForItemsShown(HWND window, int count) {
        return WaitUntil([&] {
            const TBitmap screen = CaptureScreen();
            for (int i = 0; i < count; ++i)
                if (CountPixels(screen, ClientRectOnScreen(window, ItemButtonRect(window, i)), IsBlack) == 0)
                    return false;
            return true;
        });
    }

    std::vector<std::unique_ptr<tilerack::TShortCut>> SavedItems() { return ReadSavedItems(scratch_->File(L"shorts.dat")); }
};

TEST_F(Drop, OnlyAfterTheFirstSlideInAndTheFileBecomesTheOnlyItem) {
    const std::wstring folder = scratch_->SubFolder(L"Документы");
    const std::wstring early = MakeFile(folder, L"early.txt");
    const std::wstring file = MakeFile(folder, L"отчёт.txt");
    PanelProcess panel(*scratch_);
    HWND window = StartPanel(panel);
    ASSERT_NE(window, nullptr);
    const POINT onPanel = ClientToScreenPoint(window, 20, 300);

    // Shown since the start but never slid in: the panel is no drop target yet.
    EXPECT_EQ(DragFilesFromX11(*scratch_, kSourceSpot, onPanel, {early}).rfind("ended refused", 0), 0u);
    SaveScreenshotPng(CurrentTestName() + L"-refused");

    SlideInByTray(window);
    EXPECT_EQ(DragFilesFromX11(*scratch_, kSourceSpot, onPanel, {file}), "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(window, 1)) << "no item button after the drop";
    SaveScreenshotPng(CurrentTestName());

    ASSERT_TRUE(panel.Close());
    const auto items = SavedItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->Caption, "отчёт.txt");
    EXPECT_EQ(items[0]->Hint, "отчёт.txt");
    EXPECT_EQ(items[0]->WorkDir, Narrow(folder) + "\\");
    EXPECT_EQ(items[0]->FileName, Narrow(file));
    EXPECT_EQ(items[0]->Params, "");
    EXPECT_TRUE(items[0]->TrackDrives);
}

TEST_F(Drop, ThreeFilesAtOneSpotLandAsAGroupInReverseOrder) {
    ASSERT_TRUE(WriteFileBytes(scratch_->File(L"shorts.dat"),
                               BuildShortsFile({{.fileName = "C:\\x.exe", .caption = "X", .image = FramedIconBmp(0xFF00FF, 0x3030C0)},
                                                {.fileName = "C:\\y.exe", .caption = "Y", .image = FramedIconBmp(0xFF00FF, 0x30C030)}})
                                   .bytes));
    const std::wstring folder = scratch_->SubFolder(L"group");
    const std::vector<std::wstring> files = {MakeFile(folder, L"a.txt"), MakeFile(folder, L"b.txt"),
                                             MakeFile(folder, L"c.txt")};
    PanelProcess panel(*scratch_);
    HWND window = StartPanel(panel);
    ASSERT_NE(window, nullptr);
    SlideInByTray(window);

    EXPECT_EQ(DragFilesFromX11(*scratch_, kSourceSpot, ItemCentre(window, 1), files), "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(window, 5));
    SaveScreenshotPng(CurrentTestName());

    ASSERT_TRUE(panel.Close());
    std::vector<std::string> order;
    for (const auto& item : SavedItems()) order.push_back(item->Caption);
    EXPECT_EQ(order, (std::vector<std::string>{"X", "c.txt", "b.txt", "a.txt", "Y"}));
}

TEST_F(Drop, PathLongerThan255CharactersIsKeptWhole) {
    // Two long folders (a Unix file name holds at most 255 bytes), created
    // through the \\?\ form, which no path length limit applies to.
    const std::wstring outer = JoinPath(scratch_->Path(), std::wstring(100, L'д') + L" внешняя");
    const std::wstring folder = JoinPath(outer, std::wstring(100, L'д') + L" папка");
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + outer).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
    const std::wstring file = JoinPath(folder, L"длинный путь.txt");
    ASSERT_TRUE(WriteFileBytes(L"\\\\?\\" + file, Bytes{'x'}));
    ASSERT_GT(file.size(), 255u);
    PanelProcess panel(*scratch_);
    HWND window = StartPanel(panel);
    ASSERT_NE(window, nullptr);
    SlideInByTray(window);

    EXPECT_EQ(DragFilesFromX11(*scratch_, kSourceSpot, ClientToScreenPoint(window, 20, 300), {file}),
              "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(window, 1));
    SaveScreenshotPng(CurrentTestName());

    ASSERT_TRUE(panel.Close());
    const auto items = SavedItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->FileName, Narrow(file)) << "kept " << items[0]->FileName.size() << " of " << file.size();
    EXPECT_EQ(items[0]->WorkDir, Narrow(folder) + "\\");
    EXPECT_EQ(items[0]->Caption, "длинный путь.txt");
}

TEST_F(Drop, NameOutsideTheCodePageIsRefusedAndNamedAsTheUserSeesIt) {
    const std::wstring folder = scratch_->SubFolder(L"mixed");
    const std::wstring foreign = MakeFile(folder, L"文件 ☃.txt");
    const std::wstring plain = MakeFile(folder, L"plain.txt");
    PanelProcess panel(*scratch_);
    HWND window = StartPanel(panel);
    ASSERT_NE(window, nullptr);
    SlideInByTray(window);

    EXPECT_EQ(DragFilesFromX11(*scratch_, kSourceSpot, ClientToScreenPoint(window, 20, 300), {foreign, plain}),
              "ended accepted");
    std::optional<MessageBoxInfo> box;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(panel.Pid())).has_value(); }))
        << "no message for the refused name";
    EXPECT_EQ(e2e::Narrow(box->caption), e2e::Narrow(kAppTitle));
    EXPECT_NE(box->text.find(foreign), std::wstring::npos) << e2e::Narrow(box->text);
    EXPECT_EQ(box->text.find(L"?"), std::wstring::npos) << "the name was shown converted: " << e2e::Narrow(box->text);
    EXPECT_TRUE(WaitForItemsShown(window, 1));
    SaveScreenshotPng(CurrentTestName());
    DismissMessageBox(box->window);
    EXPECT_TRUE(WaitUntil([&] { return !FindMessageBox(panel.Pid()); }));

    ASSERT_TRUE(panel.Close());
    const auto items = SavedItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->Caption, "plain.txt");
}

TEST_F(Drop, DropsWorkAfterTheStayOnTopChoiceChangedBothWays) {
    const std::wstring folder = scratch_->SubFolder(L"ontop");
    PanelProcess panel(*scratch_);
    HWND window = StartPanel(panel);
    ASSERT_NE(window, nullptr);
    SlideInByTray(window);
    for (const bool onTop : {true, false}) {
        ASSERT_TRUE(ChooseFromContextMenu(panel, window, POINT{ClientWidthOf(window) / 2, 700},
                                          MainMenuEntry::Settings));
        HWND dialog = WaitForTopWindow(panel.Pid(), L"TFormTuning");
        ASSERT_NE(dialog, nullptr) << "no settings dialog";
        PressButton(FindChild(dialog, L"Button", L"Поверх других окон"));
        PressButton(FindChild(dialog, L"Button", L"Закрыть"));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5s));
        ASSERT_TRUE(WaitUntil([&] { return ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) == onTop; },
                              5s))
            << "the stay-on-top choice did not reach the panel";
        const POINT rest = RestingSpotOverPanel(0);
        MovePointer(rest.x, rest.y);
        ASSERT_TRUE(ReachesLeft(window, ShownLeft(0)));
        const std::wstring file = MakeFile(folder, onTop ? L"on-top.txt" : L"normal.txt");
        EXPECT_EQ(DragFilesFromX11(*scratch_, kSourceSpot, ClientToScreenPoint(window, 20, 300), {file}),
                  "ended accepted")
            << (onTop ? "after turning stay-on-top on" : "after turning it off");
    }
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(panel.Close());
    std::vector<std::string> captions;
    for (const auto& item : SavedItems()) captions.push_back(item->Caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"normal.txt", "on-top.txt"}));
}

}  // namespace
}  // namespace e2e
