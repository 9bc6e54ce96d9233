#include "screen_capture.h"

#include "e2e_harness.h"
#include "png_writer.h"

namespace e2e {

COLORREF ScreenImage::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return RGB(rgb[at], rgb[at + 1], rgb[at + 2]);
}

ScreenImage CaptureScreen(int left, int top, int width, int height) {
    if (width <= 0 || height <= 0) {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
    }
    ScreenImage image;
    HDC screen = GetDC(nullptr);
    if (!screen) return image;
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        const bool copied = BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        SelectObject(memory, previous);
        if (copied) {
            const size_t stride = ((static_cast<size_t>(width) * 24 + 31) / 32) * 4;
            const auto* source = static_cast<const std::uint8_t*>(bits);
            image.width = width;
            image.height = height;
            image.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* row = source + stride * static_cast<size_t>(y);
                std::uint8_t* out = image.rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3;
                for (int x = 0; x < width; ++x) {
                    out[3 * x] = row[3 * x + 2];  // the DIB holds blue, green, red
                    out[3 * x + 1] = row[3 * x + 1];
                    out[3 * x + 2] = row[3 * x];
                }
            }
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

COLORREF ScreenPixel(int x, int y) { return CaptureScreen(x, y, 1, 1).Pixel(0, 0); }

std::wstring SaveScreenshotPng(const std::wstring& name) {
    const ScreenImage image = CaptureScreen();
    if (image.rgb.empty()) return {};
    const std::wstring path = JoinPath(GetConfig().screenshotDir, name + L".png");
    return WriteFileBytes(path, EncodePng(image.width, image.height, image.rgb)) ? path : std::wstring{};
}

}  // namespace e2e
