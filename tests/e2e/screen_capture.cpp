#include "screen_capture.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <thread>

#include "e2e_harness.h"
#include "platform/dib.h"
#include "png_writer.h"

namespace e2e {

TBitmap CaptureScreen(const RECT& r) {
    TBitmap picture;
    if (IsRectEmpty(&r))
        tilerack::win::CaptureScreen(0, 0, ScreenWidth(), ScreenHeight(), picture);
    else
        tilerack::win::CaptureScreen(r.left, r.top, r.right - r.left, r.bottom - r.top, picture);
    return picture;
}

COLORREF ScreenPixel(int x, int y) { return CaptureScreen(RECT{x, y, x + 1, y + 1}).Pixel(0, 0); }

bool IsBlack(COLORREF colour) { return colour == RGB(0, 0, 0); }
bool IsWhite(COLORREF colour) { return colour == RGB(255, 255, 255); }

int CountPixels(const TBitmap& image, const RECT& rect, const std::function<bool(COLORREF)>& test) {
    int count = 0;
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, image.Height()); ++y)
        for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, image.Width()); ++x)
            count += test(image.Pixel(x, y));
    return count;
}

RECT BoundsOfPixels(const TBitmap& image, const RECT& rect, const std::function<bool(COLORREF)>& test) {
    RECT bounds{};  // an empty rectangle takes the first pixel's place in the union
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, image.Height()); ++y)
        for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, image.Width()); ++x)
            if (test(image.Pixel(x, y))) {
                const RECT pixel{x, y, x + 1, y + 1};
                UnionRect(&bounds, &bounds, &pixel);
            }
    return bounds;
}

COLORREF Blend(COLORREF screen, COLORREF colour, int opacity) {
    const auto mix = [opacity](int s, int c) { return (s * opacity + c * (100 - opacity)) / 100; };
    return RGB(mix(GetRValue(screen), GetRValue(colour)), mix(GetGValue(screen), GetGValue(colour)),
               mix(GetBValue(screen), GetBValue(colour)));
}

COLORREF Brightened(COLORREF colour) {
    // nearbyint rounds halves to even in the default rounding mode.
    const auto lift = [](int value, int add) {
        return static_cast<int>(std::min(255.0, std::nearbyint(value * 1.07 + add)));
    };
    return RGB(lift(GetRValue(colour), 32), lift(GetGValue(colour), 10), lift(GetBValue(colour), 24));
}

bool SavePng(const std::wstring& name, const TBitmap& picture, const std::wstring& alsoTo) {
    if (picture.Empty()) return false;
    const Bytes png = EncodePng(picture);
    const bool saved = WriteFileBytes(JoinPath(GetConfig().screenshotDir, name + L".png"), png);
    return (alsoTo.empty() || WriteFileBytes(alsoTo, png)) && saved;
}

// ---- Painted screen ----------------------------------------------------------

namespace {
constexpr int kParkedLeft = -20000;
}  // namespace

struct PaintedScreen::State {
    Pattern pattern;
    TBitmap picture;
    HWND halves[2] = {};  // left and right half of the screen
    int live = 0;         // halves not yet destroyed
    std::thread thread;

    int HalfLeft(int half) const { return half * (picture.Width() / 2); }
    int HalfWidth(int half) const { return half == 0 ? picture.Width() / 2 : picture.Width() - HalfLeft(1); }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
        switch (message) {
        case WM_NCCREATE:
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            const auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            const int half = window == state->halves[0] ? 0 : 1;
            tilerack::win::DrawPicture(dc, -state->HalfLeft(half), 0, state->picture);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY: {
            auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (--state->live == 0) PostQuitMessage(0);
            return 0;
        }
        }
        return DefWindowProcW(window, message, wp, lp);
    }

    void Run(int left, std::promise<bool> created) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"E2EPaintedScreen";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);  // fails harmlessly when registered by an earlier test
        for (int half = 0; half < 2; ++half) {
            // An application window, so that a window manager stacks it as
            // one: windows shown later come above it.
            halves[half] = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName,
                                           L"", WS_POPUP, left + HalfLeft(half), 0, HalfWidth(half), picture.Height(),
                                           nullptr, nullptr, wc.hInstance, this);
            if (halves[half]) {
                ++live;
                ShowWindow(halves[half], SW_SHOWNOACTIVATE);
            }
        }
        const bool both = halves[0] && halves[1];
        created.set_value(both);
        MSG message;
        while (live > 0 && GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    void MoveTo(int left) {
        for (int half = 0; half < 2; ++half)
            SetWindowPos(halves[half], nullptr, left + HalfLeft(half), 0, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

PaintedScreen::PaintedScreen(Pattern pattern, bool parked) : state_(std::make_unique<State>()) {
    state_->pattern = std::move(pattern);
    state_->picture.SetSize(ScreenWidth(), ScreenHeight());
    for (int y = 0; y < state_->picture.Height(); ++y)
        for (int x = 0; x < state_->picture.Width(); ++x) state_->picture.SetPixel(x, y, state_->pattern(x, y));
    std::promise<bool> created;
    std::future<bool> both = created.get_future();
    state_->thread = std::thread(&State::Run, state_.get(), parked ? kParkedLeft : 0, std::move(created));
    if (!both.get()) ADD_FAILURE() << "cannot create the painted screen's windows";
}

PaintedScreen::~PaintedScreen() {
    for (HWND half : state_->halves)
        if (half) PostMessageW(half, WM_CLOSE, 0, 0);
    if (state_->thread.joinable()) state_->thread.join();
}

bool PaintedScreen::WaitUntilShown(std::chrono::milliseconds timeout) const {
    const int w = ScreenWidth(), h = ScreenHeight();
    const POINT samples[] = {{w / 2, h / 2}, {w / 2 + 37, 100}, {w / 3, h - 10}, {2 * w / 3, 7}, {w / 2 - 1, h / 2}};
    return WaitUntil(
        [&] {
            return std::all_of(std::begin(samples), std::end(samples),
                               [&](POINT p) { return ScreenPixel(p.x, p.y) == state_->pattern(p.x, p.y); });
        },
        timeout);
}

void PaintedScreen::Park() { state_->MoveTo(kParkedLeft); }

void PaintedScreen::Unpark() { state_->MoveTo(0); }

namespace {

BOOL CALLBACK MoveIfTrayWindow(HWND window, LPARAM) {
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);  // asks no other thread, unlike WM_GETTEXT
    if ((WindowClass(window) == L"Shell_TrayWnd" || std::wstring(title) == L"Wine System Tray") &&
        IsWindowVisible(window)) {
        const RECT rect = WindowRect(window);
        SetWindowPos(window, nullptr, (ScreenWidth() - (rect.right - rect.left)) / 2,
                     ScreenHeight() - (rect.bottom - rect.top) - 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

}  // namespace

void MoveTrayWindowAway() { EnumWindows(MoveIfTrayWindow, 0); }

}  // namespace e2e
