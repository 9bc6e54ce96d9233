// The item properties dialog: caption, hint, picture, file, parameters and
// working folder of one item, written back only on ОК.
#include "dialogs/sysdialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include "common/app_texts.h"
#include "common/picture_file_rules.h"
#include "dialogs/icon_choice_rule.h"
#include "dialogs/mainselform.h"
#include "dialogs/path_quoting.h"
#include "items/glyph_text_win.h"
#include "platform/common_dialogs.h"
#include "platform/dialog_window.h"
#include "platform/fonts.h"
#include "platform/picture_box.h"
#include "platform/picture_file.h"
#include "platform/text.h"

namespace tilerack {

namespace {


enum ControlId : int {
    kImageIco = 100,
    kSpeedButton1,
    kEditName,
    kButtonChoose,
    kButtonLoadIco,
    kEditHint,
    kFilenameStart,
    kFilenameBrowse,
    kEditParam,
    kDirectoryWork,
    kDirectoryBrowse,
    kCheckDrives,
    kButtonCancel,
    kButtonOk,
    kButton1,
};

// The three bands of the client area: the group boxes and the button band.
constexpr int kClientWidth = 399, kClientHeight = 297;
constexpr Rect kIconGroup{0, 0, kClientWidth, 137};
constexpr Rect kShortcutGroup{0, 137, kClientWidth, 120};
constexpr Rect kButtonBand{0, kClientHeight - 41, kClientWidth, 41};

constexpr int kGlyphSize = 32;

class TMainDialog : public win::DialogWindow {
public:
    TMainDialog(IPanelHost& panel, HWND owner) : panel_(panel) {
        CreateDialogFrame(L"TMainDialog", kItemDialogTitle, kClientWidth, kClientHeight, owner);
        CreateControls();
        SetDefaultButton(kButtonOk);
    }

    bool EditShortCut(TShortCut& item);

protected:
    void OnCommand(int id, int code, HWND control) override;
    // The preview's scale and the font of "случайная".
    void OnScaleChanged() override;

private:
    void CreateControls();
    // An edit with a browse button at its right end, together at `place`.
    void AddBrowseEdit(Rect place, int editId, int buttonId);
    void SetRandomIcon(bool random);
    void ShowPreview(const TBitmap& picture);

    void ButtonOkClick();
    void ButtonCancelClick();
    void ButtonChooseClick();
    void ButtonLoadIcoClick();
    void ImageIcoMouseDown(int button);
    void EditHintChange();
    void Button1Click() { panel_.SaveAll(); }
    void SpeedButton1Click();
    void BrowseFile();
    void BrowseFolder();

    IPanelHost& panel_;
    win::PictureBox imageIco_;
    win::UniqueFont speedButtonFont_;
    TShortCut* EditedItem = nullptr;
    bool Accepted = false;
    bool RandomIcon = false;
};

void TMainDialog::CreateControls() {
    const int ix = kIconGroup.left, iy = kIconGroup.top;
    AddControl(L"BUTTON", kItemDialogIconGroup, BS_GROUPBOX, kIconGroup);
    AddControl(L"STATIC", "", SS_SUNKEN, Rect{8, 16, 82, 74}.Offset(ix, iy));
    AddPicture(imageIco_, kImageIco, Rect{16, 24, 65, 57}.Offset(ix, iy), win::PictureBox::Mode::Picture,
               win::Widen(kItemDialogIconName));
    imageIco_.Transparent = true;
    imageIco_.OnMouseDown = [this](int button, POINT) { ImageIcoMouseDown(button); };
    AddControl(L"BUTTON", kItemDialogRandomGlyph, BS_PUSHBUTTON | BS_FLAT, Rect{10, 75, 64, 12}.Offset(ix, iy),
               kSpeedButton1);
    OnScaleChanged();
    AddLabel(kItemDialogCaptionLabel, ix + 96, iy + 16);
    AddControl(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, Rect{145, 14, 245, 21}.Offset(ix, iy), kEditName,
               WS_EX_CLIENTEDGE);
    AddLabel(kItemDialogHintLabel, ix + 96, iy + 39);
    AddButton(kItemDialogChoose, Rect{8, 113, 81, 17}.Offset(ix, iy), kButtonChoose);
    AddButton(kItemDialogLoadPicture, Rect{8, 96, 81, 17}.Offset(ix, iy), kButtonLoadIco);
    AddControl(L"EDIT", "", WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
               Rect{96, 56, 294, 73}.Offset(ix, iy), kEditHint, WS_EX_CLIENTEDGE);

    const int sx = kShortcutGroup.left, sy = kShortcutGroup.top;
    AddControl(L"BUTTON", kItemDialogShortcutGroup, BS_GROUPBOX, kShortcutGroup);
    AddLabel(kItemDialogFileLabel, sx + 8, sy + 16, 97, SS_RIGHT);
    AddBrowseEdit(Rect{107, 13, 283, 21}.Offset(sx, sy), kFilenameStart, kFilenameBrowse);
    AddLabel(kItemDialogParamsLabel, sx + 40, sy + 41);
    AddControl(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, Rect{107, 38, 283, 21}.Offset(sx, sy), kEditParam,
               WS_EX_CLIENTEDGE);
    AddLabel(kItemDialogWorkDirLabel, sx + 26, sy + 65);
    AddBrowseEdit(Rect{107, 64, 283, 21}.Offset(sx, sy), kDirectoryWork, kDirectoryBrowse);
    HWND drives = AddControl(L"BUTTON", kItemDialogTrackDrives, WS_TABSTOP | BS_CHECKBOX,
                             Rect{8, 96, 169, 17}.Offset(sx, sy), kCheckDrives);
    EnableWindow(drives, FALSE);

    const int bx = kButtonBand.left, by = kButtonBand.top;
    AddButton(kItemDialogCancel, Rect{316, 8, 75, 25}.Offset(bx, by), kButtonCancel);
    AddButton(kItemDialogOk, Rect{238, 8, 75, 25}.Offset(bx, by), kButtonOk, BS_DEFPUSHBUTTON);
    HWND save = AddButton(kItemDialogSave, Rect{156, 8, 75, 25}.Offset(bx, by), kButton1);
    SetTooltip(save, kItemDialogSaveHint);
}

void TMainDialog::OnScaleChanged() {
    // The item keeps its picture at 32 x 32; only the preview grows with the screen.
    imageIco_.PictureScale = DisplayScale();
    imageIco_.Refresh();
    win::UniqueFont font = win::MakeFont(L"Arial", Scale(9), RUSSIAN_CHARSET);
    SendMessageW(Item(kSpeedButton1), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    speedButtonFont_ = std::move(font);
}

void TMainDialog::AddBrowseEdit(Rect place, int editId, int buttonId) {
    const int button = place.height;
    AddControl(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, Rect{place.left, place.top, place.width - button, place.height},
               editId, WS_EX_CLIENTEDGE);
    AddButton(kItemDialogBrowse, Rect{place.left + place.width - button, place.top, button, place.height}, buttonId);
    // The browse button belongs to its edit: not a stop of its own.
    HWND browse = Item(buttonId);
    SetWindowLongW(browse, GWL_STYLE, GetWindowLongW(browse, GWL_STYLE) & ~WS_TABSTOP);
}

bool TMainDialog::EditShortCut(TShortCut& item) {
    EditedItem = &item;
    SetItemText(kEditName, item.Caption);
    SetItemText(kEditHint, item.Hint);
    // A multi-line edit reports no change for text set this way: the
    // preview's tooltip takes the hint here.
    EditHintChange();
    if (item.Icon.Empty()) {
        // The glyph goes into the item itself at once and stays even on cancel.
        DrawRandomGlyph(kGlyphSize, kGlyphSize, item.Icon);
        SetRandomIcon(true);
    } else {
        SetRandomIcon(false);
    }
    ShowPreview(item.Icon);
    SetItemText(kFilenameStart, item.FileName);
    SetItemText(kEditParam, item.Params);
    SetItemText(kDirectoryWork, item.WorkDir);
    SendMessageW(Item(kCheckDrives), BM_SETCHECK, item.TrackDrives ? BST_CHECKED : BST_UNCHECKED, 0);
    Accepted = false;
    ShowModal();
    const bool result = Accepted;
    EditedItem = nullptr;
    return result;
}

void TMainDialog::SetRandomIcon(bool random) {
    RandomIcon = random;
    ShowWindow(Item(kSpeedButton1), random ? SW_SHOW : SW_HIDE);
}

void TMainDialog::ShowPreview(const TBitmap& picture) {
    imageIco_.Picture = picture;
    imageIco_.Refresh();
}

void TMainDialog::OnCommand(int id, int code, HWND) {
    switch (id) {
    case kButtonOk: ButtonOkClick(); break;
    case kButtonCancel: ButtonCancelClick(); break;
    case kButtonChoose: ButtonChooseClick(); break;
    case kButtonLoadIco: ButtonLoadIcoClick(); break;
    case kButton1: Button1Click(); break;
    case kSpeedButton1: SpeedButton1Click(); break;
    case kFilenameBrowse: BrowseFile(); break;
    case kDirectoryBrowse: BrowseFolder(); break;
    case kEditHint:
        if (code == EN_CHANGE) EditHintChange();
        break;
    default: break;  // Esc (IDCANCEL) closes nothing here
    }
}

void TMainDialog::ButtonOkClick() {
    Accepted = true;
    if (EditedItem) {
        TShortCut& item = *EditedItem;
        item.SetCaption(ItemText(kEditName));
        item.SetHint(ItemText(kEditHint));
        item.Icon = imageIco_.Picture;
        item.SetFileName(ItemText(kFilenameStart));
        item.SetParams(ItemText(kEditParam));
        item.SetWorkDir(ItemText(kDirectoryWork));
        item.SetTrackDrives(SendMessageW(Item(kCheckDrives), BM_GETCHECK, 0, 0) == BST_CHECKED);
    }
    Close();
}

void TMainDialog::ButtonCancelClick() {
    Accepted = false;
    Close();
}

void TMainDialog::SpeedButton1Click() {
    TBitmap glyph = imageIco_.Picture;
    DrawRandomGlyph(kGlyphSize, kGlyphSize, glyph);
    ShowPreview(glyph);
}

void TMainDialog::ImageIcoMouseDown(int button) {
    if (button == VK_LBUTTON && RandomIcon) SpeedButton1Click();
}

void TMainDialog::EditHintChange() { SetTooltip(imageIco_.Handle(), ItemText(kEditHint)); }

void TMainDialog::ButtonChooseClick() {
    IconChoice choice;
    {
        // Whatever the picker does, the dialog comes back enabled and titled.
        const std::wstring title = win::Widen(win::WindowTextOf(hwnd_));
        EnableWindow(hwnd_, FALSE);
        SetWindowTextW(hwnd_, win::Widen(kItemDialogPickerOpenTitle).c_str());
        struct Restore {
            HWND hwnd;
            const std::wstring& title;
            ~Restore() {
                EnableWindow(hwnd, TRUE);
                SetWindowTextW(hwnd, title.c_str());
                SetForegroundWindow(hwnd);
            }
        } restore{hwnd_, title};
        choice = ChooseIcon(panel_, hwnd_);
    }
    switch (IconChoiceActionFor(choice.tag, choice.imageCount)) {
    case IconChoiceAction::NewGlyph: {
        TBitmap glyph = imageIco_.Picture;
        DrawRandomGlyph(kGlyphSize, kGlyphSize, glyph);
        ShowPreview(glyph);
        SetRandomIcon(true);
        break;
    }
    case IconChoiceAction::UsePicture:
        ShowPreview(choice.chosen);
        SetRandomIcon(false);
        break;
    case IconChoiceAction::Unchanged:
        break;
    }
}

void TMainDialog::ButtonLoadIcoClick() {
    const std::optional<std::wstring> path = win::AskOpenFileName(
        hwnd_, win::FileDialogOptions{.filter = kOpenPictureFilter, .title = {}, .mustExist = true});
    if (!path) return;
    // The loader's failure leaves the preview as it was.
    ShowPreview(win::LoadCappedPicture(*path));
}

void TMainDialog::BrowseFile() {
    const std::optional<std::wstring> path = win::AskOpenFileName(
        hwnd_, win::FileDialogOptions{.filter = kItemDialogFileFilter, .title = {}, .mustExist = true});
    if (!path) return;
    // The item file keeps code page 1251 texts: a name outside it is refused.
    SetItemText(kFilenameStart, QuoteIfSpaced(win::Narrow(*path)));
}

void TMainDialog::BrowseFolder() {
    const std::optional<std::wstring> folder = win::AskFolder(hwnd_);
    if (!folder) return;
    SetItemText(kDirectoryWork, win::Narrow(*folder));
}

}  // namespace

bool EditShortCut(TShortCut& item, IPanelHost& panel, HWND owner) {
    TMainDialog MainDialog(panel, owner);
    return MainDialog.EditShortCut(item);
}

}  // namespace tilerack
