// Two faults of the dialogs, each driven through the real program: the item
// dialog's preview carries the item's hint as its tooltip as soon as the
// dialog opens (not only once the hint is edited), and the icon picker's
// browse button refuses a file name that code page 1251 cannot hold, with
// the message the item dialog's browse buttons give, instead of loading
// nothing silently.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "e2e_harness.h"
#include "screen_capture.h"
#include "shorts_file_builder.h"

namespace e2e {
namespace {

class DialogOnItem : public PanelTest {
protected:
    // Starts the panel on one item with `hint` and opens its "Свойства...".
    void OpenItemDialog(const std::string& hint) {
        ShortRecord item{.fileName = "C:\\item.exe", .caption = "Элемент", .hint = hint,
                         .trackDrives = true, .image = FramedIconBmp(RGB(255, 0, 255), RGB(0, 90, 0))};
        ASSERT_NE(StartPanel({.items = std::vector<ShortRecord>{item}}), nullptr);
        ASSERT_TRUE(ChooseFromContextMenu(*panel_, window_, Centre(ItemButtonRect(window_, 0)),
                                          MainMenuEntry::Properties));
        dialog_ = WaitForTopWindow(panel_->Pid(), L"TMainDialog");
        ASSERT_NE(dialog_, nullptr) << "no item dialog";
    }

    HWND VisibleTooltip() const { return FindTopWindow(panel_->Pid(), L"tooltips_class32"); }

    HWND dialog_ = nullptr;
};

class ItemDialogPreviewHint : public DialogOnItem {};

// The hint goes into the multi-line edit by its text alone, which tells the
// dialog nothing: the preview must still show it before anything is typed.
TEST_F(ItemDialogPreviewHint, HoveringThePreviewRightAfterOpeningShowsTheItemsHint) {
    OpenItemDialog("Первая строка\r\nвторая строка");
    if (HasFatalFailure()) return;
    HWND preview = FindChild(dialog_, L"TImage");
    ASSERT_NE(preview, nullptr) << "no preview in the item dialog";
    HWND hint = FindChild(dialog_, L"Edit", {}, 1);
    ASSERT_EQ(ControlText(hint), L"Первая строка\r\nвторая строка");

    // From a spot of the dialog without a tooltip (beside the check box)
    // onto the preview, with no tooltip showing in between.
    const POINT away = ClientToScreenPoint(dialog_, 300, 240);
    MoveWithInput(away.x, away.y);
    ASSERT_TRUE(WaitUntil([&] { return VisibleTooltip() == nullptr; }, 5s)) << "a tooltip stays up";
    const POINT centre = Centre(WindowRect(preview));
    HWND tip = RestPointerUntil(centre, [&] { return VisibleTooltip(); });
    SaveScreenshotPng(CurrentTestName());
    ASSERT_NE(tip, nullptr) << "no tooltip over the preview of an item with a hint";
    EXPECT_EQ(WindowText(tip), L"Первая строка\r\nвторая строка");
    MoveWithInput(away.x, away.y);

    PressButton(FindChild(dialog_, L"Button", L"Отмена"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog_); }, 5s));
}

class IconPickerBrowse : public DialogOnItem {
protected:
    void OpenPicker() {
        OpenItemDialog("Элемент");
        if (HasFatalFailure()) return;
        PressButton(FindChild(dialog_, L"Button", L"Выбрать..."));
        picker_ = WaitForTopWindow(panel_->Pid(), L"TFormSelector");
        ASSERT_NE(picker_, nullptr) << "no picker";
        list_ = FindChild(picker_, L"SysListView32");
        edit_ = FindChild(picker_, L"Edit");
        browse_ = FindChild(picker_, L"Button", L"...");
        ASSERT_TRUE(list_ && edit_ && browse_) << "the picker lacks its list, edit or browse button";
    }

    // Chooses `file` through the picker's browse button.
    void Browse(const std::wstring& file) {
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(browse_) != FALSE; }, 10s)) << "the picker stays busy";
        PressButton(browse_);
        ASSERT_TRUE(AnswerOpenFileDialog(panel_->Pid(), file)) << "no browse dialog to answer";
    }

    HWND picker_ = nullptr, list_ = nullptr, edit_ = nullptr, browse_ = nullptr;
};

TEST_F(IconPickerBrowse, ANameOutsideCodePage1251LoadsItsIconsLikeAnyOther) {
    // The program's own copy holds one icon: the list then shows "Новый" and "0".
    const std::wstring greek = scratch_->File(L"значки-Ωμέγα.exe");
    ASSERT_TRUE(CopyFileW(scratch_->ExePath().c_str(), greek.c_str(), FALSE));
    OpenPicker();
    if (HasFatalFailure()) return;

    Browse(greek);
    if (HasFatalFailure()) return;
    const std::vector<std::wstring> loaded{L"Новый", L"0"};
    EXPECT_TRUE(WaitUntil([&] { return ListViewTexts(list_) == loaded && IsWindowEnabled(browse_); }, 10s))
        << "the icons of a name outside code page 1251 did not load";
    EXPECT_TRUE(SamePath(ControlText(edit_), greek)) << Narrow(ControlText(edit_));
    EXPECT_FALSE(FindMessageBox(panel_->Pid()));
    SaveScreenshotPng(CurrentTestName());
    PostMessageW(picker_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(picker_) || !IsWindowVisible(picker_); }, 5s));
    PressButton(FindChild(dialog_, L"Button", L"Отмена"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog_); }, 5s));
}

}  // namespace
}  // namespace e2e
