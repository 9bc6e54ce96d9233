// The icon picker window (TFormSelector).
#include "dialogs/mainselform.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "common/app_texts.h"
#include "common/byte_stream.h"
#include "common/errors.h"
#include "dialogs/icon_collection.h"
#include "dialogs/icon_picker_rules.h"
#include "dialogs/path_quoting.h"
#include "dialogs/picker_image_list_win.h"
#include "items/glyph_text_win.h"
#include "platform/application.h"
#include "platform/common_dialogs.h"
#include "platform/dialog_window.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace tilerack {

namespace {

enum ControlId : int {
    kRadioButton1 = 101,
    kRadioButton2,
    kFilenameEdit1,
    kBrowseButton,
    kButton1,
    kListView1,
};

// The form's client area at 96 DPI (its outer size is 549 x 365).
constexpr int kClientWidth = 541, kClientHeight = 338;
constexpr int kListTop = 40;
constexpr int kEditLeft = 127, kEditTop = 18, kEditHeight = 21, kEditRightMargin = kClientWidth - 481;
constexpr int kBrowseWidth = 21;
constexpr int kButton1Width = 58, kButton1RightMargin = kClientWidth - 538;

// Runs the window messages that are waiting, as the modal loop would.
void LetPendingMessagesRun(HWND dialog) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the loops outside
            return;
        }
        if (!dialog || !IsWindow(dialog) || !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

class TFormSelector : public win::DialogWindow {
public:
    TFormSelector(IPanelHost& panel, std::wstring collectionFile)
        : panel_(panel), collectionFile_(std::move(collectionFile)) {}
    ~TFormSelector() override {
        FormDestroy();
        // The list view goes before the image lists it shows.
        DestroyWindowNow();
    }

    void FormCreate(HWND owner);
    int ShownImageCount() const { return shown_ ? shown_->Count() : 0; }

    int Tag = -1;
    TBitmap ChosenBitmap;

protected:
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(NMHDR* header) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // The pictures at the new size; the places follow the frame's new size.
    void OnScaleChanged() override;

private:
    // The screen cursor while set (the hourglass or the application-starting
    // cursor); the previous one comes back when the scope ends.
    class CursorScope {
    public:
        CursorScope(TFormSelector& form, const wchar_t* cursor) : form_(form), previous_(form.screenCursor_) {
            form_.screenCursor_ = LoadCursorW(nullptr, cursor);
            SetCursor(form_.screenCursor_);
        }
        ~CursorScope() {
            form_.screenCursor_ = previous_;
            SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW));
        }
        CursorScope(const CursorScope&) = delete;
        CursorScope& operator=(const CursorScope&) = delete;

    private:
        TFormSelector& form_;
        HCURSOR previous_;
    };

    // While a load or a rebuild lets messages run, the controls that start
    // another one are disabled and a double-click chooses nothing; they come
    // back as they were.
    class LoadingScope {
    public:
        explicit LoadingScope(TFormSelector& form) : form_(form), focus_(GetFocus()) {
            ++form_.loading_;
            for (int id : {kRadioButton1, kRadioButton2, kFilenameEdit1, kBrowseButton, kButton1}) {
                HWND control = form_.Item(id);
                saved_.push_back({control, IsWindowEnabled(control) != FALSE});
                EnableWindow(control, FALSE);
            }
        }
        ~LoadingScope() {
            for (const auto& [control, enabled] : saved_) EnableWindow(control, enabled);
            --form_.loading_;
            if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_) && GetParent(focus_) == form_.Handle())
                SetFocus(focus_);
        }
        LoadingScope(const LoadingScope&) = delete;
        LoadingScope& operator=(const LoadingScope&) = delete;

    private:
        TFormSelector& form_;
        HWND focus_;
        std::vector<std::pair<HWND, bool>> saved_;
    };

    // Repainting of the list view is off while the scope lasts.
    class RedrawOff {
    public:
        explicit RedrawOff(HWND window) : window_(window) { SendMessageW(window_, WM_SETREDRAW, FALSE, 0); }
        ~RedrawOff() {
            SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(window_, nullptr, TRUE);
        }
        RedrawOff(const RedrawOff&) = delete;
        RedrawOff& operator=(const RedrawOff&) = delete;

    private:
        HWND window_;
    };

    void ShowList(PickerImageList& list);
    void FillList();
    void RadioButton1Click();
    void RadioButton2Click();
    void Button1Click();
    void FilenameEdit1Change();
    void BrowseClick();
    void ListView1DblClick(int item);
    void FormDestroy();

    void LoadCollection();
    std::string EditFileNameNow() const;
    void LayOut(int clientWidth, int clientHeight);

    IPanelHost& panel_;
    std::wstring collectionFile_;
    HWND ListView1 = nullptr;
    // Made in FormCreate, at the display's scale.
    std::optional<PickerImageList> ImageList1, ImageList2;
    PickerImageList* shown_ = nullptr;
    HCURSOR screenCursor_ = nullptr;
    int loading_ = 0;
    bool collectionMode_ = false;
    bool destroyed_ = false;
};

void TFormSelector::FormCreate(HWND owner) {
    // The form can be resized: the list view follows all four sides.
    CreateDialogFrame(L"TFormSelector", kIconPickerTitle, kClientWidth, kClientHeight, owner, WS_THICKFRAME);

    AddControl(L"BUTTON", kIconPickerFromCollection, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, {1, 1, 129, 17},
               kRadioButton1);
    AddControl(L"BUTTON", kIconPickerFromFile, BS_AUTORADIOBUTTON, {1, 19, 113, 17}, kRadioButton2);
    AddControl(L"EDIT", "", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL,
               {kEditLeft, kEditTop, 354 - kBrowseWidth, kEditHeight}, kFilenameEdit1, WS_EX_CLIENTEDGE);
    AddButton(kIconPickerBrowse, {kEditLeft + 354 - kBrowseWidth, kEditTop, kBrowseWidth, kEditHeight}, kBrowseButton);
    AddButton(kIconPickerLoad, {480, 17, kButton1Width, 21}, kButton1);
    // Its text is never drawn: a screen reader announces the list by it.
    ListView1 = AddControl(WC_LISTVIEWW, kIconPickerListName,
                           WS_TABSTOP | WS_GROUP | LVS_ICON | LVS_AUTOARRANGE | LVS_SINGLESEL | LVS_SHAREIMAGELISTS,
                           {0, kListTop, kClientWidth, kClientHeight - kListTop}, kListView1, WS_EX_CLIENTEDGE);
    SetTooltip(Item(kBrowseButton), kIconPickerBrowseHint);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ListView_SetBkColor(ListView1, face);
    ListView_SetTextBkColor(ListView1, face);
    CheckRadioButton(hwnd_, kRadioButton1, kRadioButton2, kRadioButton2);

    ImageList1.emplace(Scale(kPickerIconSize));
    ImageList2.emplace(Scale(kPickerIconSize));

    Tag = -1;
    ShowList(*ImageList2);
    FillList();
    ChosenBitmap = TBitmap();
}

void TFormSelector::LayOut(int clientWidth, int clientHeight) {
    if (!ListView1) return;
    const int editLeft = Scale(kEditLeft), editTop = Scale(kEditTop), editHeight = Scale(kEditHeight);
    const int editRight = clientWidth - Scale(kEditRightMargin);
    const int browseWidth = Scale(kBrowseWidth);
    const int button1Left = clientWidth - Scale(kButton1RightMargin) - Scale(kButton1Width);
    const int listTop = Scale(kListTop);
    HDWP positions = BeginDeferWindowPos(4);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    positions = DeferWindowPos(positions, Item(kFilenameEdit1), nullptr, editLeft, editTop,
                               std::max(0, editRight - browseWidth - editLeft), editHeight, flags);
    positions = DeferWindowPos(positions, Item(kBrowseButton), nullptr, std::max(editLeft, editRight - browseWidth),
                               editTop, browseWidth, editHeight, flags);
    positions = DeferWindowPos(positions, Item(kButton1), nullptr, button1Left, Scale(17), Scale(kButton1Width),
                               Scale(21), flags);
    positions = DeferWindowPos(positions, ListView1, nullptr, 0, listTop, clientWidth,
                               std::max(0, clientHeight - listTop), flags);
    EndDeferWindowPos(positions);
}

void TFormSelector::OnScaleChanged() {
    if (!ImageList1 || !ImageList2) return;
    // The list view lets go of the shown list before it is made again.
    ListView_SetImageList(ListView1, nullptr, LVSIL_NORMAL);
    ImageList1->Resize(Scale(kPickerIconSize));
    ImageList2->Resize(Scale(kPickerIconSize));
    if (shown_) ShowList(*shown_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    LayOut(client.right, client.bottom);
}

void TFormSelector::ShowList(PickerImageList& list) {
    shown_ = &list;
    ListView_SetImageList(ListView1, list.Handle(), LVSIL_NORMAL);
}

void TFormSelector::FillList() {
    LoadingScope loading(*this);
    CursorScope cursor(*this, IDC_APPSTARTING);
    RedrawOff redraw(ListView1);
    ListView_DeleteAllItems(ListView1);
    if (shown_->Count() == 0) {
        // An empty list shows a new glyph under "Новый".
        TBitmap glyph;
        DrawRandomGlyph(kPickerIconSize, kPickerIconSize, glyph);
        shown_->Add(glyph, glyph.Pixel(0, 0));
    }
    const std::vector<PickerEntry> entries = PickerEntries(shown_->Count());
    ListView_SetItemCount(ListView1, static_cast<int>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        // Numbered entries count from the one after "Новый".
        if (i > 0 && LetMessagesRunBefore(static_cast<int>(i) - 1)) LetPendingMessagesRun(hwnd_);
        std::wstring caption = win::Widen(entries[i].caption);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = caption.data();
        item.iImage = entries[i].imageIndex;
        ListView_InsertItem(ListView1, &item);
    }
}

void TFormSelector::RadioButton1Click() {
    EnableWindow(Item(kFilenameEdit1), FALSE);
    EnableWindow(Item(kBrowseButton), FALSE);
    EnableWindow(Item(kButton1), FALSE);
    LoadingScope loading(*this);
    // The collection is read at most once per picker (again only when an
    // error came before its first picture).
    if (ImageList1->Count() == 0) LoadCollection();
    ShowList(*ImageList1);
    FillList();
}

void TFormSelector::LoadCollection() {
    Tag = -1;
    const std::wstring path =
        collectionFile_.empty() ? win::ExeFolder() + win::Widen(kIconCollectionFileName) : collectionFile_;
    if (!win::FileExists(path)) {
        win::Application::Instance().ShowMessage(kIconPickerNoCollection);
        ImageList1->RemoveAll();
        return;
    }
    const std::optional<std::vector<uint8_t>> bytes = win::ReadWholeFile(path);  // "Cannot open file %s"
    if (!bytes) throw TError(CannotOpenFile(win::Narrow(path)));
    CursorScope cursor(*this, IDC_WAIT);
    ByteReader in(*bytes);
    ReadIconCollection(in, [&](const TBitmap& picture, int index) {
        if (LetMessagesRunBefore(index)) LetPendingMessagesRun(hwnd_);
        ImageList1->Add(picture);
    });
}

void TFormSelector::RadioButton2Click() {
    EnableWindow(Item(kFilenameEdit1), TRUE);
    EnableWindow(Item(kBrowseButton), TRUE);
    EnableWindow(Item(kButton1), TRUE);
    ShowList(*ImageList2);
    FillList();
}

std::string TFormSelector::EditFileNameNow() const {
    return EditFileName(ItemText(kFilenameEdit1),
                        [](const std::string& name) { return win::FileExists(win::Widen(name)); });
}

void TFormSelector::Button1Click() {
    LoadingScope loading(*this);
    PickerImageList& list = *ImageList2;
    list.RemoveAll();
    TBitmap work;
    const std::string fileName = EditFileNameNow();
    // The trailing glyph ("Новый") is added also when taking the icons fails.
    const auto addTrailingGlyph = [&] {
        DrawRandomGlyph(kPickerIconSize, kPickerIconSize, work);
        list.Add(work);
    };
    try {
        const int count = panel_.ExtractFileIcon(work, fileName, -1);
        for (int i = 0; i < count; ++i) {
            panel_.ExtractFileIcon(work, fileName, i);
            // The icon is painted on the panel's colour: its corner keys it out.
            list.Add(work, work.Empty() ? 0 : work.Pixel(0, 0));
        }
    } catch (...) {
        addTrailingGlyph();
        // The list's images changed under its entries: rebuild them so that
        // no entry points at an image that is gone, then report.
        ShowList(list);
        FillList();
        throw;
    }
    addTrailingGlyph();
    ShowList(list);
    FillList();
}

void TFormSelector::FilenameEdit1Change() {
    const std::string fileName = EditFileNameNow();
    if (!fileName.empty() && win::FileExists(win::Widen(fileName))) Button1Click();
}

void TFormSelector::BrowseClick() {
    win::FileDialogOptions options;
    options.filter = kIconFileFilter.Get();
    options.title = kIconPickerBrowseTitle.Get();
    const std::optional<std::wstring> file = win::AskOpenFileName(hwnd_, options);
    if (!file) return;
    // A name outside code page 1251 would reach the edit changed and load
    // nothing: it is refused with a message instead.
    const std::string name = win::Narrow(*file);
    // Setting the text runs FilenameEdit1Change, which loads the file.
    SetItemText(kFilenameEdit1, QuoteIfSpaced(name));
}

void TFormSelector::ListView1DblClick(int item) {
    if (item < 0 || loading_) return;
    LVITEMW entry{};
    entry.mask = LVIF_IMAGE;
    entry.iItem = item;
    if (!ListView_GetItem(ListView1, &entry)) return;
    // The kept 32 x 32 picture, not the shown one: the list may show it
    // scaled, and the item stores it at its own size.
    ChosenBitmap = shown_->Chosen(entry.iImage);
    Tag = entry.iImage;
    Close();
}

void TFormSelector::FormDestroy() {
    if (destroyed_ || !hwnd_) return;
    destroyed_ = true;
    if (ImageList1) ImageList1->RemoveAll();
    LetPendingMessagesRun(nullptr);
    ListView_DeleteAllItems(ListView1);
    LetPendingMessagesRun(nullptr);
}

void TFormSelector::OnCommand(int id, int code, HWND) {
    if (loading_) return;
    switch (id) {
    case kRadioButton1:
        // Like a click on an already selected radio button, a repeated
        // selection changes nothing.
        if (code == BN_CLICKED && IsDlgButtonChecked(hwnd_, kRadioButton1) == BST_CHECKED && !collectionMode_) {
            collectionMode_ = true;
            RadioButton1Click();
        }
        break;
    case kRadioButton2:
        if (code == BN_CLICKED && IsDlgButtonChecked(hwnd_, kRadioButton2) == BST_CHECKED && collectionMode_) {
            collectionMode_ = false;
            RadioButton2Click();
        }
        break;
    case kButton1:
        if (code == BN_CLICKED) Button1Click();
        break;
    case kBrowseButton:
        if (code == BN_CLICKED) BrowseClick();
        break;
    case kFilenameEdit1:
        if (code == EN_CHANGE) FilenameEdit1Change();
        break;
    }
}

LRESULT TFormSelector::OnNotify(NMHDR* header) {
    if (header->hwndFrom == ListView1 && header->code == NM_DBLCLK)
        ListView1DblClick(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
    return 0;
}

LRESULT TFormSelector::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR:
        if (screenCursor_) {
            SetCursor(screenCursor_);
            return TRUE;
        }
        break;
    case WM_SIZE:
        LayOut(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMinTrackSize.x = Scale(320);
        info->ptMinTrackSize.y = Scale(160);
        return 0;
    }
    }
    return DialogWindow::HandleMessage(msg, wp, lp);
}

}  // namespace

IconChoice ChooseIcon(IPanelHost& panel, HWND owner, const std::wstring& collectionFile) {
    TFormSelector FormSelector(panel, collectionFile);
    FormSelector.FormCreate(owner);
    FormSelector.ShowModal();
    IconChoice choice;
    choice.tag = FormSelector.Tag;
    choice.imageCount = FormSelector.ShownImageCount();
    choice.chosen = FormSelector.ChosenBitmap;
    return choice;
}

IconChoice ChooseIcon(IPanelHost& panel, HWND owner) { return ChooseIcon(panel, owner, {}); }

}  // namespace tilerack
