// The icon picker in this process: the real window runs its modal loop on a
// thread of its own (as inside the item dialog) and is driven from the test
// thread through its controls, real clicks and its message boxes.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <thread>

#include "common/byte_stream.h"
#include "dialogs/icon_choice_rule.h"
#include "dialogs/icon_collection.h"
#include "dialogs/mainselform.h"
#include "e2e_harness.h"
#include "dialog_run.h"
#include "platform/application.h"
#include "platform/dib.h"
#include "platform/file_icons.h"

namespace e2e {
namespace {

using tilerack::IconChoice;
using tilerack::IconChoiceAction;
using tilerack::IconChoiceActionFor;

constexpr int kRadioButton1 = 101, kRadioButton2 = 102, kFilenameEdit1 = 103, kListView1 = 106;
const std::wstring kShell32 = L"C:\\windows\\system32\\shell32.dll";

struct Entry {
    std::wstring caption;
    int image;
    bool operator==(const Entry&) const = default;
};

std::vector<Entry> Entries(HWND list) {
    std::vector<Entry> entries;
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = 64;
        ListView_GetItem(list, &item);
        entries.push_back({text, item.iImage});
    }
    return entries;
}

std::vector<Entry> ExpectedEntries(int images) {
    std::vector<Entry> entries{{L"Новый", images > 0 ? images - 1 : 0}};
    for (int k = 0; k + 1 < images; ++k) entries.push_back({std::to_wstring(k), k});
    return entries;
}

// One picker, shown modally on its own thread until it closes.
class PickerRun {
public:
    explicit PickerRun(std::wstring collectionFile = {})
        : run_(L"TFormSelector", [this, file = std::move(collectionFile)](FakePanelHost& panel) {
              choice_ = file.empty() ? tilerack::ChooseIcon(panel, nullptr) : tilerack::ChooseIcon(panel, nullptr, file);
          }) {}

    HWND Window() const { return run_.Window(); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }
    HWND List() const { return Control(kListView1); }
    HIMAGELIST ShownList() const { return ListView_GetImageList(List(), LVSIL_NORMAL); }
    // No load or rebuild is under way (they disable the mode buttons).
    bool Idle() const { return IsWindowEnabled(Control(kRadioButton2)) != FALSE; }
    void Click(int id) const { PostMessageW(Control(id), BM_CLICK, 0, 0); }

    // Double-clicks entry `index` with real input.
    void DoubleClickEntry(int index) const {
        SetForegroundWindow(Window());
        RECT icon{};
        icon.left = LVIR_ICON;
        SendMessageW(List(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&icon));
        const POINT at = ClientToScreenPoint(List(), (icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
        ClickAt(at.x, at.y);
        ClickAt(at.x, at.y);
    }
    bool WaitClosed() const { return WaitUntil([&] { return run_.Done(); }); }
    const IconChoice& Choice() const { return choice_; }

private:
    IconChoice choice_;  // made before the dialog's thread writes it
    DialogRun run_;
};

// Picture `index` of a collection file, as stored.
TBitmap CollectionPicture(const std::wstring& path, int index) {
    const auto bytes = ReadWholeFile(path);
    TBitmap found;
    if (!bytes) return found;
    tilerack::ByteReader in(*bytes);
    tilerack::ReadIconCollection(in, [&](const TBitmap& picture, int i) {
        if (i == index) found = picture;
    });
    return found;
}

int32_t CollectionCount(const std::wstring& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes || bytes->size() < 4) return -1;
    tilerack::ByteReader in(*bytes);
    return in.I32();
}

std::wstring ShippedCollection() { return tilerack::win::ExeFolder() + L"icons.dat"; }

class IconPicker : public PanelTest {};

TEST_F(IconPicker, FreshPickerShowsOnlyNewAndItsChoiceAsksForANewGlyph) {
    PickerRun picker;
    ASSERT_TRUE(picker.Window()) << "the picker did not open";
    EXPECT_EQ(WindowText(picker.Window()), L"Выберите иконку");
    const RECT client = ClientRect(picker.Window());
    EXPECT_EQ(client.right, 541);
    EXPECT_EQ(client.bottom, 338);
    // The list view fills the client area below the source choice.
    const RECT list = WindowRect(picker.List());
    const POINT listTopLeft = ClientToScreenPoint(picker.Window(), 0, 40);
    EXPECT_EQ(list.left, listTopLeft.x);
    EXPECT_EQ(list.top, listTopLeft.y);
    EXPECT_EQ(list.right - list.left, 541);
    EXPECT_EQ(IsDlgButtonChecked(picker.Window(), kRadioButton2), BST_CHECKED);
    EXPECT_EQ(Entries(picker.List()), ExpectedEntries(1));
    EXPECT_EQ(ImageList_GetImageCount(picker.ShownList()), 1);
    EXPECT_TRUE(SaveScreenshotPng(CurrentTestName()));

    picker.DoubleClickEntry(0);
    ASSERT_TRUE(picker.WaitClosed()) << "a double-click on \"Новый\" did not close the picker";
    EXPECT_EQ(picker.Choice().tag, 0);
    EXPECT_EQ(picker.Choice().imageCount, 1);
    EXPECT_EQ(IconChoiceActionFor(picker.Choice().tag, picker.Choice().imageCount), IconChoiceAction::NewGlyph);
}

TEST_F(IconPicker, ClosingWithoutAChoiceLeavesTagUnset) {
    PickerRun picker;
    ASSERT_TRUE(picker.Window());
    PostMessageW(picker.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(picker.WaitClosed());
    EXPECT_EQ(picker.Choice().tag, -1);
    EXPECT_EQ(IconChoiceActionFor(picker.Choice().tag, picker.Choice().imageCount), IconChoiceAction::Unchanged);
}

TEST_F(IconPicker, ShippedCollectionShowsOneEntryPerPictureAndGivesTheChosenOne) {
    const std::wstring shipped = ShippedCollection();
    const int32_t count = CollectionCount(shipped);
    ASSERT_GE(count, 150) << "icons.dat beside the test program: " << Narrow(shipped);
    PickerRun picker;  // the collection beside the executable
    ASSERT_TRUE(picker.Window());
    HIMAGELIST fileList = picker.ShownList();
    picker.Click(kRadioButton1);
    ASSERT_TRUE(WaitUntil([&] { return picker.ShownList() != fileList && picker.Idle(); }, 30s));
    EXPECT_FALSE(IsWindowEnabled(picker.Control(kFilenameEdit1)));
    EXPECT_EQ(ImageList_GetImageCount(picker.ShownList()), count);
    EXPECT_EQ(Entries(picker.List()), ExpectedEntries(count));
    EXPECT_TRUE(SaveScreenshotPng(CurrentTestName()));

    constexpr int kChosen = 5;
    picker.DoubleClickEntry(kChosen + 1);  // entry "5" follows "Новый"
    ASSERT_TRUE(picker.WaitClosed());
    EXPECT_EQ(picker.Choice().tag, kChosen);
    EXPECT_EQ(picker.Choice().imageCount, count);
    EXPECT_EQ(IconChoiceActionFor(picker.Choice().tag, picker.Choice().imageCount), IconChoiceAction::UsePicture);
    // Collection pictures are opaque: the chosen one is the stored one.
    const TBitmap expected = CollectionPicture(shipped, kChosen);
    ASSERT_EQ(picker.Choice().chosen.Width(), 32);
    ASSERT_EQ(picker.Choice().chosen.Height(), 32);
    EXPECT_TRUE(picker.Choice().chosen.SamePixels(expected));
}

TEST_F(IconPicker, MissingCollectionIsReportedOnceAndShowsAGlyph) {
    PickerRun picker(scratch_->File(L"icons.dat"));  // not there
    ASSERT_TRUE(picker.Window());
    const DWORD pid = GetCurrentProcessId();
    HIMAGELIST fileList = picker.ShownList();
    picker.Click(kRadioButton1);
    const auto box = WaitForMessageBox(pid);
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(box->caption, kAppTitle);
    EXPECT_EQ(box->text, L"Не найден файл иконок icons.dat");
    EXPECT_TRUE(SaveScreenshotPng(CurrentTestName()));
    DismissMessageBox(box->window);
    ASSERT_TRUE(WaitUntil([&] { return picker.ShownList() != fileList && picker.Idle(); }));
    HIMAGELIST collection = picker.ShownList();
    EXPECT_EQ(Entries(picker.List()), ExpectedEntries(1));

    // Back to the file and to the collection again: no second message.
    picker.Click(kRadioButton2);
    ASSERT_TRUE(WaitUntil([&] { return picker.ShownList() == fileList && picker.Idle(); }));
    picker.Click(kRadioButton1);
    ASSERT_TRUE(WaitUntil([&] { return picker.ShownList() == collection && picker.Idle(); }))
        << "the second switch did not finish (a message box open?)";
    EXPECT_FALSE(FindMessageBox(pid).has_value());
    EXPECT_EQ(Entries(picker.List()), ExpectedEntries(1));
}

TEST_F(IconPicker, DamagedCollectionKeepsThePicturesBeforeTheDamage) {
    // Three pictures of the shipped file, then one that is not a bitmap.
    const auto shipped = ReadWholeFile(ShippedCollection());
    ASSERT_TRUE(shipped && shipped->size() > 4 + 3 * 3126);
    Bytes damaged(4 + 4 * 3126, 0x58);
    damaged[0] = 5;  // the count, little-endian
    damaged[1] = damaged[2] = damaged[3] = 0;
    std::copy(shipped->begin() + 4, shipped->begin() + 4 + 3 * 3126, damaged.begin() + 4);
    const std::wstring path = scratch_->File(L"damaged.dat");
    ASSERT_TRUE(WriteFileBytes(path, damaged));

    PickerRun picker(path);
    ASSERT_TRUE(picker.Window());
    const DWORD pid = GetCurrentProcessId();
    HIMAGELIST fileList = picker.ShownList();
    picker.Click(kRadioButton1);
    const auto box = WaitForMessageBox(pid);
    ASSERT_TRUE(box) << "no error shown";
    EXPECT_EQ(box->text, L"Bitmap image is not valid");
    DismissMessageBox(box->window);
    ASSERT_TRUE(WaitUntil([&] { return picker.Idle(); }));
    // The list keeps showing the file's entries; the edit stays disabled.
    EXPECT_EQ(picker.ShownList(), fileList);
    EXPECT_EQ(Entries(picker.List()), ExpectedEntries(1));
    EXPECT_FALSE(IsWindowEnabled(picker.Control(kFilenameEdit1)));

    // The three pictures read stay: the next switch shows them without reading again.
    picker.Click(kRadioButton2);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(picker.Control(kFilenameEdit1)) && picker.Idle(); }));
    picker.Click(kRadioButton1);
    ASSERT_TRUE(WaitUntil([&] { return picker.ShownList() != fileList && picker.Idle(); }));
    EXPECT_FALSE(FindMessageBox(pid).has_value());
    EXPECT_EQ(Entries(picker.List()), ExpectedEntries(3));
}

TEST_F(IconPicker, LibraryShowsItsIconsAndATrailingGlyph) {
    const int icons = static_cast<int>(
        reinterpret_cast<intptr_t>(ExtractIconW(GetModuleHandleW(nullptr), kShell32.c_str(), UINT_MAX)));
    ASSERT_GE(icons, 2) << "shell32.dll of the prefix holds no icons";
    PickerRun picker;
    ASSERT_TRUE(picker.Window());
    // A quoted name with a parameter: the edit's file name is the quoted part,
    // and a text naming an existing file loads at once.
    const std::wstring text = L"\"" + kShell32 + L"\" -x";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(picker.Control(kFilenameEdit1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_NORMAL, 30000, &ignored);
    ASSERT_TRUE(WaitUntil([&] { return ImageList_GetImageCount(picker.ShownList()) == icons + 1 && picker.Idle(); },
                          30s));
    EXPECT_EQ(Entries(picker.List()), ExpectedEntries(icons + 1));
    EXPECT_TRUE(SaveScreenshotPng(CurrentTestName()));

    picker.DoubleClickEntry(1);  // "0", the library's first icon
    ASSERT_TRUE(picker.WaitClosed());
    EXPECT_EQ(picker.Choice().tag, 0);
    EXPECT_EQ(picker.Choice().imageCount, icons + 1);
    // The icon on white: its background (the panel colour, keyed out) is
    // white, and the icon itself shows.
    const TBitmap& chosen = picker.Choice().chosen;
    ASSERT_EQ(chosen.Width(), 32);
    int white = 0, panelColour = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const COLORREF c = chosen.Pixel(x, y);
            white += c == RGB(255, 255, 255);
            panelColour += c == kPanelDefaultColour;
        }
    EXPECT_EQ(Hex(chosen.Pixel(0, 0)), Hex(RGB(255, 255, 255)));
    EXPECT_EQ(panelColour, 0);
    EXPECT_LT(white, 32 * 32 - 50) << "no icon drawn";
}

TEST_F(IconPicker, DoubleClickBesideTheEntriesKeepsThePickerOpen) {
    PickerRun picker;
    ASSERT_TRUE(picker.Window());
    SetForegroundWindow(picker.Window());
    const RECT list = WindowRect(picker.List());
    ClickAt(list.right - 40, list.bottom - 40);
    ClickAt(list.right - 40, list.bottom - 40);
    // The picker still answers and is open; closing it then gives no choice.
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(picker.Window()); }, 1500ms));
    PostMessageW(picker.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(picker.WaitClosed());
    EXPECT_EQ(picker.Choice().tag, -1);
}

}  // namespace
}  // namespace e2e
