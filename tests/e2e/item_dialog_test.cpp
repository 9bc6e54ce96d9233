// The item properties dialog, opened through the real context menu: new
// items, properties, the hint, loading pictures, saving, browsing.
#include <cstdlib>
#include <string>

#include "common/bitmap.h"
#include "dialog_driver.h"
#include "platform/text.h"

namespace e2e {
namespace {

// The dialog's edits in creation (and tab) order.
enum class Edit { Name, Hint, FileName, Params, WorkDir };

std::string Cp1251(const std::wstring& text) { return tilerack::win::Narrow(text); }

// A 48 x 48 icon file of one opaque colour, 32 bits with its AND mask.
Bytes SolidIconFile(COLORREF colour) {
    constexpr int kSide = 48;
    const int maskStride = ((kSide + 31) / 32) * 4;
    const uint32_t imageBytes = 40 + kSide * kSide * 4 + maskStride * kSide;
    Bytes b;
    auto u16 = [&](uint16_t v) { b.push_back(v & 0xFF); b.push_back(v >> 8); };
    auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF); };
    u16(0), u16(1), u16(1);                                     // directory: one icon
    b.push_back(kSide), b.push_back(kSide), b.push_back(0), b.push_back(0);
    u16(1), u16(32), u32(imageBytes), u32(6 + 16);
    u32(40), u32(kSide), u32(kSide * 2), u16(1), u16(32), u32(0), u32(0), u32(0), u32(0), u32(0), u32(0);
    for (int i = 0; i < kSide * kSide; ++i) {
        b.push_back(GetBValue(colour)), b.push_back(GetGValue(colour)), b.push_back(GetRValue(colour));
        b.push_back(0xFF);
    }
    b.insert(b.end(), static_cast<size_t>(maskStride * kSide), 0);  // all opaque
    return b;
}

class ItemDialog : public PanelTest {
protected:
    static ShortRecord Record(const std::string& caption, const std::string& fileName, COLORREF fill) {
        return {.fileName = fileName, .caption = caption, .hint = caption + " hint",
                .trackDrives = true, .image = FramedIconBmp(RGB(255, 0, 255), fill)};
    }

    // Opens the dialog by the context menu entry on item `index` (-1: the
    // panel's empty area), with the panel brought back in first (a closed
    // dialog lets the pointer watch resume), and returns it.
    HWND OpenDialog(int index, MainMenuEntry entry) {
        BringIn(window_);
        const POINT at = index < 0 ? POINT{ClientWidthOf(window_) / 2, 700} : Centre(ItemButtonRect(window_, index));
        return OpenDialogFromPanel(*panel_, window_, at, entry, L"TMainDialog");
    }

    static HWND EditOf(HWND dialog, Edit which) { return FindChild(dialog, L"Edit", {}, static_cast<int>(which)); }
    static HWND ButtonOf(HWND dialog, const std::wstring& text) { return FindChild(dialog, L"Button", text); }
    // Presses the dialog's button `button` and waits until the dialog has gone.
    static bool PressAndClose(HWND dialog, const std::wstring& button) {
        return PressButton(dialog, button) && WaitUntilGone(dialog);
    }
};

TEST_F(ItemDialog, NewItemCancelledAddsNothingConfirmedLandsBelowTheClickedButton) {
    ASSERT_TRUE(WriteItems(
        {Record("Первый", "C:\\first.exe", RGB(200, 0, 0)), Record("Второй", "C:\\second.exe", RGB(0, 0, 200))}));
    ASSERT_NE(StartPanel(), nullptr);

    HWND dialog = OpenDialog(0, MainMenuEntry::NewItem);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), L"Настройки элемента панели");
    const RECT client = ClientRect(dialog);
    EXPECT_EQ(client.right, 399);
    EXPECT_EQ(client.bottom, 297);
    // A window manager may map the dialog a moment before it takes the place the dialog gave itself.
    const auto centred = [&] {
        const RECT r = WindowRect(dialog);
        return std::abs((r.left + r.right) / 2 - ScreenWidth() / 2) <= 1 &&
               std::abs((r.top + r.bottom) / 2 - ScreenHeight() / 2) <= 1;
    };
    WaitUntil(centred, 3s);
    const RECT frame = WindowRect(dialog);
    EXPECT_NEAR((frame.left + frame.right) / 2, ScreenWidth() / 2, 1) << "not centred across";
    EXPECT_NEAR((frame.top + frame.bottom) / 2, ScreenHeight() / 2, 1) << "not centred down";
    EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME, 0) << "the frame must not be sizeable";
    EXPECT_TRUE(IsWindowVisible(ButtonOf(dialog, L"случайная"))) << "a new item starts with a generated glyph";
    EXPECT_FALSE(IsWindowEnabled(FindChild(dialog, L"Button", L"Учёт смены букв источника")));
    SaveScreenshotPng(CurrentTestName() + L".dialog");
    ASSERT_TRUE(PressAndClose(dialog, L"Отмена"));

    dialog = OpenDialog(0, MainMenuEntry::NewItem);
    ASSERT_NE(dialog, nullptr);
    SetControlText(EditOf(dialog, Edit::Name), L"Новый ярлык");
    SetControlText(EditOf(dialog, Edit::FileName), L"C:\\новый.exe");
    SetControlText(EditOf(dialog, Edit::Params), L"-x");
    ASSERT_TRUE(PressAndClose(dialog, L"ОК"));
    BringIn(window_);
    SaveScreenshotPng(CurrentTestName() + L".panel");

    const auto saved = CloseAndReadItems();
    ASSERT_EQ(saved.size(), 3u) << "the cancelled item must not be kept, the confirmed one must";
    EXPECT_EQ(saved[0].caption, Cp1251(L"Первый"));
    EXPECT_EQ(saved[1].caption, Cp1251(L"Новый ярлык")) << "not inserted below the clicked button";
    EXPECT_EQ(saved[1].fileName, Cp1251(L"C:\\новый.exe"));
    EXPECT_EQ(saved[1].params, "-x");
    EXPECT_EQ(PictureOf(saved[1].image).width, 32);
    EXPECT_EQ(PictureOf(saved[1].image).height, 32);
    EXPECT_TRUE(saved[1].trackDrives);
    EXPECT_EQ(saved[2].caption, Cp1251(L"Второй"));
}

TEST_F(ItemDialog, NewItemOnAnEmptyPanelIsItsOnlyItemWithAButton) {
    ASSERT_NE(StartPanel(), nullptr);
    HWND dialog = OpenDialog(-1, MainMenuEntry::NewItem);
    ASSERT_NE(dialog, nullptr);
    SetControlText(EditOf(dialog, Edit::Name), L"Один");
    ASSERT_TRUE(PressAndClose(dialog, L"ОК"));
    BringIn(window_);
    // The new button shows its caption's black pixels in the first slot.
    const RECT slot = ClientRectOnScreen(window_, ItemButtonRect(window_, 0));
    EXPECT_TRUE(WaitUntil([&] { return CountPixels(CaptureScreen(), slot, [](COLORREF c) { return c == 0; }) > 5; },
                          3s))
        << "no button for the new item";
    SaveScreenshotPng(CurrentTestName());
    const auto saved = CloseAndReadItems();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].caption, Cp1251(L"Один"));
}

TEST_F(ItemDialog, PropertiesOfAnItemWithoutPicturePaintAGlyphKeptOnCancel) {
    ShortRecord bare = Record("Голый", "C:\\bare.exe", 0);
    bare.image.clear();  // the last record: its picture ends with the file, empty
    ASSERT_TRUE(WriteItems({bare}));
    ASSERT_NE(StartPanel(), nullptr);

    HWND dialog = OpenDialog(0, MainMenuEntry::Properties);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(EditOf(dialog, Edit::Name)), L"Голый");
    EXPECT_EQ(ControlText(EditOf(dialog, Edit::FileName)), L"C:\\bare.exe");
    EXPECT_TRUE(IsWindowVisible(ButtonOf(dialog, L"случайная")));
    ASSERT_TRUE(PressAndClose(dialog, L"Отмена"));

    const auto saved = CloseAndReadItems();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].caption, Cp1251(L"Голый")) << "cancel must not write the fields";
    EXPECT_EQ(PictureOf(saved[0].image).width, 32) << "the glyph painted on opening must stay after cancel";
    EXPECT_EQ(PictureOf(saved[0].image).height, 32);
}

TEST_F(ItemDialog, HintTypedOverTwoLinesIsStoredWithItsLineBreakAndEscDoesNotClose) {
    ASSERT_TRUE(WriteItems({Record("Подсказка", "C:\\hint.exe", RGB(0, 160, 0))}));
    ASSERT_NE(StartPanel(), nullptr);
    HWND dialog = OpenDialog(0, MainMenuEntry::Properties);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(ButtonOf(dialog, L"случайная"))) << "an item with a picture is not in random mode";

    HWND hint = EditOf(dialog, Edit::Hint);
    SetControlText(hint, L"");
    ClickAndType(hint, L"первая\nвторая");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(hint) == L"первая\r\nвторая"; }, 3s))
        << "Enter must start a new line in the hint: " << Narrow(ControlText(hint));
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 1500ms)) << "Esc closed the dialog";
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(PressAndClose(dialog, L"ОК"));

    const auto saved = CloseAndReadItems();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].hint, Cp1251(L"первая\r\nвторая"));
    EXPECT_EQ(saved[0].caption, Cp1251(L"Подсказка"));
}

TEST_F(ItemDialog, LoadedIconIsCappedAt32WithWhiteLastRowAndColumnAndDamagedBitmapKeepsThePreview) {
    ASSERT_TRUE(WriteItems({Record("Картинка", "C:\\pic.exe", RGB(0, 0, 160))}));
    const std::wstring icon = scratch_->File(L"red48.ico");
    ASSERT_TRUE(WriteFileBytes(icon, SolidIconFile(RGB(255, 0, 0))));
    const std::wstring damaged = scratch_->File(L"broken.bmp");
    Bytes broken = Bmp24Image(7);
    broken[14 + 14] = 7;  // a bit count no bitmap has
    ASSERT_TRUE(WriteFileBytes(damaged, broken));
    ASSERT_NE(StartPanel(), nullptr);

    // A damaged bitmap: the loader's message, the preview and item unchanged.
    HWND dialog = OpenDialog(0, MainMenuEntry::Properties);
    ASSERT_NE(dialog, nullptr);
    PressButton(dialog, L"Загрузить...");
    ASSERT_TRUE(AnswerOpenFileDialog(Pid(), damaged)) << "no open dialog to answer";
    const auto box = WaitForMessageBox(Pid(), 5s);
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(box->text, L"Bitmap image is not valid");
    EXPECT_EQ(box->caption, kAppTitle);
    ASSERT_TRUE(AnswerMessageBox(Pid(), box->window));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog must stay open after a failed load";
    ASSERT_TRUE(PressAndClose(dialog, L"ОК"));

    dialog = OpenDialog(0, MainMenuEntry::Properties);
    ASSERT_NE(dialog, nullptr);
    PressButton(dialog, L"Загрузить...");
    ASSERT_TRUE(AnswerOpenFileDialog(Pid(), icon)) << "no open dialog to answer";
    SaveScreenshotPng(CurrentTestName());
    ASSERT_TRUE(PressAndClose(dialog, L"ОК"));

    const auto saved = CloseAndReadItems();
    ASSERT_EQ(saved.size(), 1u);
    const StoredPicture picture = PictureOf(saved[0].image);
    ASSERT_EQ(picture.width, 32);
    ASSERT_EQ(picture.height, 32);
    const tilerack::Color white = tilerack::Rgb(255, 255, 255), red = tilerack::Rgb(255, 0, 0);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(picture.Pixel(31, i), white) << "last column, row " << i;
        EXPECT_EQ(picture.Pixel(i, 31), white) << "last row, column " << i;
    }
    EXPECT_EQ(picture.Pixel(0, 0), red);
    EXPECT_EQ(picture.Pixel(30, 30), red);
    EXPECT_EQ(picture.Pixel(15, 15), red);
}

TEST_F(ItemDialog, SaveWritesTheItemsAsTheyAreNotTheDialogsEdits) {
    ASSERT_TRUE(WriteItems({Record("Старое", "C:\\old.exe", RGB(120, 0, 120))}));
    ASSERT_NE(StartPanel(), nullptr);
    const std::wstring file = ItemsPath();
    ASSERT_TRUE(DeleteFileW(file.c_str()));
    HWND dialog = OpenDialog(0, MainMenuEntry::Properties);
    ASSERT_NE(dialog, nullptr);
    SetControlText(EditOf(dialog, Edit::Name), L"Новое");
    PressButton(dialog, L"Сохранить");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(file); }, 5s)) << "Сохранить wrote nothing";
    const auto during = ReadSavedItems(file);
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0].caption, Cp1251(L"Старое"));
    EXPECT_NE(SavedSetting(L"Width"), L"<missing>") << "the settings are saved too";
    EXPECT_TRUE(IsWindowVisible(dialog));
    ASSERT_TRUE(PressAndClose(dialog, L"Отмена"));
    const auto after = CloseAndReadItems();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].caption, Cp1251(L"Старое"));
}

TEST_F(ItemDialog, BrowsedFileInAFolderWithASpaceIsQuotedAndStillStarts) {
    const std::wstring folder = scratch_->SubFolder(L"папка с пробелом");
    const std::wstring probe = JoinPath(folder, L"probe.exe");
    ASSERT_TRUE(CopyFileW(scratch_->AddProbe().c_str(), probe.c_str(), FALSE));
    ASSERT_TRUE(WriteItems({Record("Проба", "C:\\nothing.exe", RGB(0, 120, 120))}));
    ASSERT_NE(StartPanel(), nullptr);

    HWND dialog = OpenDialog(0, MainMenuEntry::Properties);
    ASSERT_NE(dialog, nullptr);
    HWND fileEdit = EditOf(dialog, Edit::FileName);
    HWND browse = FindChild(dialog, L"Button", L"...", 0);
    ASSERT_NE(browse, nullptr);
    PressButton(browse);
    ASSERT_TRUE(AnswerOpenFileDialog(Pid(), probe));
    ASSERT_TRUE(WaitUntil([&] { return ControlText(fileEdit).find(L"probe.exe") != std::wstring::npos; }, 5s));
    const std::wstring shown = ControlText(fileEdit);
    EXPECT_EQ(shown.front(), L'"');
    EXPECT_EQ(shown.back(), L'"');
    EXPECT_TRUE(SamePath(shown.substr(1, shown.size() - 2), probe)) << Narrow(shown);
    ASSERT_TRUE(PressAndClose(dialog, L"ОК"));

    BringIn(window_);
    ClickOn(window_, ItemCentre(window_, 0));
    EXPECT_FALSE(WaitForProbeRecords(folder).empty()) << "the quoted file name did not start";
    EXPECT_FALSE(FindMessageBox(Pid())) << "an error box for the quoted name";

    const auto saved = CloseAndReadItems();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].fileName, Cp1251(shown)) << "the quotes are stored as shown";
}

}  // namespace
}  // namespace e2e
