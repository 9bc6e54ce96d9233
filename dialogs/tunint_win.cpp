// The settings dialog: colour, transparency with its preview, delay,
// stay-on-top and side of the panel. Every change but stay-on-top reaches the
// panel at once; stay-on-top is applied when the dialog is destroyed.
#include "dialogs/tunint.h"

#include <commctrl.h>

#include <algorithm>

#include "dialogs/side_picture.h"
#include "dialogs/tuning_rules.h"
#include "common/app_texts.h"
#include "common/scaled_picture.h"
#include "platform/application.h"
#include "platform/color_dialog.h"
#include "platform/dialog_window.h"
#include "platform/dib.h"
#include "platform/fonts.h"
#include "platform/picture_box.h"
#include "platform/text.h"

namespace tilerack {

namespace {


enum ControlId : int {
    kShape1 = 100,
    kImage1,
    kTrackBar1,
    kRxSpinEdit1,
    kSpinButtons,
    kCheckBox1,
    kDropOpensBox,
    kSpeedLeft,
    kSpeedRight,
    kButton2,
    kButton1,
};

constexpr int kClientWidth = 616, kClientHeight = 109;
constexpr Rect kShape1Place{7, 30, 69, 35};
constexpr Rect kImage1Place{195, 1, 260, 28};

// The colour dialog's custom slots A to K: greys; the rest stay white, the
// dialog's own default.
win::CustomColors InitialCustomColors() {
    win::CustomColors colors;
    colors.fill(RGB(255, 255, 255));
    const BYTE greys[] = {0x0F, 0x1F, 0x2F, 0x4F, 0x6F, 0x8F, 0xAF, 0xBF, 0xCF, 0xDF, 0xEF};
    for (size_t i = 0; i < std::size(greys); ++i) colors[i] = RGB(greys[i], greys[i], greys[i]);
    return colors;
}

void TextAt(HDC dc, int x, int y, COLORREF color, const std::wstring& text) {
    SetTextColor(dc, color);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// A side picture at the size of the places at `scale`.
TBitmap ScaledSidePicture(PanelSide side, DpiScale scale) {
    const int size = scale.Scale(kSidePictureSize);
    return ScaledSmoothly(DrawSidePicture(side), size, size);
}

class TFormTuning : public win::DialogWindow {
public:
    TFormTuning(IPanelHost& panel, HWND owner) : panel_(panel), customColors_(InitialCustomColors()) {
        CreateDialogFrame(L"TFormTuning", kSettingsDialogTitle, kClientWidth, kClientHeight, owner);
        MakeSidePictures();
        CreateControls();
        SetDefaultButton(kButton1);
        FormCreate();
    }
    ~TFormTuning() override {
        // The panel changes its stay-on-top state only once the dialog is gone.
        const bool onTop = IsDlgButtonChecked(hwnd_, kCheckBox1) == BST_CHECKED;
        const bool dropOpens = IsDlgButtonChecked(hwnd_, kDropOpensBox) == BST_CHECKED;
        DestroyWindowNow();
        win::Application::Instance().Guard([&] { FormDestroy(onTop, dropOpens); });
    }

protected:
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(NMHDR* header) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // The side pictures, the spin buttons beside their field and the
    // preview at the new scale.
    void OnScaleChanged() override;

private:
    void CreateControls();
    void MakeSidePictures();
    void FormCreate();
    void FormDestroy(bool onTop, bool dropOpens);
    void TrackBar1Change();
    void Shape1MouseDown();
    void RxSpinEdit1Change();
    void SpeedLeftClick() { SetSide(0); }
    void SpeedRightClick() { SetSide(1); }
    void Button1Click() { Close(); }
    void Button2Click();

    void SetSide(int side);
    void DrawPreview(int opacity);
    void DrawSideButton(const DRAWITEMSTRUCT& item);
    HWND TrackBar() const { return Item(kTrackBar1); }
    COLORREF PanelColor() const { return win::ToColorRef(panel_.Settings().color); }

    IPanelHost& panel_;
    win::PictureBox shape1_;
    win::PictureBox image1_;
    HWND label2_ = nullptr;
    win::CustomColors customColors_;
    TBitmap sidePictures_[2];
    int sideDown_ = 0;  // which of the two side buttons is down
};

void TFormTuning::CreateControls() {
    AddLabel(kSettingsColorLabel, 8, 12);
    AddPicture(shape1_, kShape1, kShape1Place, win::PictureBox::Mode::Swatch, win::Widen(kSettingsColorName));
    shape1_.OnMouseDown = [this](int, POINT) { Shape1MouseDown(); };
    // Wide enough for "Прозрачность, 100%", short of the preview.
    label2_ = AddLabel(TransparencyLabel(PositionForOpacity(25)), 86, 13, 108);
    AddPicture(image1_, kImage1, kImage1Place, win::PictureBox::Mode::Picture, win::Widen(kSettingsPreviewName));
    image1_.Centered = false;

    // Named by its own text: the preview stands between it and its label.
    HWND track = AddControl(TRACKBAR_CLASSW, kSettingsTrackName, WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS,
                            Rect{87, 28, 383, 45}, kTrackBar1);
    SendMessageW(track, TBM_SETRANGEMIN, FALSE, kTrackMin);
    SendMessageW(track, TBM_SETRANGEMAX, FALSE, kTrackMax);
    SendMessageW(track, TBM_SETTICFREQ, 25, 0);
    SendMessageW(track, TBM_SETLINESIZE, 0, 2);
    SendMessageW(track, TBM_SETPAGESIZE, 0, 10);

    AddLabel(kSettingsDelayLabel, 15, 66);
    // The spin field: an edit with the up-down buttons inside its right end.
    // The buttons only report their presses; the field's text is the value.
    HWND edit = AddControl(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, Rect{7, 82, 73, 21}, kRxSpinEdit1,
                           WS_EX_CLIENTEDGE);
    HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                                WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
                                hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSpinButtons)),
                                win::Application::Instance().Module(), nullptr);
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    // A range far from both ends, so the buttons report every press; held
    // down they step by 1, never faster.
    SendMessageW(spin, UDM_SETRANGE32, -0x7FFFFFFF, 0x7FFFFFFF);
    SendMessageW(spin, UDM_SETPOS32, 0, 0);
    UDACCEL step{0, 1};
    SendMessageW(spin, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));

    AddControl(L"BUTTON", kSettingsOnTop, WS_TABSTOP | BS_AUTOCHECKBOX, Rect{88, 83, 137, 17}, kCheckBox1);
    // Two lines between the stay-on-top box and the buttons.
    AddControl(L"BUTTON", kSettingsDropOpens, WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE, Rect{230, 78, 224, 28},
               kDropOpensBox);
    // The side pictures are speed buttons: no tab stops of their own.
    // Drawn as pictures; their texts are what a screen reader announces.
    AddControl(L"BUTTON", kSettingsLeft, BS_OWNERDRAW, Rect{470, 4, 71, 70}, kSpeedLeft);
    AddControl(L"BUTTON", kSettingsRight, BS_OWNERDRAW, Rect{542, 4, 71, 70}, kSpeedRight);
    AddButton(kSettingsAbout, Rect{458, 80, 75, 25}, kButton2);
    AddButton(kSettingsClose, Rect{538, 80, 75, 25}, kButton1, BS_DEFPUSHBUTTON);
}

void TFormTuning::MakeSidePictures() {
    sidePictures_[0] = ScaledSidePicture(PanelSide::Left, DisplayScale());
    sidePictures_[1] = ScaledSidePicture(PanelSide::Right, DisplayScale());
}

void TFormTuning::OnScaleChanged() {
    MakeSidePictures();
    InvalidateRect(Item(kSpeedLeft), nullptr, FALSE);
    InvalidateRect(Item(kSpeedRight), nullptr, FALSE);
    // The buttons stand inside the field's right end, wherever it went.
    SendMessageW(Item(kSpinButtons), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(kRxSpinEdit1)), 0);
    DrawPreview(OpacityOfPosition(static_cast<int>(SendMessageW(TrackBar(), TBM_GETPOS, 0, 0))));
}

void TFormTuning::FormCreate() {
    shape1_.SwatchColor = PanelColor();
    shape1_.Refresh();
    SendMessageW(TrackBar(), TBM_SETPOS, TRUE, PositionForOpacity(panel_.Settings().opacity));
    TrackBar1Change();
    SetItemText(kRxSpinEdit1, std::to_string(panel_.Settings().timeOut));
    CheckDlgButton(hwnd_, kCheckBox1, panel_.StaysOnTop() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, kDropOpensBox, panel_.Settings().DropOpens() ? BST_CHECKED : BST_UNCHECKED);
    sideDown_ = panel_.Settings().side == PanelSide::Right ? 1 : 0;
}

void TFormTuning::FormDestroy(bool onTop, bool dropOpens) {
    panel_.EnableTimerMouse(true);
    PanelSettings s = panel_.Settings();
    s.onTop = onTop;
    // Stored once the user has ticked it, from then on either way.
    if (dropOpens || s.dropOpens) s.dropOpens = dropOpens;
    panel_.ChangeSettings(s);
}

void TFormTuning::TrackBar1Change() {
    const int position = static_cast<int>(SendMessageW(TrackBar(), TBM_GETPOS, 0, 0));
    const int v = OpacityOfPosition(position);
    PanelSettings s = panel_.Settings();
    s.opacity = v;
    panel_.ChangeSettings(s);
    SetWindowTextW(label2_, win::Widen(TransparencyLabel(position)).c_str());
    DrawPreview(v);
}

// The under-panel image on black and the panel image on the panel colour,
// blended as the panel blends its background. Made in the screen's pixels at
// the size of its control, so its text is as sharp as the dialog's own.
void TFormTuning::DrawPreview(int opacity) {
    RECT client{};
    GetClientRect(image1_.Handle(), &client);
    const int w = std::max<int>(client.right, 1), h = std::max<int>(client.bottom, 1);
    const COLORREF color = PanelColor();

    win::DibCanvas under(w, h);
    TBitmap fill(w, h);
    fill.Fill(RGB(0, 0, 0));
    under.CopyFrom(fill);
    SetBkMode(under.dc(), TRANSPARENT);
    {
        // Points at the dialog's scale: a memory context knows only the system's.
        win::UniqueFont arial = win::MakePointFont(DisplayScale().dpi, L"Arial", 12, FW_NORMAL, false);
        win::SelectScope select(under.dc(), arial.get());
        SIZE bang{};
        GetTextExtentPoint32W(under.dc(), L"!", 1, &bang);
        const int lineHeight = bang.cy;
        const std::wstring text = win::Widen(kSettingsPreviewUnder);
        TextAt(under.dc(), Scale(4), Scale(-3), RGB(0x80, 0x80, 0x80), text);
        TextAt(under.dc(), Scale(3), lineHeight + Scale(-3), RGB(0x80, 0x80, 0x80), text);
        TextAt(under.dc(), Scale(3), Scale(-2), RGB(0xFF, 0xFF, 0xFF), text);
        TextAt(under.dc(), Scale(3), lineHeight + Scale(-2), RGB(0xFF, 0xFF, 0xFF), text);
    }

    win::DibCanvas panelImage(w, h);
    fill.Fill(color);
    panelImage.CopyFrom(fill);
    SetBkMode(panelImage.dc(), TRANSPARENT);
    {
        win::UniqueFont arial = win::MakePointFont(DisplayScale().dpi, L"Arial", 14, FW_BOLD, true);
        win::SelectScope select(panelImage.dc(), arial.get());
        const std::wstring text = win::Widen(kSettingsPreviewPanel);
        TextAt(panelImage.dc(), Scale(34), 0, RGB(0, 0, 0), text);
        TextAt(panelImage.dc(), Scale(32), Scale(1), PreviewCaptionColor(color), text);
    }

    TBitmap preview, panelPicture;
    under.CopyTo(preview);
    panelImage.CopyTo(panelPicture);
    BlendPreview(preview, panelPicture, opacity);
    image1_.Picture = preview;
    image1_.Refresh();
}

void TFormTuning::Shape1MouseDown() {
    if (const auto chosen = win::AskColor(hwnd_, PanelColor(), customColors_)) {
        PanelSettings s = panel_.Settings();
        s.color = static_cast<int32_t>(*chosen);
        panel_.ChangeSettings(s);
    }
    shape1_.SwatchColor = PanelColor();
    shape1_.Refresh();
}

void TFormTuning::RxSpinEdit1Change() {
    PanelSettings s = panel_.Settings();
    s.timeOut = DelayFieldValue(ItemText(kRxSpinEdit1));
    panel_.ChangeSettings(s);
}

void TFormTuning::SetSide(int side) {
    sideDown_ = side;
    InvalidateRect(Item(kSpeedLeft), nullptr, FALSE);
    InvalidateRect(Item(kSpeedRight), nullptr, FALSE);
    PanelSettings s = panel_.Settings();
    s.side = side == 1 ? PanelSide::Right : PanelSide::Left;
    panel_.ChangeSettings(s);
}

void TFormTuning::Button2Click() {
    MessageBoxW(hwnd_, win::Widen(kSettingsAboutText).c_str(), kAppTitleW, MB_OK);
}

// A side button: raised when up, sunken when down, the picture following the
// press by a pixel. Like a speed button it shows no focus.
void TFormTuning::DrawSideButton(const DRAWITEMSTRUCT& item) {
    const int side = item.CtlID == kSpeedRight ? 1 : 0;
    const bool down = sideDown_ == side || (item.itemState & ODS_SELECTED);
    RECT r = item.rcItem;
    DrawFrameControl(item.hDC, &r, DFC_BUTTON,
                     DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0) | (sideDown_ == side ? DFCS_CHECKED : 0));
    const TBitmap& picture = sidePictures_[side];
    const int shift = down ? Scale(1) : 0;
    win::DrawPicture(item.hDC, (r.right - r.left - picture.Width()) / 2 + shift,
                     (r.bottom - r.top - picture.Height()) / 2 + shift, picture);
}

void TFormTuning::OnCommand(int id, int code, HWND) {
    const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
    switch (id) {
    case kButton1: if (clicked) Button1Click(); break;
    case kButton2: if (clicked) Button2Click(); break;
    case kSpeedLeft: if (clicked) SpeedLeftClick(); break;
    case kSpeedRight: if (clicked) SpeedRightClick(); break;
    case kRxSpinEdit1: if (code == EN_CHANGE) RxSpinEdit1Change(); break;
    default: break;  // Esc (IDCANCEL) does nothing: "Закрыть" and the close box end the dialog
    }
}

LRESULT TFormTuning::OnNotify(NMHDR* header) {
    if (header->idFrom == kSpinButtons && header->code == UDN_DELTAPOS) {
        const auto* change = reinterpret_cast<NMUPDOWN*>(header);
        if (change->iDelta != 0)
            SetItemText(kRxSpinEdit1, SteppedDelayText(ItemText(kRxSpinEdit1), change->iDelta > 0 ? 1 : -1));
        return TRUE;  // the buttons keep no position of their own
    }
    return 0;
}

LRESULT TFormTuning::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lp) == TrackBar()) {
            TrackBar1Change();
            return 0;
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item->CtlID == kSpeedLeft || item->CtlID == kSpeedRight) {
            DrawSideButton(*item);
            return TRUE;
        }
        break;
    }
    }
    return DialogWindow::HandleMessage(msg, wp, lp);
}

}  // namespace

void ShowTuningDialog(IPanelHost& panel, HWND owner) {
    // Should the dialog fail to open, the pointer watch still resumes.
    PointerWatchSuspension dialogOpen(panel, PointerWatchSuspension::OnExit::Resume);
    TFormTuning FormTuning(panel, owner);
    FormTuning.ShowModal();
}

}  // namespace tilerack
