// The icon picker opened from the item dialog's "Выбрать..." button of the
// real program: the dialog waits disabled under another title, the chosen
// picture reaches the preview and the item, "Новый" gives a fresh glyph.
#include <windows.h>

#include <commctrl.h>

#include "common/byte_stream.h"
#include "dialog_driver.h"
#include "dialogs/icon_collection.h"

namespace e2e {
namespace {

const std::wstring kPickerClass = L"TFormSelector";

std::wstring ShippedCollection() {
    const std::wstring exe = GetConfig().tilerackExe;
    return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"icons.dat";
}

// The picture an item file holds and one of the collection, pixel for pixel.
bool SamePixels(const StoredPicture& stored, const tilerack::TBitmap& picture) {
    if (stored.width != picture.Width() || stored.height != picture.Height()) return false;
    for (int y = 0; y < stored.height; ++y)
        for (int x = 0; x < stored.width; ++x)
            if (stored.Pixel(x, y) != picture.Pixel(x, y)) return false;
    return true;
}

std::vector<tilerack::TBitmap> CollectionPictures(const Bytes& file) {
    std::vector<tilerack::TBitmap> pictures;
    tilerack::ByteReader in(file);
    tilerack::ReadIconCollection(in, [&](const tilerack::TBitmap& p, int) { pictures.push_back(p); });
    return pictures;
}

class PickerFromItemDialog : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        const auto shipped = ReadWholeFile(ShippedCollection());
        ASSERT_TRUE(shipped.has_value()) << "no icons.dat beside the program under test";
        collection_ = *shipped;
        ShortRecord item{.fileName = "C:\\item.exe", .caption = "Элемент", .hint = "Элемент",
                         .trackDrives = true, .image = FramedIconBmp(RGB(255, 0, 255), RGB(0, 90, 0))};
        ASSERT_TRUE(WriteItems({item}));
    }

    // Starts the panel and opens the item dialog and then the picker.
    void OpenPicker(bool withCollection) {
        if (withCollection) {
            ASSERT_TRUE(WriteFileBytes(scratch_->File(L"icons.dat"), collection_));
        }
        ASSERT_NE(StartPanel(), nullptr);
        dialog_ = OpenDialogFromPanel(*panel_, window_, Centre(ItemButtonRect(window_, 0)), MainMenuEntry::Properties,
                                      L"TMainDialog");
        ASSERT_NE(dialog_, nullptr) << "no item dialog";
        dialogTitle_ = WindowText(dialog_);
        PressButton(dialog_, L"Выбрать...");
        picker_ = WaitForTopWindow(panel_->Pid(), kPickerClass);
        ASSERT_NE(picker_, nullptr) << "no picker";
        list_ = FindChild(picker_, L"SysListView32");
        ASSERT_NE(list_, nullptr);
    }

    // Double-clicks the entry with `caption` and waits for the picker to close.
    void ChooseEntry(const std::wstring& caption) {
        std::vector<std::wstring> texts;
        ASSERT_TRUE(WaitUntil([&] {
            texts = ListViewTexts(list_);
            return std::find(texts.begin(), texts.end(), caption) != texts.end();
        }, 10s)) << "no entry " << Narrow(caption);
        const int index = static_cast<int>(std::find(texts.begin(), texts.end(), caption) - texts.begin());
        const RECT r = ClientRectOnScreen(list_, ListViewItemRect(list_, index));
        ASSERT_TRUE(DoubleClickOn(list_, Centre(r)));
        ASSERT_TRUE(WaitUntilGone(picker_))
            << "the picker stayed open after a double-click on " << Narrow(caption);
    }

    void ExpectDialogBack() {
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog_) != FALSE; }, 5s)) << "the dialog stayed disabled";
        EXPECT_EQ(WindowText(dialog_), dialogTitle_);
    }

    std::optional<ShortRecord> ConfirmAndReadItem() {
        PressButton(dialog_, L"ОК");
        EXPECT_TRUE(WaitUntilGone(dialog_));
        auto items = CloseAndReadItems();
        if (items.empty()) return std::nullopt;
        return items.front();
    }

    Bytes collection_;
    HWND dialog_ = nullptr, picker_ = nullptr, list_ = nullptr;
    std::wstring dialogTitle_;
};

TEST_F(PickerFromItemDialog, WhileOpenTheDialogIsDisabledAndRetitledAndClosingItChangesNothing) {
    OpenPicker(/*withCollection=*/true);
    if (HasFatalFailure()) return;
    EXPECT_EQ(WindowText(picker_), L"Выберите иконку");
    EXPECT_EQ(WindowText(dialog_), L"Выбор иконки...");
    EXPECT_FALSE(IsWindowEnabled(dialog_));
    EXPECT_EQ(ListViewTexts(list_), std::vector<std::wstring>{L"Новый"}) << "a fresh picker shows one entry";
    SaveScreenshotPng(CurrentTestName());
    PostMessageW(picker_, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    ASSERT_TRUE(WaitUntilGone(picker_));
    ExpectDialogBack();
    EXPECT_FALSE(IsWindowVisible(FindChild(dialog_, L"Button", L"случайная")));
    const auto item = ConfirmAndReadItem();
    ASSERT_TRUE(item);
    EXPECT_EQ(PictureOf(item->image).Pixel(16, 16), tilerack::Rgb(0, 90, 0)) << "the picture changed without a choice";
}

TEST_F(PickerFromItemDialog, ACollectionPictureDoubleClickedBecomesTheItemsPicture) {
    OpenPicker(/*withCollection=*/true);
    if (HasFatalFailure()) return;
    const auto pictures = CollectionPictures(collection_);
    ASSERT_GE(pictures.size(), 150u);
    PressButton(picker_, L"Выбор из коллекции");
    ASSERT_TRUE(WaitUntil([&] { return ListViewTexts(list_).size() == pictures.size(); }, 20s))
        << "collection mode shows " << ListViewTexts(list_).size() << " entries for " << pictures.size()
        << " pictures";
    const auto texts = ListViewTexts(list_);
    EXPECT_EQ(texts.front(), L"Новый");
    EXPECT_EQ(texts[1], L"0");
    EXPECT_EQ(texts.back(), std::to_wstring(pictures.size() - 2));
    SaveScreenshotPng(CurrentTestName());
    ChooseEntry(L"3");
    ExpectDialogBack();
    EXPECT_FALSE(IsWindowVisible(FindChild(dialog_, L"Button", L"случайная"))) << "a chosen picture ends random mode";
    const auto item = ConfirmAndReadItem();
    ASSERT_TRUE(item);
    ASSERT_EQ(PictureOf(item->image).width, 32);
    ASSERT_EQ(PictureOf(item->image).height, 32);
    EXPECT_TRUE(SamePixels(PictureOf(item->image), pictures[3])) << "the item's picture is not collection picture 3";
}

TEST_F(PickerFromItemDialog, NewEntryGivesAFreshGlyphAndRandomMode) {
    OpenPicker(/*withCollection=*/false);
    if (HasFatalFailure()) return;
    ChooseEntry(L"Новый");
    ExpectDialogBack();
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(FindChild(dialog_, L"Button", L"случайная")) != FALSE; }, 3s))
        << "\"Новый\" must turn random mode on";
    const auto item = ConfirmAndReadItem();
    ASSERT_TRUE(item);
    ASSERT_EQ(PictureOf(item->image).width, 32);
    EXPECT_NE(PictureOf(item->image).Pixel(16, 16), tilerack::Rgb(0, 90, 0)) << "no new glyph";
}

TEST_F(PickerFromItemDialog, WithoutACollectionTheMessageShowsOnce) {
    OpenPicker(/*withCollection=*/false);
    if (HasFatalFailure()) return;
    HWND collection = FindChild(picker_, L"Button", L"Выбор из коллекции");
    HWND file = FindChild(picker_, L"Button", L"Выбор из файла");
    int messages = 0;
    for (int round = 0; round < 2; ++round) {
        PressButton(collection);
        if (const auto box = WaitForMessageBox(Pid(), round == 0 ? 5s : 2s)) {
            ++messages;
            EXPECT_EQ(box->text, L"Не найден файл иконок icons.dat");
            AnswerMessageBox(Pid(), box->window);
        }
        EXPECT_TRUE(WaitUntil([&] { return ListViewTexts(list_) == std::vector<std::wstring>{L"Новый"}; }, 5s));
        PressButton(file);
        WaitUntil([&] { return IsWindowEnabled(FindChild(picker_, L"Edit")) != FALSE; }, 3s);
    }
    EXPECT_EQ(messages, 1);
    PostMessageW(picker_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntilGone(picker_));
    ExpectDialogBack();
    PressButton(dialog_, L"Отмена");
}

}  // namespace
}  // namespace e2e
