#include "scenario_support.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "png_writer.h"

namespace e2e {

// ---- Geometry -------------------------------------------------------------------

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
int PanelLeft(HWND panel) { return WindowRect(panel).left; }
int PanelTop(HWND panel) { return WindowRect(panel).top; }
int PanelWidth(HWND panel) {
    const RECT rect = WindowRect(panel);
    return rect.right - rect.left;
}
int ClientWidthOf(HWND panel) { return ClientRect(panel).right; }
int ClientHeightOf(HWND panel) { return ClientRect(panel).bottom; }

int ShownLeft(int side, int width) { return side == 0 ? -4 : ScreenWidth() - width + 4; }
int HiddenLeft(int side, int width) { return side == 0 ? -(width + 1) : ScreenWidth() + 3; }

POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

RECT ClientRectOnScreen(HWND window, RECT rect) {
    const POINT topLeft = ClientToScreenPoint(window, rect.left, rect.top);
    OffsetRect(&rect, topLeft.x - rect.left, topLeft.y - rect.top);
    return rect;
}

RECT HideButtonRect(HWND panel, int side) {
    const int width = std::clamp(ClientWidthOf(panel) - 11, 5, 73);
    const int left = side == 0 ? 0 : 11;
    return RECT{left, 0, left + width, 11};
}

RECT CloseButtonRect(HWND panel, int side) {
    const int left = side == 0 ? ClientWidthOf(panel) - 11 : 0;
    return RECT{left, 0, left + 11, 11};
}

RECT MenuButtonRect(HWND panel, int side) {
    const int left = side == 0 ? ClientWidthOf(panel) - 24 : 0;
    const int top = ClientHeightOf(panel) - 11 - 16;
    return RECT{left, top, left + 24, top + 11};
}

RECT ItemButtonRect(HWND panel, int index) {
    const int top = 12 + 34 * index;
    return RECT{0, top, ClientWidthOf(panel) - 1, top + 34};
}

POINT Centre(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

bool WaitForCloseCross(HWND panel, int side, std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&] {
            const RECT close = ClientRectOnScreen(panel, CloseButtonRect(panel, side));
            return CountPixels(CaptureScreen(close.left, close.top, 11, 11),
                               RECT{0, 0, 11, 11}, IsBlack) > 0;
        },
        timeout);
}

POINT RestingSpotOverPanel(int side, int panelWidth) {
    const int inset = std::min(20, std::max(panelWidth - 10, 1) / 2);
    return POINT{side == 0 ? inset : ScreenWidth() - 1 - inset, 600};
}

POINT SpotAwayFromPanel() { return POINT{ScreenWidth() / 2 + 88, ScreenHeight() / 2 + 16}; }

// ---- Input ---------------------------------------------------------------------------

namespace {

void SendMouseFlags(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

}  // namespace

void MoveWithInput(int x, int y) {
    SetCursorPos(x, y);
    // A move of nothing makes the system report the pointer where it now is
    // to the window under it.
    SendMouseFlags(MOUSEEVENTF_MOVE);
}

void LeftButtonDown() { SendMouseFlags(MOUSEEVENTF_LEFTDOWN); }
void LeftButtonUp() { SendMouseFlags(MOUSEEVENTF_LEFTUP); }

void DragWithLeftButton(POINT from, POINT to) {
    MoveWithInput(from.x, from.y);
    Sleep(50);
    LeftButtonDown();
    Sleep(100);
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps; ++step) {
        MoveWithInput(from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps);
        Sleep(40);
    }
    Sleep(100);
    LeftButtonUp();
}

void PostKeyToMenu(HWND menu, WORD virtualKey) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(menu, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageW(menu, WM_KEYUP, virtualKey, scan | 1 | (1LL << 30) | (1LL << 31));
}

// ---- Painted screen -------------------------------------------------------------

namespace {
constexpr int kParkedLeft = -20000;
}  // namespace

struct PaintedScreen::State {
    std::mutex mutex;
    std::condition_variable ready;
    Pattern pattern;
    HWND window = nullptr;
    bool started = false;
    std::thread thread;
    int width = ScreenWidth();
    int height = ScreenHeight();
    int left = 0;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
        auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_NCCREATE:
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_PAINT:
            if (state) {
                PAINTSTRUCT paint;
                HDC dc = BeginPaint(window, &paint);
                state->Paint(dc);
                EndPaint(window, &paint);
                return 0;
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(window, message, wp, lp);
    }

    void Paint(HDC dc) {
        Pattern current;
        {
            std::lock_guard<std::mutex> lock(mutex);
            current = pattern;
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF c = current(x, y);
                pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                    (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    }

    void Run() {
        static const wchar_t* const kClass = L"E2EPaintedScreen";
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);  // fails harmlessly when registered by an earlier test
        HWND created = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, L"", WS_POPUP, left, 0, width,
                                       height, nullptr, nullptr, wc.hInstance, this);
        // Below every other window: the panel, started before or after,
        // stays in front of it.
        if (created) ShowWindow(created, SW_SHOWNOACTIVATE);
        {
            std::lock_guard<std::mutex> lock(mutex);
            window = created;
            started = true;
        }
        ready.notify_all();
        if (!created) return;
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
};

PaintedScreen::PaintedScreen(Pattern pattern, bool parked) : state_(std::make_unique<State>()) {
    state_->pattern = std::move(pattern);
    if (parked) state_->left = kParkedLeft;
    state_->thread = std::thread([state = state_.get()] { state->Run(); });
    std::unique_lock<std::mutex> lock(state_->mutex);
    state_->ready.wait(lock, [&] { return state_->started; });
    if (!state_->window) ADD_FAILURE() << "cannot create the painted screen window, error " << GetLastError();
}

PaintedScreen::~PaintedScreen() {
    if (state_->window) PostMessageW(state_->window, WM_CLOSE, 0, 0);
    if (state_->thread.joinable()) state_->thread.join();
}

HWND PaintedScreen::Window() const { return state_->window; }

COLORREF PaintedScreen::At(int x, int y) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->pattern(x, y);
}

bool PaintedScreen::WaitUntilShown(std::chrono::milliseconds timeout) const {
    const int w = ScreenWidth(), h = ScreenHeight();
    const POINT samples[] = {{w / 2, h / 2}, {w / 2 + 37, 100}, {w / 3, h - 10}, {2 * w / 3, 7}};
    return WaitUntil(
        [&] {
            for (const POINT& p : samples)
                if (ScreenPixel(p.x, p.y) != At(p.x, p.y)) return false;
            return true;
        },
        timeout);
}

void PaintedScreen::Park() {
    SetWindowPos(state_->window, nullptr, kParkedLeft, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintedScreen::Unpark() {
    SetWindowPos(state_->window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintedScreen::Repaint(Pattern pattern) {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->pattern = std::move(pattern);
    }
    InvalidateRect(state_->window, nullptr, FALSE);
}

namespace {

BOOL CALLBACK CollectTrayWindow(HWND window, LPARAM context) {
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);  // asks no other thread, unlike WM_GETTEXT
    const bool tray = WindowClass(window) == L"Shell_TrayWnd" || std::wstring(title) == L"Wine System Tray";
    if (tray && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

}  // namespace

int MoveTrayWindowAway() {
    std::vector<HWND> trays;
    EnumWindows(CollectTrayWindow, reinterpret_cast<LPARAM>(&trays));
    for (HWND tray : trays) {
        const RECT rect = WindowRect(tray);
        SetWindowPos(tray, nullptr, (ScreenWidth() - (rect.right - rect.left)) / 2,
                     ScreenHeight() - (rect.bottom - rect.top) - 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return static_cast<int>(trays.size());
}

// ---- Colours -----------------------------------------------------------------------

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

bool IsBlack(COLORREF colour) { return colour == RGB(0, 0, 0); }
bool IsWhite(COLORREF colour) { return colour == RGB(255, 255, 255); }

int CountPixels(const ScreenImage& image, const RECT& rect, const std::function<bool(COLORREF)>& test) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (x >= 0 && y >= 0 && x < image.width && y < image.height && test(image.Pixel(x, y))) ++count;
    return count;
}

RECT BoundsOfPixels(const ScreenImage& image, const RECT& rect, const std::function<bool(COLORREF)>& test) {
    RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (x >= 0 && y >= 0 && x < image.width && y < image.height && test(image.Pixel(x, y))) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    return bounds.left == INT_MAX ? RECT{0, 0, 0, 0} : bounds;
}

// ---- Pictures ----------------------------------------------------------------------

bool SaveScreenshotCrop(const std::wstring& name, const RECT& screenRect, const std::wstring& alsoTo) {
    const ScreenImage image = CaptureScreen(screenRect.left, screenRect.top, screenRect.right - screenRect.left,
                                            screenRect.bottom - screenRect.top);
    if (image.rgb.empty()) return false;
    const auto png = EncodePng(image.width, image.height, image.rgb);
    bool ok = WriteFileBytes(JoinPath(GetConfig().screenshotDir, name + L".png"), png);
    if (!alsoTo.empty()) ok = WriteFileBytes(alsoTo, png) && ok;
    return ok;
}

bool SavePicturePng(const std::wstring& name, int width, int height, const std::vector<COLORREF>& pixels) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (COLORREF c : pixels) {
        rgb.push_back(GetRValue(c));
        rgb.push_back(GetGValue(c));
        rgb.push_back(GetBValue(c));
    }
    return WriteFileBytes(JoinPath(GetConfig().screenshotDir, name + L".png"), EncodePng(width, height, rgb));
}

std::vector<std::uint8_t> FramedIconBmp(COLORREF key, COLORREF fill) {
    constexpr int kSize = 32;
    constexpr std::uint32_t kStride = kSize * 3;  // already a multiple of 4
    constexpr std::uint32_t kPixelBytes = kStride * kSize;
    std::vector<std::uint8_t> bmp;
    const auto put16 = [&](std::uint16_t v) {
        bmp.push_back(static_cast<std::uint8_t>(v));
        bmp.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto put32 = [&](std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) bmp.push_back(static_cast<std::uint8_t>(v >> shift));
    };
    bmp.push_back('B');
    bmp.push_back('M');
    put32(54 + kPixelBytes);
    put32(0);
    put32(54);
    put32(40);
    put32(kSize);
    put32(kSize);
    put16(1);
    put16(24);
    put32(0);
    put32(kPixelBytes);
    put32(0);
    put32(0);
    put32(0);
    put32(0);
    const COLORREF rim = RGB(GetRValue(fill) / 2, GetGValue(fill) / 2, GetBValue(fill) / 2);
    for (int row = kSize - 1; row >= 0; --row)  // bottom-up rows
        for (int x = 0; x < kSize; ++x) {
            const int edge = std::min(std::min(x, row), std::min(kSize - 1 - x, kSize - 1 - row));
            const COLORREF c = edge < 2 ? key : edge < 4 ? rim : fill;
            bmp.push_back(GetBValue(c));
            bmp.push_back(GetGValue(c));
            bmp.push_back(GetRValue(c));
        }
    return bmp;
}

// ---- Text and files --------------------------------------------------------------

std::string ToCp1251(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::wstring NormaliseLineBreaks(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            out += L'\n';
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void WriteSettings(const std::vector<std::string>& keys) {
    std::vector<std::string> lines{"[Keelstrip]"};
    lines.insert(lines.end(), keys.begin(), keys.end());
    if (!WriteIni(lines)) ADD_FAILURE() << "cannot write " << Narrow(IniPath());
}

std::wstring SettingValue(const IniSection& section, const std::wstring& key) {
    const auto found = section.find(key);
    return found == section.end() ? L"<missing>" : found->second;
}

std::vector<ProbeStart> ReadProbeStarts(const std::wstring& folder) {
    std::vector<ProbeStart> starts;
    const auto bytes = ReadFileBytes(JoinPath(folder, L"probe-record.txt"));
    if (!bytes) return starts;
    const std::wstring text = FromUtf8(std::string(bytes->begin(), bytes->end()));
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    for (size_t i = 0; i + 1 < lines.size(); i += 2) starts.push_back({lines[i], lines[i + 1]});
    return starts;
}

std::wstring ArgumentsOf(const std::wstring& commandLine) {
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        at = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        at = std::min(commandLine.find(L' '), commandLine.size());
    }
    while (at < commandLine.size() && commandLine[at] == L' ') ++at;
    return commandLine.substr(at);
}

bool SamePath(std::wstring a, std::wstring b) {
    for (std::wstring* s : {&a, &b}) {
        for (auto& c : *s)
            if (c == L'/') c = L'\\';
        if (!s->empty()) CharLowerBuffW(s->data(), static_cast<DWORD>(s->size()));
        while (s->size() > 3 && s->back() == L'\\') s->pop_back();
    }
    return a == b;
}

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    return length > 0 && length < 32768 ? std::wstring(buffer, length) : std::wstring{};
}

}  // namespace e2e
