// The dialogs on a screen of another scale: run in this process, as the
// panel shows them, and told of a new scale as the system tells a window
// moved onto such a screen (WM_DPICHANGED with the rectangle it suggests).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "dialog_driver.h"
#include "dialogs/mainselform.h"
#include "dialogs/sysdialog.h"
#include "dialogs/tunint.h"
#include "dialog_run.h"

namespace e2e {
namespace {

constexpr COLORREF kPreviewKey = RGB(255, 255, 255), kPreviewFill = RGB(40, 120, 200);

SIZE ClientSizeOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

// A control's place in its dialog's client area.
RECT PlaceIn(HWND dialog, HWND control) {
    RECT r = WindowRect(control);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf;
}

// What the system sends a dialog moved onto a screen of `dpi`: a frame for
// the dialog's client area at that scale, about the dialog's centre (so
// that it stays on the test's screen). The frame around it is the one drawn
// now: Wine draws frames at the system's scale whatever the window's.
void MoveToScale(HWND dialog, SIZE designedClient, int dpi) {
    const RECT now = WindowRect(dialog);
    const SIZE client = ClientSizeOf(dialog);
    const int width = now.right - now.left - client.cx + MulDiv(designedClient.cx, dpi, 96);
    const int height = now.bottom - now.top - client.cy + MulDiv(designedClient.cy, dpi, 96);
    const int left = std::max(0, static_cast<int>(now.left + now.right - width) / 2);
    const int top = std::max(0, static_cast<int>(now.top + now.bottom - height) / 2);
    RECT suggested{left, top, left + width, top + height};
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// The label's text fits its width in its font: it shows on one line, whole.
bool TextFits(HWND label) {
    const std::wstring text = WindowText(label);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return size.cx <= ClientSizeOf(label).cx;
}

// The bounds of the preview picture's fill on the screen.
RECT PreviewFill(HWND preview) {
    const RECT place = WindowRect(preview);
    return BoundsOfPixels(CaptureScreen(), place, [](COLORREF c) { return c == kPreviewFill; });
}

// The item dialog at 96 DPI, then on a 192-DPI screen: its frame, its
// controls, its font and its preview picture twice as large; the font the
// TrueType twin of the bitmap font; the item's picture still 32 x 32.
TEST(DialogScale, TheItemDialogLaysItselfOutAgainOnAScreenOfAnotherScale) {
    tilerack::TShortCut item;
    item.Caption = "Пункт";
    item.Icon = TBitmap(32, 32);
    item.Icon.Fill(kPreviewKey);
    for (int y = 4; y < 28; ++y)
        for (int x = 4; x < 28; ++x) item.Icon.SetPixel(x, y, kPreviewFill);
    DialogRun run(L"TMainDialog", [&item](FakePanelHost& panel) { tilerack::EditShortCut(item, panel, nullptr); });
    const HWND dialog = run.Window();
    ASSERT_NE(dialog, nullptr) << "the item dialog did not open";
    const HWND ok = FindChild(dialog, L"Button", L"ОК");
    const HWND preview = FindChild(dialog, L"TImage");
    ASSERT_TRUE(ok && preview);

    const SIZE client = ClientSizeOf(dialog);
    EXPECT_EQ(client.cx, 399);
    EXPECT_EQ(client.cy, 297);
    const RECT okAt96 = PlaceIn(dialog, ok);
    EXPECT_EQ(okAt96.left, 238);
    EXPECT_EQ(okAt96.top, 256 + 8);
    EXPECT_EQ(FontOf(ok).lfHeight, -11);
    EXPECT_EQ(std::wstring(FontOf(ok).lfFaceName), L"MS Sans Serif");
    RECT fill{};
    EXPECT_TRUE(WaitUntil([&] { return fill = PreviewFill(preview), fill.right - fill.left == 24; }, 5s))
        << "preview fill " << fill.right - fill.left << " wide at 96 DPI";

    MoveToScale(dialog, client, 192);
    const SIZE large = ClientSizeOf(dialog);
    EXPECT_EQ(large.cx, 798);
    EXPECT_EQ(large.cy, 594);
    const RECT okAt192 = PlaceIn(dialog, ok);
    EXPECT_EQ(okAt192.left, 476);
    EXPECT_EQ(okAt192.top, 2 * (256 + 8));
    EXPECT_EQ(okAt192.right - okAt192.left, 150);
    EXPECT_EQ(okAt192.bottom - okAt192.top, 50);
    EXPECT_EQ(FontOf(ok).lfHeight, -22);
    EXPECT_EQ(std::wstring(FontOf(ok).lfFaceName), L"Microsoft Sans Serif");
    const RECT previewPlace = PlaceIn(dialog, preview);
    EXPECT_EQ(previewPlace.right - previewPlace.left, 130);
    EXPECT_EQ(previewPlace.bottom - previewPlace.top, 114);
    // The 24-pixel square drawn at twice its size, bar its smoothed edge.
    EXPECT_TRUE(WaitUntil([&] { return fill = PreviewFill(preview), std::abs(fill.right - fill.left - 48) <= 2; }, 5s))
        << "preview fill " << fill.right - fill.left << " wide at 192 DPI";
    SaveScreenshotPng(CurrentTestName());

    MoveToScale(dialog, client, 96);
    EXPECT_EQ(ClientSizeOf(dialog).cx, 399);
    const RECT okBack = PlaceIn(dialog, ok);
    EXPECT_TRUE(EqualRect(&okAt96, &okBack) != FALSE) << "OK not back at its 96-DPI place";
    EXPECT_EQ(FontOf(ok).lfHeight, -11);
    EXPECT_EQ(std::wstring(FontOf(ok).lfFaceName), L"MS Sans Serif");
}

// The settings dialog's pictures follow too: the side buttons and their
// pictures, the swatch and the preview.
TEST(DialogScale, TheSettingsDialogLaysItselfOutAgainOnAScreenOfAnotherScale) {
    DialogRun run(L"TFormTuning", [](FakePanelHost& panel) { tilerack::ShowTuningDialog(panel, nullptr); });
    const HWND dialog = run.Window();
    ASSERT_NE(dialog, nullptr) << "the settings dialog did not open";
    const HWND left = FindChild(dialog, L"Button", L"Слева");
    const HWND close = FindChild(dialog, L"Button", L"Закрыть");
    const HWND delay = FindChild(dialog, L"Edit");
    const HWND spin = FindChild(dialog, L"msctls_updown32");
    const HWND colourLabel = FindChild(dialog, L"Static", L"Цвет панели:");
    ASSERT_TRUE(left && close && delay && spin && colourLabel);
    EXPECT_TRUE(TextFits(colourLabel)) << "at 96 DPI";
    const SIZE client = ClientSizeOf(dialog);
    EXPECT_EQ(client.cx, 616);
    EXPECT_EQ(client.cy, 109);
    // The field ends at 7 + 73; the buttons inside it end where it ends.
    const int spinPast = PlaceIn(dialog, spin).right - 80;

    MoveToScale(dialog, client, 144);
    EXPECT_EQ(ClientSizeOf(dialog).cx, 924);
    EXPECT_EQ(ClientSizeOf(dialog).cy, 164);
    const RECT side = PlaceIn(dialog, left);
    EXPECT_EQ(side.left, 705);
    EXPECT_EQ(side.right - side.left, 107);
    EXPECT_EQ(PlaceIn(dialog, close).left, 807);
    // The spin buttons stand inside the field's right end where it went
    // (7 and 73 wide at 96 DPI: 11 and 110 at 144).
    EXPECT_EQ(PlaceIn(dialog, spin).right - 121, spinPast);
    // Measured again in the new font, not scaled from the old one's widths.
    EXPECT_TRUE(TextFits(colourLabel)) << "at 144 DPI";
    EXPECT_EQ(PlaceIn(dialog, spin).top, PlaceIn(dialog, delay).top);
    // Drawn where it went: the caption of "Закрыть" shows in its new place.
    EXPECT_TRUE(WaitUntil([&] { return CountPixels(CaptureScreen(), WindowRect(close), IsBlack) > 0; }, 5s))
        << "\"Закрыть\" is not drawn at its new place";
    SaveScreenshotPng(CurrentTestName());
}

// The icon picker shows its pictures at the new size, below its controls'
// new places, and keeps its entries.
TEST(DialogScale, TheIconPickerShowsItsPicturesAtTheNewScale) {
    DialogRun run(L"TFormSelector", [](FakePanelHost& panel) { tilerack::ChooseIcon(panel, nullptr); });
    const HWND dialog = run.Window();
    ASSERT_NE(dialog, nullptr) << "the icon picker did not open";
    const HWND list = FindChild(dialog, L"SysListView32");
    ASSERT_NE(list, nullptr);
    // The program binds comctl32 by its own list of functions: this one is
    // looked up where the library already stands.
    using GetIconSizeFn = BOOL(WINAPI*)(HIMAGELIST, int*, int*);
    const auto getIconSize = reinterpret_cast<GetIconSizeFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "ImageList_GetIconSize")));
    ASSERT_NE(getIconSize, nullptr);
    const auto iconSize = [&] {
        int cx = 0, cy = 0;
        getIconSize(ListView_GetImageList(list, LVSIL_NORMAL), &cx, &cy);
        return SIZE{cx, cy};
    };
    EXPECT_EQ(iconSize().cx, 32);
    const int entries = ListView_GetItemCount(list);
    ASSERT_GT(entries, 0) << "no \"Новый\" entry";

    MoveToScale(dialog, ClientSizeOf(dialog), 144);
    EXPECT_EQ(iconSize().cx, 48);
    EXPECT_EQ(iconSize().cy, 48);
    EXPECT_EQ(ListView_GetItemCount(list), entries);
    EXPECT_EQ(PlaceIn(dialog, list).top, 60);
    EXPECT_EQ(PlaceIn(dialog, list).bottom, ClientSizeOf(dialog).cy);
    SaveScreenshotPng(CurrentTestName());
}

}  // namespace
}  // namespace e2e
