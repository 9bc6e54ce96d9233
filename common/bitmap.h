#pragma once
// A 24-bit picture with direct row access and a change notification.
//
// Rows are stored top-down, 3 bytes a pixel in the order blue, green, red,
// each row padded to a multiple of 4 bytes: exactly the layout of a top-down
// 24-bit DIB, so the Windows side can hand the buffer to GDI unchanged.
// Colours are COLORREF-style values 0x00BBGGRR.
#include <cstdint>
#include <functional>
#include <vector>

namespace tilerack {

using Color = uint32_t;  // 0x00BBGGRR

constexpr Color Rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Color c) { return c & 0xFF; }
constexpr int GreenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Color c) { return (c >> 16) & 0xFF; }

// Rows of 24-bit pixels laid out like a TBitmap's, held elsewhere (a DIB
// section's bits, or a TBitmap's own): what drawing into a picture needs.
struct PixelRows {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    uint8_t* Row(int y) const { return bits + static_cast<size_t>(y) * stride; }
};

// Blackens every pixel of `rows` outside the columns [left, right) of the
// rows [top, bottom); the pixels inside stay as they are.
void BlackenOutside(const PixelRows& rows, int left, int top, int right, int bottom);

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    TBitmap(const TBitmap& other) : xPelsPerMeter(other.xPelsPerMeter), yPelsPerMeter(other.yPelsPerMeter),
        palette(other.palette), width_(other.width_), height_(other.height_), stride_(other.stride_),
        pixels_(other.pixels_) {}
    TBitmap& operator=(const TBitmap& other) { Assign(other); return *this; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    static int StrideFor(int width) { return ((width * 24 + 31) / 32) * 4; }
    int Stride() const { return stride_; }

    // Resizing keeps the overlapping top-left content; new pixels are black.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    uint8_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
    const uint8_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }
    uint8_t* Bits() { return pixels_.data(); }
    const uint8_t* Bits() const { return pixels_.data(); }
    size_t ByteSize() const { return pixels_.size(); }
    // The pixels to draw into; drawing through them fires no change.
    PixelRows Rows() { return {pixels_.data(), width_, height_, stride_}; }

    Color Pixel(int x, int y) const;
    void SetPixel(int x, int y, Color c);  // ignored outside the picture
    void Fill(Color c);
    // Copies another picture at (x, y), clipped; pixels are copied opaque.
    void Draw(int x, int y, const TBitmap& src);

    // Replaces size and pixels by `height` rows of `width` pixels laid out as
    // this class lays them out, in one pass; the header extras stay.
    void AssignRows(int width, int height, const uint8_t* rows);
    // Replaces size, pixels and stored header extras by a copy of `other`.
    // Counts as a change even when the picture is the same.
    void Assign(const TBitmap& other);

    // Change notification: fired once per modifying operation. Between
    // BeginUpdate and EndUpdate the changes collapse into one, fired at the end.
    std::function<void()> OnChange;
    void Changed();
    void BeginUpdate() { ++updateDepth_; }
    void EndUpdate();

    // Header values of the picture that the item file writes back unchanged.
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    std::vector<uint8_t> palette;  // colour table entries, 4 bytes each (B, G, R, 0)

    bool SamePixels(const TBitmap& other) const {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }

private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::vector<uint8_t> pixels_;
    int updateDepth_ = 0;
    bool pendingChange_ = false;
};

// Groups several modifications of a picture into one change notification.
class BitmapUpdate {
public:
    explicit BitmapUpdate(TBitmap& bmp) : bmp_(bmp) { bmp_.BeginUpdate(); }
    ~BitmapUpdate() { bmp_.EndUpdate(); }
    BitmapUpdate(const BitmapUpdate&) = delete;
    BitmapUpdate& operator=(const BitmapUpdate&) = delete;
private:
    TBitmap& bmp_;
};

// Draws image `index` of a glyph of `count` images at (x, y) into `target`,
// leaving out the pixels of the glyph's lower-left colour.
void DrawGlyphImage(PixelRows target, int x, int y, const TBitmap& glyph, int index, int count);
inline void DrawGlyphImage(TBitmap& target, int x, int y, const TBitmap& glyph, int index, int count) {
    DrawGlyphImage(target.Rows(), x, y, glyph, index, count);
}

// Mirrors a picture left to right in place.
void MirrorBitmap(TBitmap& bitmap);

}  // namespace tilerack
