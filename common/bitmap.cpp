#include "common/bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tilerack {

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    const int stride = StrideFor(width);
    std::vector<uint8_t> pixels(static_cast<size_t>(stride) * height, 0);
    const int keepRows = std::min(height, height_);
    const int keepBytes = std::min(width, width_) * 3;
    for (int y = 0; y < keepRows; ++y)
        std::memcpy(pixels.data() + static_cast<size_t>(y) * stride, Row(y), keepBytes);
    pixels_.swap(pixels);
    width_ = width;
    height_ = height;
    stride_ = stride;
    Changed();
}

Color TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const uint8_t* p = Row(y) + x * 3;
    return Rgb(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t* p = Row(y) + x * 3;
    p[0] = static_cast<uint8_t>(BlueOf(c));
    p[1] = static_cast<uint8_t>(GreenOf(c));
    p[2] = static_cast<uint8_t>(RedOf(c));
    Changed();
}

void TBitmap::Fill(Color c) {
    if (Empty()) return;
    uint8_t* first = Row(0);
    for (int x = 0; x < width_; ++x) {
        first[x * 3] = static_cast<uint8_t>(BlueOf(c));
        first[x * 3 + 1] = static_cast<uint8_t>(GreenOf(c));
        first[x * 3 + 2] = static_cast<uint8_t>(RedOf(c));
    }
    for (int y = 1; y < height_; ++y) std::memcpy(Row(y), first, stride_);
    Changed();
}

void TBitmap::Draw(int x, int y, const TBitmap& src) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + src.Width(), width_), y1 = std::min(y + src.Height(), height_);
    if (x0 >= x1 || y0 >= y1) return;
    for (int row = y0; row < y1; ++row)
        std::memcpy(Row(row) + x0 * 3, src.Row(row - y) + (x0 - x) * 3, (x1 - x0) * 3);
    Changed();
}

void TBitmap::AssignRows(int width, int height, const uint8_t* rows) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    stride_ = StrideFor(width_);
    const size_t bytes = static_cast<size_t>(stride_) * height_;
    pixels_.assign(rows, rows + (rows ? bytes : 0));
    pixels_.resize(bytes);
    Changed();
}

void TBitmap::Assign(const TBitmap& other) {
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        pixels_ = other.pixels_;
        xPelsPerMeter = other.xPelsPerMeter;
        yPelsPerMeter = other.yPelsPerMeter;
        palette = other.palette;
    }
    Changed();
}

void TBitmap::Changed() {
    if (updateDepth_ > 0) {
        pendingChange_ = true;
        return;
    }
    if (OnChange) OnChange();
}

void TBitmap::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0 && pendingChange_) {
        pendingChange_ = false;
        if (OnChange) OnChange();
    }
}

void BlackenOutside(const PixelRows& rows, int left, int top, int right, int bottom) {
    if (!rows.bits) return;
    left = std::clamp(left, 0, rows.width);
    right = std::clamp(right, left, rows.width);
    top = std::clamp(top, 0, rows.height);
    bottom = std::clamp(bottom, top, rows.height);
    const size_t rowBytes = static_cast<size_t>(rows.width) * 3;
    for (int y = 0; y < rows.height; ++y) {
        uint8_t* row = rows.Row(y);
        if (y < top || y >= bottom || left == right) {
            std::memset(row, 0, rowBytes);
            continue;
        }
        std::memset(row, 0, static_cast<size_t>(left) * 3);
        std::memset(row + right * 3, 0, rowBytes - static_cast<size_t>(right) * 3);
    }
}

void DrawGlyphImage(PixelRows target, int x, int y, const TBitmap& glyph, int index, int count) {
    if (glyph.Empty() || count <= 0) return;
    const int w = glyph.Width() / count;
    const int h = glyph.Height();
    const uint8_t* key = glyph.Row(h - 1);  // the lower-left pixel
    const int sx0 = index * w;
    for (int row = std::max(0, -y); row < h && y + row < target.height; ++row) {
        const uint8_t* src = glyph.Row(row);
        uint8_t* dst = target.Row(y + row);
        for (int col = std::max(0, -x); col < w && x + col < target.width; ++col) {
            const uint8_t* p = src + (sx0 + col) * 3;
            if (p[0] == key[0] && p[1] == key[1] && p[2] == key[2]) continue;
            uint8_t* q = dst + (x + col) * 3;
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
        }
    }
}

void MirrorBitmap(TBitmap& bitmap) {
    const int w = bitmap.Width();
    std::vector<uint8_t> scratch(static_cast<size_t>(w) * 3);
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = bitmap.Row(y);
        std::memcpy(scratch.data(), row, scratch.size());
        for (int x = 0; x < w; ++x) std::memcpy(row + x * 3, scratch.data() + (w - 1 - x) * 3, 3);
    }
    bitmap.Changed();
}

}  // namespace tilerack
