// Files dragged onto the panel through the shell's real drag-and-drop path:
// a GTK drag source on the X server, Wine's XDND support, WM_DROPFILES.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "dialog_driver.h"
#include "keyboard_driver.h"
#include "platform/file_icons.h"
#include "platform/text.h"

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

    // The panel shown since its start; `slideIn`: then slid in by the tray
    // icon's double click, which makes it a drop target.
    HWND Start(bool slideIn = true) {
        if (!StartPanel()) return nullptr;
        MoveTrayWindowAway();
        if (slideIn) {
            EXPECT_TRUE(SlideInByTray());
        }
        return window_;
    }

    bool SlideInByTray() {
        PostTrayCallback(window_, WM_LBUTTONDBLCLK);
        return Responds(window_) && WaitForCloseCross(window_, Side::Left);
    }

    // Drags `files` from the source onto the panel's client point `at`.
    std::string DropAt(POINT at, const std::vector<std::wstring>& files) {
        return DragFilesFromX11(*scratch_, kSourceSpot, ClientToScreenPoint(window_, at.x, at.y), files);
    }

    // Waits until `count` item buttons show their captions' black ink.
    bool WaitForItemsShown(int count) {
        return WaitUntil([&] {
            const TBitmap screen = CaptureScreen();
            for (int i = 0; i < count; ++i)
                if (CountPixels(screen, ClientRectOnScreen(window_, ItemButtonRect(window_, i, scale_)), IsBlack) ==
                    0)
                    return false;
            return true;
        });
    }
};

TEST_F(Drop, OnlyAfterTheFirstSlideInAndTheFileBecomesTheOnlyItem) {
    const std::wstring folder = scratch_->SubFolder(L"Документы");
    const std::wstring early = MakeFile(folder, L"early.txt");
    const std::wstring file = MakeFile(folder, L"отчёт.txt");
    ASSERT_NE(Start(/*slideIn=*/false), nullptr);

    // Shown since the start but never slid in: the panel is no drop target yet.
    EXPECT_EQ(DropAt({20, 300}, {early}).rfind("ended refused", 0), 0u);
    SaveScreenshotPng(CurrentTestName() + L"-refused");

    ASSERT_TRUE(SlideInByTray());
    EXPECT_EQ(DropAt({20, 300}, {file}), "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(1)) << "no item button after the drop";
    SaveScreenshotPng(CurrentTestName());

    const auto items = CloseAndReadItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].caption, "отчёт.txt");
    EXPECT_EQ(items[0].hint, "отчёт.txt");
    EXPECT_EQ(items[0].workDir, Narrow(folder) + "\\");
    EXPECT_EQ(items[0].fileName, Narrow(file));
    EXPECT_EQ(items[0].params, "");
    EXPECT_TRUE(items[0].trackDrives);
}

// The system's icon size grows with the display scale (48 x 48 at 150 %);
// the item file keeps 32 x 32 pictures whatever the scale.
TEST_F(Drop, TheDroppedFilesPictureIsStored32By32At144Dpi) {
    RunAtDpi(144);
    const std::wstring file = MakeFile(scratch_->SubFolder(L"scaled"), L"picture.txt");
    ASSERT_NE(Start(), nullptr);

    EXPECT_EQ(DropAt({20, 300}, {file}), "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(1)) << "no item button after the drop";
    SaveScreenshotPng(CurrentTestName());

    const auto items = CloseAndReadItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(PictureOf(items[0].image).width, 32);
    EXPECT_EQ(PictureOf(items[0].image).height, 32);
}

TEST_F(Drop, ThreeFilesAtOneSpotLandAsAGroupInReverseOrder) {
    ASSERT_TRUE(WriteItems({{.fileName = "C:\\x.exe", .caption = "X", .image = FramedIconBmp(0xFF00FF, 0x3030C0)},
                            {.fileName = "C:\\y.exe", .caption = "Y", .image = FramedIconBmp(0xFF00FF, 0x30C030)}}));
    const std::wstring folder = scratch_->SubFolder(L"group");
    const std::vector<std::wstring> files = {MakeFile(folder, L"a.txt"), MakeFile(folder, L"b.txt"),
                                             MakeFile(folder, L"c.txt")};
    ASSERT_NE(Start(), nullptr);

    EXPECT_EQ(DropAt(Centre(ItemButtonRect(window_, 1)), files), "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(5));
    SaveScreenshotPng(CurrentTestName());

    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedCaptions(), (std::vector<std::string>{"X", "c.txt", "b.txt", "a.txt", "Y"}));
}

// Dropped files are in the item file a moment later, while the panel runs:
// a kill then keeps them. Fifty files at once are one burst, one save.
TEST_F(Drop, DroppedFilesAreSavedSecondsLaterAndFiftyAtOnceInOneSave) {
    const std::wstring folder = scratch_->SubFolder(L"saved");
    std::vector<std::wstring> files;
    for (int i = 0; i < 53; ++i) files.push_back(MakeFile(folder, L"f" + std::to_wstring(i) + L".txt"));
    ASSERT_NE(Start(), nullptr);
    const auto saves = [&] {
        DWORD_PTR count = 0;
        SendMessageTimeoutW(window_, RegisterWindowMessageW(L"tilerack.ItemFileSaves"), 0, 0, SMTO_ABORTIFHUNG,
                            5000, &count);
        return static_cast<int>(count);
    };
    const auto savedCount = [&] { return FileExists(ItemsPath()) ? ReadSavedItems(ItemsPath()).size() : 0u; };

    EXPECT_EQ(DropAt({20, 300}, {files.begin(), files.begin() + 3}), "ended accepted");
    const DWORD dropped = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return savedCount() == 3; }, 20s)) << "the three items were never saved";
    std::printf("three dropped items in the file %lu ms after the drop ended\n",
                static_cast<unsigned long>(GetTickCount() - dropped));
    EXPECT_EQ(saves(), 1);

    EXPECT_EQ(DropAt({20, 300}, {files.begin() + 3, files.end()}), "ended accepted");
    EXPECT_TRUE(WaitUntil([&] { return savedCount() == 53; }, 20s)) << "the fifty items were never saved";
    EXPECT_EQ(saves(), 2) << "fifty items dropped at once were not one save";
    panel_->Kill();
    EXPECT_EQ(savedCount(), 53u);
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
    ASSERT_NE(Start(), nullptr);

    EXPECT_EQ(DropAt({20, 300}, {file}), "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(1));
    SaveScreenshotPng(CurrentTestName());

    const auto items = CloseAndReadItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].fileName, Narrow(file)) << "kept " << items[0].fileName.size() << " of " << file.size();
    EXPECT_EQ(items[0].workDir, Narrow(folder) + "\\");
    EXPECT_EQ(items[0].caption, "длинный путь.txt");
}

// Names code page 1251 cannot hold become items like any other: each starts
// its file, and each comes back whole after a restart, stored as marked UTF-8.
TEST_F(Drop, NamesOutsideCodePage1251BecomeItemsThatStartTheirFilesAndComeBackWhole) {
    const std::wstring folder = scratch_->SubFolder(L"names");
    const std::wstring probe = scratch_->AddProbe();
    const std::vector<std::wstring> names = {L"R\u00E9sum\u00E9.docx", L"\u8BB0\u4E8B\u672C.exe",
                                             L"\U0001F600 \u0441\u043C\u0430\u0439\u043B\u0438\u043A.exe"};
    std::vector<std::wstring> files;
    for (const std::wstring& name : names) files.push_back(JoinPath(folder, name));
    ASSERT_TRUE(WriteFileBytes(files[0], Bytes{'x'}));
    ASSERT_TRUE(CopyFileW(probe.c_str(), files[1].c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(probe.c_str(), files[2].c_str(), FALSE));
    // The document opens with the first program, which records it beside itself.
    const DocumentAssociation docx(L".docx", files[1]);
    ASSERT_NE(Start(), nullptr);

    EXPECT_EQ(DropAt({20, 300}, files), "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(3));
    EXPECT_FALSE(FindMessageBox(Pid())) << "a name was refused";
    SaveScreenshotPng(CurrentTestName());
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(ClickOn(window_, ItemCentre(window_, i)));
    const std::vector<ProbeRecord> starts = WaitForProbeRecords(folder, 3);
    std::string started;
    for (const ProbeRecord& r : starts) started += "\n  " + e2e::Narrow(r.commandLine);
    ASSERT_EQ(starts.size(), 3u) << "not every item started its file:" << started;
    for (const std::wstring& file : files) {
        const bool started = std::any_of(starts.begin(), starts.end(), [&](const ProbeRecord& r) {
            return r.commandLine.find(file.substr(folder.size() + 1)) != std::wstring::npos;
        });
        EXPECT_TRUE(started) << e2e::Narrow(file) << " was not started";
    }

    ASSERT_TRUE(panel_->Close());
    for (const ShortRecord& item : SavedItems()) EXPECT_EQ(item.caption.substr(0, 3), "\xEF\xBB\xBF");
    const HWND again = StartPanel();
    ASSERT_NE(again, nullptr);
    AccessibleReader reader(again);
    ASSERT_TRUE(reader.Object());
    std::vector<std::wstring> shown;
    for (long id = 1; id <= 3; ++id) shown.push_back(reader.Child(id).name);
    std::sort(shown.begin(), shown.end());
    std::vector<std::wstring> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected) << "a name did not come back whole";
}

TEST_F(Drop, DropsWorkAfterTheStayOnTopChoiceChangedBothWays) {
    const std::wstring folder = scratch_->SubFolder(L"ontop");
    ASSERT_NE(Start(), nullptr);
    for (const bool onTop : {true, false}) {
        HWND dialog = OpenDialogFromPanel(*panel_, window_, POINT{ClientWidthOf(window_) / 2, 700},
                                          MainMenuEntry::Settings, L"TFormTuning");
        ASSERT_NE(dialog, nullptr) << "no settings dialog";
        PressButton(FindChild(dialog, L"Button", L"Поверх других окон"));
        PressButton(FindChild(dialog, L"Button", L"Закрыть"));
        ASSERT_TRUE(WaitUntilGone(dialog));
        ASSERT_TRUE(WaitUntil([&] { return IsTopmost(window_) == onTop; }, 5s))
            << "the stay-on-top choice did not reach the panel";
        RestPointerOverPanel();
        ASSERT_TRUE(ReachesShown(window_, Side::Left));
        const std::wstring file = MakeFile(folder, onTop ? L"on-top.txt" : L"normal.txt");
        EXPECT_EQ(DropAt({20, 300}, {file}), "ended accepted")
            << (onTop ? "after turning stay-on-top on" : "after turning it off");
    }
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedCaptions(), (std::vector<std::string>{"normal.txt", "on-top.txt"}));
}

// The pictures are made away from the panel's thread: through a drop of
// many files it answers at once, and each item has its file's picture in
// the saved list, even when the panel closes right after the drop.
class DropMany : public Drop {
protected:
    // `count` programs with an icon of their own: links to the copy of the panel.
    std::vector<std::wstring> ManyPrograms(int count) {
        const std::wstring folder = scratch_->SubFolder(L"many");
        std::vector<std::wstring> files;
        for (int i = 0; i < count; ++i) {
            files.push_back(JoinPath(folder, L"f" + std::to_wstring(1000 + i) + L".exe"));
            EXPECT_TRUE(CreateHardLinkW(files.back().c_str(), scratch_->ExePath().c_str(), nullptr));
        }
        return files;
    }
    // How many of the saved `items` lack the picture a drop makes of `file`.
    static int WithoutTheirPicture(const std::vector<ShortRecord>& items, const std::wstring& file) {
        TBitmap expected;
        tilerack::win::ExtractFileIcon(expected, Narrow(file), 0, kPanelDefaultColour);
        EXPECT_NE(CountPixels(expected, RECT{0, 0, 32, 32}, [](COLORREF c) { return c != kPanelDefaultColour; }), 0)
            << "the program's picture cannot be told from the panel colour";
        int wrong = 0;
        for (const ShortRecord& item : items) {
            const StoredPicture picture = PictureOf(item.image);
            bool same = picture.width == expected.Width() && picture.height == expected.Height();
            for (int y = 0; same && y < picture.height; ++y)
                for (int x = 0; same && x < picture.width; ++x) same = picture.Pixel(x, y) == expected.Pixel(x, y);
            wrong += !same;
        }
        return wrong;
    }
};

TEST_F(DropMany, TwoHundredFilesAtOnceLeaveThePanelAnswering) {
    const std::vector<std::wstring> files = ManyPrograms(200);
    ASSERT_NE(Start(), nullptr);
    std::atomic<bool> probing{true};
    std::atomic<int> unanswered{0}, probes{0}, slowest{0};
    std::thread probe([&] {
        while (probing) {
            const auto sent = std::chrono::steady_clock::now();
            if (!Responds(window_, 200ms)) ++unanswered;
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent);
            slowest = std::max(slowest.load(), static_cast<int>(ms.count()));
            ++probes;
            Sleep(10);
        }
    });
    EXPECT_EQ(DropAt({20, 300}, files), "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(3)) << "no item buttons after the drop";
    probing = false;
    probe.join();
    std::printf("  %d probes, the slowest answered in %d ms\n", probes.load(), slowest.load());
    EXPECT_EQ(unanswered.load(), 0) << "of " << probes.load() << " probes, " << unanswered.load()
                                    << " found the panel answering in more than 200 ms";
    SaveScreenshotPng(CurrentTestName());
    const auto items = CloseAndReadItems();
    ASSERT_EQ(items.size(), 200u);
    EXPECT_EQ(WithoutTheirPicture(items, files[0]), 0) << "items saved without their file's picture";
}

// Closed the moment the drop is done, while the pictures are being made.
TEST_F(DropMany, TwoHundredFilesClosedAtOnceAreSavedWithTheirPictures) {
    const std::vector<std::wstring> files = ManyPrograms(200);
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(DropAt({20, 300}, files), "ended accepted");
    PostMessageW(window_, WM_CLOSE, 0, 0);
    const auto items = CloseAndReadItems();
    ASSERT_EQ(items.size(), 200u) << "the drop did not come before the close";
    EXPECT_EQ(WithoutTheirPicture(items, files[0]), 0) << "items saved without their file's picture";
}

}  // namespace
}  // namespace e2e
