// The context menu's entries as the screen shows them.
#include "menu_reader.h"

#include <algorithm>

#include "platform/dib.h"
#include "platform/handles.h"

namespace e2e {

bool IsDark(COLORREF c) { return GetRValue(c) < 48 && GetGValue(c) < 48 && GetBValue(c) < 48; }
bool IsGrayText(COLORREF c) {
    return std::abs(GetRValue(c) - 128) < 24 && std::abs(GetGValue(c) - 128) < 24 && std::abs(GetBValue(c) - 128) < 24;
}

namespace {

// The entries' text lines of an open menu, top to bottom: rows with ink, the
// separators' etched lines (grey across nearly the whole width) left out.
std::vector<MenuLine> ReadMenuLinesOnce(HWND menu) {
    const RECT frame = WindowRect(menu);
    const TBitmap screen = CaptureScreen();
    std::vector<MenuLine> lines;
    bool inLine = false;
    const int width = frame.right - frame.left;
    for (int y = frame.top + 2; y < frame.bottom - 2; ++y) {
        const RECT row{frame.left + 2, y, frame.right - 2, y + 1};
        const int dark = CountPixels(screen, row, IsDark);
        const int gray = CountPixels(screen, row, IsGrayText);
        const bool ink = (dark > 0 || gray > 0) && gray < width / 2;
        if (ink && !inLine) lines.push_back({RECT{frame.left, y, frame.right, y + 1}, false, 0});
        if (ink) {
            MenuLine& line = lines.back();
            line.rect.bottom = y + 1;
            if (dark > 0) line.enabled = true;
        }
        inLine = ink;
    }
    for (MenuLine& line : lines) {
        const RECT box = BoundsOfPixels(screen, line.rect, IsDark);
        line.darkWidth = box.right - box.left;
    }
    return lines;
}

}  // namespace

// The same once the menu has painted: its window shows before its entries
// are drawn, so the lines are read until all entries show and a second
// reading agrees (what is read last is returned, complete or not).
std::vector<MenuLine> ReadMenuLines(HWND menu) {
    std::vector<MenuLine> lines;
    std::vector<MenuLine> previous;
    const auto sameLine = [](const MenuLine& x, const MenuLine& y) {
        return EqualRect(&x.rect, &y.rect) && x.enabled == y.enabled && x.darkWidth == y.darkWidth;
    };
    const auto same = [&](const std::vector<MenuLine>& a, const std::vector<MenuLine>& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameLine);
    };
    WaitUntil(
        [&] {
            previous = std::move(lines);
            lines = ReadMenuLinesOnce(menu);
            return lines.size() == static_cast<size_t>(MainMenuEntry::Count) && same(lines, previous);
        },
        3s);
    return lines;
}

int MenuTextWidth(const std::wstring& text, bool bold) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTW font = metrics.lfMenuFont;
    if (bold) font.lfWeight = std::min<LONG>(font.lfWeight + 300, 1000);
    tilerack::win::UniqueFont handle(CreateFontIndirectW(&font));
    tilerack::win::DibCanvas canvas(200, 40);
    TBitmap white(200, 40);
    white.Fill(tilerack::Rgb(255, 255, 255));
    canvas.CopyFrom(white);
    tilerack::win::SelectScope select(canvas.dc(), handle.get());
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    RECT area{10, 5, 190, 35};
    DrawTextW(canvas.dc(), text.c_str(), -1, &area, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
    TBitmap drawn;
    canvas.CopyTo(drawn);
    const RECT box = BoundsOfPixels(drawn, RECT{0, 0, 200, 40}, IsDark);
    return box.right - box.left;
}

}  // namespace e2e
