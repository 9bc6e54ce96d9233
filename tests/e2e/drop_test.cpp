// Files dragged onto the panel through the shell's real drag-and-drop path:
// a GTK drag source on the X server, Wine's XDND support, WM_DROPFILES.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <ole2.h>
#include <shlobj.h>

#include "dialog_driver.h"
#include "keyboard_driver.h"
#include "platform/file_icons.h"
#include "platform/text.h"

namespace e2e {
namespace {

using tilerack::win::Narrow;

// Where the drag source stands: away from the panel and the tray window.
constexpr POINT kSourceSpot{640, 520};

// The shell's data object of one file, as the file manager hands it to a
// drag (the shell's functions looked up by name: the program binds none of them).
IDataObject* ShellDataObject(const std::wstring& file) {
    using Parse = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, PIDLIST_ABSOLUTE*, SFGAOF, SFGAOF*);
    using BindToParent = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE, REFIID, void**, PCUITEMID_CHILD*);
    const HMODULE shell = LoadLibraryW(L"shell32.dll");
    const auto parse = reinterpret_cast<Parse>(reinterpret_cast<void*>(GetProcAddress(shell, "SHParseDisplayName")));
    const auto bind = reinterpret_cast<BindToParent>(reinterpret_cast<void*>(GetProcAddress(shell, "SHBindToParent")));
    PIDLIST_ABSOLUTE list = nullptr;
    if (!parse || !bind || FAILED(parse(file.c_str(), nullptr, &list, 0, nullptr))) return nullptr;
    IShellFolder* folder = nullptr;
    PCUITEMID_CHILD child = nullptr;
    IDataObject* data = nullptr;
    if (SUCCEEDED(bind(list, IID_IShellFolder, reinterpret_cast<void**>(&folder), &child))) {
        folder->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr, reinterpret_cast<void**>(&data));
        folder->Release();
    }
    CoTaskMemFree(list);
    return data;
}

// A window of the test program's own that runs OLE's drag loop with one
// file when a button goes down on it, as the file manager does; on a thread
// of its own with its message loop. A drag from the X server reaches a drop
// target as a Windows drag does on some runtimes only; this one on all.
class OleDragWindow {
public:
    explicit OleDragWindow(std::wstring file) : file_(std::move(file)) {
        thread_ = std::thread([this] { Run(); });
        WaitUntil([this] { return window_.load() != nullptr; }, 10s);
    }
    ~OleDragWindow() {
        if (HWND w = window_.load()) PostMessageW(w, WM_CLOSE, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_.load(); }
    // How the drag ended, once its loop has, in the words of DragFilesFromX11.
    std::string Verdict() const {
        if (!WaitUntil([this] { return verdict_.load() != Ended::Not; }, 10s)) return "not ended";
        return verdict_.load() == Ended::Accepted ? "ended accepted" : "ended refused";
    }

private:
    struct Source final : IDropSource {
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
            *out = riid == IID_IUnknown || riid == IID_IDropSource ? this : nullptr;
            return *out ? S_OK : E_NOINTERFACE;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
            if (escape) return DRAGDROP_S_CANCEL;
            return keys & (MK_LBUTTON | MK_RBUTTON) ? S_OK : DRAGDROP_S_DROP;
        }
        HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
    };
    static LRESULT CALLBACK Procedure(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<OleDragWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        const bool press = msg == WM_RBUTTONDOWN || msg == WM_LBUTTONDOWN;
        if (press && self) self->Drag();
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return press ? 0 : DefWindowProcW(w, msg, wp, lp);
    }
    void Drag() {
        using DragLoop = HRESULT(WINAPI*)(IDataObject*, IDropSource*, DWORD, DWORD*);
        const auto loop = reinterpret_cast<DragLoop>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"ole32.dll"), "DoDragDrop")));
        verdict_.store(Ended::Not);  // a click before the drag was a drag of its own
        IDataObject* data = ShellDataObject(file_);
        Source source;
        DWORD effect = 0;
        const HRESULT ended = loop && data ? loop(data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect) : E_FAIL;
        verdict_.store(ended == DRAGDROP_S_DROP && effect != DROPEFFECT_NONE ? Ended::Accepted : Ended::Refused);
        if (data) data->Release();
    }
    void Run() {
        OleInitialize(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"DropTestOleDragSource";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&wc);
        HWND w = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, kSourceSpot.x - 60,
                                 kSourceSpot.y - 45, 120, 90, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        window_.store(w);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        OleUninitialize();
    }

    const std::wstring file_;
    std::atomic<HWND> window_{nullptr};
    enum class Ended { Not, Accepted, Refused };
    std::atomic<Ended> verdict_{Ended::Not};
    std::thread thread_;
};

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

    // Drags `file` with `button` (1 left, 3 right) from the test's own OLE
    // drag source onto the panel's client point `at`, rests there
    // `restSeconds` and lets go; DragFilesFromX11's verdict.
    std::string OleDropAt(POINT at, const std::wstring& file, int button, const char* restSeconds = "0.3") {
        OleDragWindow source(file);
        if (!source.Window() || ClickWithXPointer(kSourceSpot) != "ended") return "no drag source";
        const POINT target = ClientToScreenPoint(window_, at.x, at.y);
        const std::string b = std::to_string(button);
        std::vector<std::string> steps = {"mousemove", std::to_string(kSourceSpot.x), std::to_string(kSourceSpot.y),
                                          "mousedown", b};
        for (const std::string& word : XMoveSteps(kSourceSpot, target, 12, 0.05)) steps.push_back(word);
        for (const char* word : {"sleep", restSeconds, "mouseup", b.c_str()}) steps.push_back(word);
        const std::string ended = XPointerSteps(steps);
        return ended == "ended" ? source.Verdict() : ended;
    }

    // The panel started with one item, "Probe", that starts the probe with
    // `params` in the scratch folder; its button shown.
    bool StartWithProbeItem(const std::string& params) {
        const std::wstring probe = scratch_->AddProbe();
        if (!WriteItems({{.params = params,
                          .fileName = Narrow(probe),
                          .caption = "Probe",
                          .workDir = Narrow(scratch_->Path()),
                          .image = FramedIconBmp(0xFF00FF, 0x3030C0)}}))
            return false;
        return Start() != nullptr && WaitForItemsShown(1);
    }
    // The arguments of the probe's first start, once it has started.
    std::optional<std::string> FirstProbeArguments() {
        std::vector<ProbeRecord> starts;
        if (!WaitUntil([&] { return !(starts = ReadProbeRecords(scratch_->Path())).empty(); }, 15s))
            return std::nullopt;
        EXPECT_TRUE(SamePath(starts[0].folder, scratch_->Path())) << e2e::Narrow(starts[0].folder);
        return e2e::Narrow(ArgumentsOf(starts[0].commandLine));
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

// While a file is dragged over the strip, the bar of an item's drag shows
// the gap it will join; the drop then inserts it there.
TEST_F(Drop, TheBarShowsWhereTheDraggedFileLandsAndTheDropInsertsItThere) {
    ASSERT_TRUE(WriteItems({{.fileName = "C:\\x.exe", .caption = "X", .image = FramedIconBmp(0xFF00FF, 0x3030C0)},
                            {.fileName = "C:\\y.exe", .caption = "Y", .image = FramedIconBmp(0xFF00FF, 0x30C030)},
                            {.fileName = "C:\\z.exe", .caption = "Z", .image = FramedIconBmp(0xFF00FF, 0xC03030)}}));
    const std::wstring file = MakeFile(scratch_->SubFolder(L"bar"), L"bar.txt");
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(WaitForItemsShown(3));
    // The top eighth of the second button: the gap above it, not its program.
    const RECT second = ItemButtonRect(window_, 1, scale_);
    const POINT at{(second.left + second.right) / 2, second.top + (second.bottom - second.top) / 8};
    const RECT gapRows = ClientRectOnScreen(window_, RECT{second.left + 2, second.top - 1, second.right - 2, second.top + 1});
    const int barInk = (second.right - second.left - 4);
    ASSERT_LT(CountPixels(CaptureScreen(), gapRows, IsBlack), barInk / 2) << "the gap is dark before any drag";

    std::string verdict;
    std::thread drag([&] { verdict = OleDropAt(at, file, 1, "3"); });
    const bool barShown = WaitUntil([&] { return CountPixels(CaptureScreen(), gapRows, IsBlack) >= barInk; }, 30s);
    if (barShown) SaveScreenshotPng(CurrentTestName() + L"-bar");
    drag.join();
    EXPECT_TRUE(barShown) << "no bar between the first and the second item during the drag";
    EXPECT_EQ(verdict, "ended accepted");
    EXPECT_TRUE(WaitForItemsShown(4));
    EXPECT_LT(CountPixels(CaptureScreen(), gapRows, IsBlack), barInk) << "the bar stayed after the drop";
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedCaptions(), (std::vector<std::string>{"X", "bar.txt", "Y", "Z"}));
}

// With "DropOpens=1" a file dropped on the middle of a program's item is
// opened with it: its path quoted after the item's own parameters, in the
// item's working folder; no item is added.
TEST_F(Drop, WithDropOpensAFileDroppedOnTheProbesItemStartsTheProbeWithItsPath) {
    WriteSettings({"TimeOut=60000", "DropOpens=1"});
    const std::wstring file = MakeFile(scratch_->SubFolder(L"open"), L"note.txt");
    ASSERT_TRUE(StartWithProbeItem("own"));

    EXPECT_EQ(OleDropAt(Centre(ItemButtonRect(window_, 0, scale_)), file, 1), "ended accepted");
    EXPECT_EQ(FirstProbeArguments(), "own \"" + e2e::Narrow(file) + "\"")
        << "the drop did not start the probe with the file";
    EXPECT_FALSE(FindMessageBox(Pid()));
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedCaptions(), (std::vector<std::string>{"Probe"})) << "the dropped file became an item as well";
    EXPECT_EQ(ReadProbeRecords(scratch_->Path()).size(), 1u);
}

// A right-button drop onto a program's item asks first, as the file
// manager does: "Открыть в «...»" opens the file with it.
TEST_F(Drop, ARightButtonDropOnTheProbesItemAsksAndOpenInStartsTheProbe) {
    if (WindowManager().empty()) GTEST_SKIP() << kKeysNeedAWindowManager;
    const std::wstring file = MakeFile(scratch_->SubFolder(L"right"), L"right.txt");
    ASSERT_TRUE(StartWithProbeItem(""));
    OleDragWindow source(file);
    ASSERT_NE(source.Window(), nullptr);
    ASSERT_EQ(ClickWithXPointer(kSourceSpot), "ended");

    const POINT target = ClientToScreenPoint(window_, Centre(ItemButtonRect(window_, 0, scale_)).x,
                                             Centre(ItemButtonRect(window_, 0, scale_)).y);
    std::vector<std::string> steps = {"mousemove", std::to_string(kSourceSpot.x), std::to_string(kSourceSpot.y),
                                      "mousedown", "3"};
    for (const std::string& word : XMoveSteps(kSourceSpot, target, 12, 0.05)) steps.push_back(word);
    for (const char* word : {"sleep", "0.3", "mouseup", "3"}) steps.push_back(word);
    ASSERT_EQ(XPointerSteps(steps), "ended");

    const HWND menu = WaitForPopupMenu(Pid(), 15s);
    ASSERT_NE(menu, nullptr) << "the right-button drop showed no menu";
    SaveScreenshotPng(CurrentTestName() + L"-menu");
    ChooseMenuEntry(menu, 0);
    EXPECT_EQ(FirstProbeArguments(), "\"" + e2e::Narrow(file) + "\"")
        << "\"Открыть в\" did not start the probe with the file";
    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(SavedCaptions(), (std::vector<std::string>{"Probe"}));
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
