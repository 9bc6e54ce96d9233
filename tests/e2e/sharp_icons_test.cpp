// Items whose picture is their file's icon, at 192 DPI: drawn from the
// file's own 64-pixel icon once the panel has shown, while a picture of the
// user's own and the icon of a file that is gone stay as they were stored,
// and the item file comes back byte for byte.
#include <shlobj.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "common/bmp_codec.h"
#include "common/byte_stream.h"
#include "common/covered_picture.h"
#include "e2e_harness.h"
#include "platform/dib.h"
#include "platform/file_icons.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace e2e {
namespace {

using tilerack::win::Narrow;

// The panel colour, shown bare (opacity 0), so every pixel of a picture's
// square is known.
constexpr COLORREF kPanelColour = RGB(70, 130, 90);

std::vector<uint8_t> BmpOf(const TBitmap& picture) {
    tilerack::ByteWriter out;
    tilerack::WriteEmbeddedBitmap(out, picture);
    return out.Bytes();
}

// The system's icon of `file` at `side` pixels, drawn on the panel colour.
TBitmap SystemIconOnPanelColour(const std::wstring& file, int side, COLORREF panelColour = kPanelColour) {
    HICON large = nullptr;
    if (FAILED(SHDefExtractIconW(file.c_str(), 0, 0, &large, nullptr, static_cast<UINT>(side))) || !large) return {};
    tilerack::win::UniqueIcon icon(large);
    tilerack::win::DibCanvas canvas(side, side);
    TBitmap filled(side, side);
    filled.Fill(panelColour);
    canvas.CopyFrom(filled);
    DrawIconEx(canvas.dc(), 0, 0, icon.get(), side, side, 0, nullptr, DI_NORMAL);
    TBitmap out;
    canvas.CopyTo(out);
    return out;
}

// The stored picture as the panel draws it enlarged on its bare colour.
TBitmap StoredPictureEnlarged(const TBitmap& stored, int side) {
    TBitmap out(side, side);
    out.Fill(kPanelColour);
    tilerack::DrawGlyphImageScaled(out.Rows(), 0, 0, stored, 0, 1, side, side);
    return out;
}

// The square item `index` shows its picture in, taken from `screen`.
TBitmap ShownPicture(const TBitmap& screen, HWND panel, int index, const DisplayScale& scale) {
    const RECT button = ClientRectOnScreen(panel, ItemButtonRect(panel, index, scale));
    const int side = scale.S(32);
    const int left = button.left + (button.right - button.left - side) / 2;
    const int top = button.top + (scale.S(34) - side) / 2;
    TBitmap out(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) out.SetPixel(x, y, screen.Pixel(left + x, top + y));
    return out;
}

// True when `area` of `screen` holds the picture somewhere, its pixels of
// the panel colour (see-through) aside.
bool HoldsPicture(const TBitmap& screen, const RECT& area, const TBitmap& picture,
                  COLORREF panelColour = kPanelColour) {
    for (int top = area.top; top + picture.Height() <= area.bottom; ++top)
        for (int left = area.left; left + picture.Width() <= area.right; ++left) {
            bool same = true;
            for (int y = 0; same && y < picture.Height(); ++y)
                for (int x = 0; same && x < picture.Width(); ++x) {
                    const COLORREF p = picture.Pixel(x, y);
                    same = p == panelColour || screen.Pixel(left + x, top + y) == p;
                }
            if (same) return true;
        }
    return false;
}

int DifferentPixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int count = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) count += a.Pixel(x, y) != b.Pixel(x, y);
    return count;
}

using SharpFileIcons = PanelTest;

TEST_F(SharpFileIcons, FileIconItemsAreDrawnFromTheFilesOwnIconAt192Dpi) {
    if (!ScaleChangesWithinASession())
        GTEST_SKIP() << "Wine 10 (like Windows) reads the display scale once per session, and this scenario "
                        "makes the pictures at 96 DPI, then starts the panel at 192, within one";
    // Made at 96 DPI, as a drop there makes them: the program's own icon
    // (it holds a 64-pixel image that is no enlargement of its 32-pixel one).
    const std::wstring program = scratch_->ExePath();
    const std::wstring gone = scratch_->File(L"gone.exe");
    ASSERT_TRUE(CopyFileW(program.c_str(), gone.c_str(), FALSE));
    TBitmap programIcon, goneIcon;
    tilerack::win::ExtractFileIcon(programIcon, Narrow(program), 0, kPanelColour);
    tilerack::win::ExtractFileIcon(goneIcon, Narrow(gone), 0, kPanelColour);
    ASSERT_EQ(programIcon.Width(), 32) << "the test program does not run at 96 DPI";
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    TBitmap ownPicture;
    {
        const std::vector<uint8_t> bytes = KeyedSquareBmp(RGB(255, 0, 255), RGB(200, 60, 20), 4);
        tilerack::ByteReader in(bytes);
        tilerack::ReadEmbeddedBitmap(in, ownPicture);
    }
    // The picker's picture and the gone file's first: the worker takes the
    // items in order, so once the last shows sharp the others are settled.
    const std::string programPath = Narrow(program);
    const ShortsFile items = BuildShortsFile({
        {.fileName = programPath, .workDir = Narrow(scratch_->Path()) + "\\", .image = BmpOf(ownPicture)},
        {.fileName = Narrow(gone), .image = BmpOf(goneIcon)},
        {.fileName = programPath, .trackDrives = true, .image = BmpOf(programIcon)},
    });
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), items.bytes));
    WriteSettings({"Opacity=0", "Color=" + std::to_string(kPanelColour), "TimeOut=60000"});

    RunAtDpi(192);
    const TBitmap sharp = SystemIconOnPanelColour(program, 64);
    ASSERT_EQ(sharp.Width(), 64) << "the system gives no 64-pixel icon of the program";
    ASSERT_GT(DifferentPixels(sharp, StoredPictureEnlarged(programIcon, 64)), 0)
        << "the sharp icon cannot be told from the enlarged one";

    ASSERT_NE(StartPanel(), nullptr);
    const auto shown = std::chrono::steady_clock::now();
    int wrong = -1;
    TBitmap screen;
    const bool cameSharp = WaitUntil(
        [&] {
            screen = CaptureScreen();
            wrong = DifferentPixels(ShownPicture(screen, window_, 2, scale_), sharp);
            return wrong == 0;
        },
        10s);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - shown);
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(cameSharp) << wrong << " pixels differ from the system's 64-pixel icon on the panel colour";
    RecordProperty("sharp_after_first_show_ms", static_cast<int>(ms.count()));
    std::printf("  the sharp picture showed %lld ms after the first show\n", static_cast<long long>(ms.count()));

    EXPECT_EQ(DifferentPixels(ShownPicture(screen, window_, 0, scale_), StoredPictureEnlarged(ownPicture, 64)), 0)
        << "the picker's picture is not drawn as before";
    EXPECT_EQ(DifferentPixels(ShownPicture(screen, window_, 1, scale_), StoredPictureEnlarged(goneIcon, 64)), 0)
        << "the gone file's stored picture is not drawn as before";

    // The items menu shows the same sharp picture at its own size.
    const HWND menu = OpenItemsMenu(*panel_, window_, Side::Left, scale_);
    ASSERT_NE(menu, nullptr);
    const RECT menuRect = WindowRect(menu);
    EXPECT_TRUE(WaitUntil([&] { return HoldsPicture(CaptureScreen(), menuRect, sharp); }, 5s))
        << "no sharp picture in the items menu";
    SaveScreenshotPng(CurrentTestName() + L".menu");
    EXPECT_TRUE(CloseMenuWithEscape(Pid()));

    ASSERT_TRUE(panel_->Close());
    const auto after = ReadWholeFile(ItemsPath());
    ASSERT_TRUE(after) << "no item file after closing";
    EXPECT_TRUE(*after == items.bytes) << after->size() << " bytes instead of " << items.bytes.size();
}

// A program dropped on the panel at 96 DPI keeps its stored 32 x 32 picture,
// and at 192 DPI it is drawn from the file's own 64-pixel icon; the file the
// drop wrote comes back byte for byte.
TEST_F(SharpFileIcons, AProgramDroppedAt96DpiIsDrawnFromItsOwn64PixelIconAt192Dpi) {
    if (!ScaleChangesWithinASession())
        GTEST_SKIP() << "Wine 10 (like Windows) reads the display scale once per session, and this scenario "
                        "starts the program at 96 DPI, then at 192, within one";
    // A copy of the test program: it holds a 64-pixel image of its own.
    const std::wstring program = JoinPath(scratch_->SubFolder(L"programs"), L"tool.exe");
    ASSERT_TRUE(CopyFileW(scratch_->ExePath().c_str(), program.c_str(), FALSE));
    WriteSettings({"Opacity=0", "Color=" + std::to_string(kPanelColour), "TimeOut=60000"});
    ASSERT_NE(StartPanel(), nullptr);
    MoveTrayWindowAway();
    PostTrayCallback(window_, WM_LBUTTONDBLCLK);  // slid in: a drop target
    ASSERT_TRUE(Responds(window_) && WaitForCloseCross(window_, Side::Left));
    ASSERT_EQ(DragFilesFromX11(*scratch_, {640, 520}, ClientToScreenPoint(window_, 20, 300), {program}),
              "ended accepted");
    const std::vector<ShortRecord> dropped = CloseAndReadItems();
    ASSERT_EQ(dropped.size(), 1u);
    ASSERT_EQ(dropped[0].fileName, Narrow(program));
    const StoredPicture stored = PictureOf(dropped[0].image);
    ASSERT_EQ(stored.width, 32);
    ASSERT_EQ(stored.height, 32);
    const auto written = ReadWholeFile(ItemsPath());
    ASSERT_TRUE(written);

    RunAtDpi(192);
    const TBitmap sharp = SystemIconOnPanelColour(program, 64);
    ASSERT_EQ(sharp.Width(), 64) << "the system gives no 64-pixel icon of the program";
    TBitmap storedPicture(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) storedPicture.SetPixel(x, y, stored.Pixel(x, y));
    ASSERT_GT(DifferentPixels(sharp, StoredPictureEnlarged(storedPicture, 64)), 0)
        << "the sharp icon cannot be told from the enlarged one";
    ASSERT_NE(StartPanel(), nullptr);
    // Beside its caption (the file's name), so looked for in the whole button.
    const RECT button = ClientRectOnScreen(window_, ItemButtonRect(window_, 0, scale_));
    EXPECT_TRUE(WaitUntil([&] { return HoldsPicture(CaptureScreen(), button, sharp); }, 10s))
        << "the dropped program is not drawn from its file's 64-pixel icon";
    SaveScreenshotPng(CurrentTestName());

    ASSERT_TRUE(panel_->Close());
    EXPECT_EQ(ReadWholeFile(ItemsPath()), written) << "the item file changed at 192 DPI";
}

// Closed while its worker is still making the first pictures (its thread
// joins its COM apartment and starts on the items shown), the panel ends at
// once and its item file comes back whole.
TEST_F(SharpFileIcons, ClosedWhileTheWorkerIsBusyItEndsAtOnceWithTheFileWhole) {
    const std::wstring program = scratch_->ExePath();
    TBitmap programIcon;
    tilerack::win::ExtractFileIcon(programIcon, Narrow(program), 0, kPanelColour);
    std::vector<ShortRecord> records(40, ShortRecord{.fileName = Narrow(program), .trackDrives = true,
                                                     .image = BmpOf(programIcon)});
    const ShortsFile items = BuildShortsFile(records);
    ASSERT_TRUE(WriteFileBytes(ItemsPath(), items.bytes));
    WriteSettings({"Opacity=0", "Color=" + std::to_string(kPanelColour), "TimeOut=60000"});
    RunAtDpi(192);

    ASSERT_NE(StartPanel(), nullptr);
    const auto closing = std::chrono::steady_clock::now();
    ASSERT_TRUE(panel_->Close(10s)) << "the panel did not end";
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - closing).count();
    std::printf("  the panel ended %lld ms after it was asked to close\n", static_cast<long long>(ms));
    EXPECT_LT(ms, 1000) << "the panel waited on its worker";
    EXPECT_EQ(panel_->ExitCode(), std::optional<DWORD>(0));
    const auto after = ReadWholeFile(ItemsPath());
    ASSERT_TRUE(after) << "no item file after closing";
    EXPECT_TRUE(*after == items.bytes) << after->size() << " bytes instead of " << items.bytes.size();
}

// The system's own programs, with captions, as a user drops them: each
// drawn sharp beside its caption and in the items menu. With E2E_README_SHOT
// set, the panel and its menu are saved there for the README.
TEST_F(SharpFileIcons, DroppedProgramsAreSharpBesideTheirCaptionsAndInTheItemsMenu) {
    struct Program {
        const char* caption;
        const wchar_t* path;
    };
    const Program programs[] = {{"Блокнот", L"C:\\windows\\notepad.exe"},
                                {"Редактор реестра", L"C:\\windows\\regedit.exe"},
                                {"Сапёр", L"C:\\windows\\system32\\winemine.exe"},
                                {"Диспетчер задач", L"C:\\windows\\system32\\taskmgr.exe"},
                                {"Проводник", L"C:\\windows\\system32\\winefile.exe"}};
    std::vector<ShortRecord> records;
    for (const Program& p : programs) {
        TBitmap icon;
        tilerack::win::ExtractFileIcon(icon, Narrow(p.path), 0, kPanelDefaultColour);
        records.push_back({.fileName = Narrow(p.path), .caption = p.caption, .hint = p.caption,
                           .trackDrives = true, .image = BmpOf(icon)});
    }
    if (!ScaleChangesWithinASession())
        GTEST_SKIP() << "Wine 10 (like Windows) reads the display scale once per session, and this scenario "
                        "makes the stored pictures at 96 DPI, then starts the panel at 192, within one";
    ASSERT_TRUE(WriteItems(records));
    WriteSettings({"Opacity=0", "TimeOut=60000"});
    RunAtDpi(192);
    ASSERT_NE(StartPanel(), nullptr);

    for (size_t i = 0; i < records.size(); ++i) {
        const TBitmap sharp = SystemIconOnPanelColour(programs[i].path, 64, kPanelDefaultColour);
        ASSERT_EQ(sharp.Width(), 64) << programs[i].caption;
        const RECT button = ClientRectOnScreen(window_, ItemButtonRect(window_, static_cast<int>(i), scale_));
        EXPECT_TRUE(WaitUntil([&] { return HoldsPicture(CaptureScreen(), button, sharp, kPanelDefaultColour); }, 10s))
            << "item " << i << " is not drawn from its file's 64-pixel icon";
    }
    const HWND menu = OpenItemsMenu(*panel_, window_, Side::Left, scale_);
    ASSERT_NE(menu, nullptr);
    // The menu paints its entries a moment after it opens.
    for (const Program& p : programs) {
        const TBitmap sharp = SystemIconOnPanelColour(p.path, 64, kPanelDefaultColour);
        EXPECT_TRUE(WaitUntil(
            [&] { return HoldsPicture(CaptureScreen(), WindowRect(menu), sharp, kPanelDefaultColour); }, 5s))
            << "no sharp picture of " << Narrow(p.path) << " in the items menu";
    }
    const RECT shot{0, 0, std::min<LONG>(WindowRect(menu).right + 8, ScreenWidth()), ScreenHeight()};
    EXPECT_TRUE(SavePng(CurrentTestName(), CaptureScreen(shot), EnvironmentValue(L"E2E_README_SHOT")));
    EXPECT_TRUE(CloseMenuWithEscape(Pid()));
}

}  // namespace
}  // namespace e2e
