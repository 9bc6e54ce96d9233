#include "platform/dib.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace tilerack::win {

namespace {

BITMAPINFO TopDown24(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

DibCanvas::DibCanvas(int width, int height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {
    WindowDC screen;
    dc_.reset(CreateCompatibleDC(screen.get()));
    BITMAPINFO info = TopDown24(width_, height_);
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (dc_ && bitmap_) {
        bits_ = static_cast<uint8_t*>(bits);
        oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
    }
}

DibCanvas::~DibCanvas() {
    if (oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
}

PixelRows DibCanvas::Rows() const {
    if (!bits_) return {};
    GdiFlush();
    return {bits_, width_, height_, TBitmap::StrideFor(width_)};
}

void DibCanvas::CopyFrom(const TBitmap& picture) {
    if (!bits_) return;
    GdiFlush();
    const int stride = TBitmap::StrideFor(width_);
    const int rows = std::min(height_, picture.Height());
    const int bytes = std::min(width_, picture.Width()) * 3;
    for (int y = 0; y < rows; ++y) std::memcpy(bits_ + static_cast<size_t>(y) * stride, picture.Row(y), bytes);
}

void DibCanvas::CopyTo(TBitmap& picture) const {
    if (!bits_) return;
    GdiFlush();
    // The section's rows are laid out as the picture's: one copy, no clearing first.
    picture.AssignRows(width_, height_, bits_);
}

void DrawPicture(HDC dc, int x, int y, const TBitmap& picture) {
    if (picture.Empty()) return;
    BITMAPINFO info = TopDown24(picture.Width(), picture.Height());
    SetDIBitsToDevice(dc, x, y, picture.Width(), picture.Height(), 0, 0, 0, picture.Height(), picture.Bits(),
                      &info, DIB_RGB_COLORS);
}

int CaptureBandBytes() {
    // Windows copies the screen straight into the bitmap, and with desktop
    // composition every read costs a round trip of its own: one read. Wine's
    // X driver fetches each copy into a transient block of its own, which
    // the C runtime keeps once freed: there bands of about 64 KB keep that
    // block small, and a read costs little more than its bytes.
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine ? 64 * 1024 : INT_MAX;
}

DibCanvas& KeptCanvas::Get(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    fresh_ = !canvas_ || canvas_->Width() != width || canvas_->Height() != height;
    if (fresh_) canvas_ = std::make_unique<DibCanvas>(width, height);
    return *canvas_;
}

void CaptureScreen(int x, int y, int width, int height, TBitmap& picture) {
    KeptCanvas once;
    CaptureScreen(x, y, width, height, picture, once);
}

void CaptureScreen(int x, int y, int width, int height, TBitmap& picture, KeptCanvas& kept, int readColumns) {
    DibCanvas& canvas = kept.Get(width, height);
    // Only the part on the screens is copied; the rest is black. Copies
    // reaching past the screens' edge come back black as a whole on some
    // systems (Wine), not just their outside part.
    const int screensLeft = GetSystemMetrics(SM_XVIRTUALSCREEN), screensTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int left = std::max(x, screensLeft), top = std::max(y, screensTop);
    const int readRight = readColumns < 0 ? x + width : x + std::min(readColumns, width);
    const int right = std::min(readRight, screensLeft + GetSystemMetrics(SM_CXVIRTUALSCREEN));
    const int bottom = std::min(y + height, screensTop + GetSystemMetrics(SM_CYVIRTUALSCREEN));
    // A new canvas is black already: touching it all first would cost
    // more than the read (fresh pages).
    if (!kept.Fresh() && (left > x || top > y || right < x + width || bottom < y + height))
        BlackenOutside(canvas.Rows(), left - x, top - y, right - x, bottom - y);
    if (left < right && top < bottom) {
        const int bandRows = std::max(1, CaptureBandBytes() / (4 * (right - left)));
        WindowDC screen;
        for (int row = top; row < bottom; row += bandRows)
            BitBlt(canvas.dc(), left - x, row - y, right - left, std::min(bandRows, bottom - row), screen.get(), left,
                   row, SRCCOPY);
    }
    canvas.CopyTo(picture);
}

COLORREF ToColorRef(int32_t color) {
    if (color < 0) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

}  // namespace tilerack::win
