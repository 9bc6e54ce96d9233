#include "common/bmp_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "common/errors.h"

namespace tilerack {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMasksInHeaderSize = 52;  // V2 and later info headers carry the masks
constexpr size_t kFileHeaderSize = 14;
constexpr int64_t kMaxPixels = 16 * 1024 * 1024;

constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

[[noreturn]] void Invalid() { throw TError(kBitmapInvalid); }

uint32_t LoadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct DibHeader {
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0;  // as stored: negative for top-down rows
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = kUncompressed;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t colorsUsed = 0;
    std::array<uint32_t, 3> masks{};  // red, green, blue; valid for bit fields
    bool IsCore() const { return size == kCoreHeaderSize; }
};

DibHeader ReadDibHeader(ByteReader& in) {
    DibHeader h;
    h.size = in.U32();
    if (h.IsCore()) {
        const uint8_t* p = in.Take(8);
        h.width = LoadU16(p);  // core dimensions are unsigned: always bottom-up
        h.height = LoadU16(p + 2);
        h.planes = LoadU16(p + 4);
        h.bitCount = LoadU16(p + 6);
        return h;
    }
    // Only the core header and the info header with its longer successors are
    // understood; anything shorter cannot even hold the fields read below.
    if (h.size < kInfoHeaderSize) Invalid();
    const uint8_t* body = in.Take(h.size - 4);
    // Offsets below count from the start of the header, size field included.
    auto u32At = [body](size_t offset) { return LoadU32(body + offset - 4); };
    h.width = static_cast<int32_t>(u32At(4));
    h.height = static_cast<int32_t>(u32At(8));
    h.planes = LoadU16(body + 12 - 4);
    h.bitCount = LoadU16(body + 14 - 4);
    h.compression = u32At(16);
    h.sizeImage = u32At(20);
    h.xPelsPerMeter = static_cast<int32_t>(u32At(24));
    h.yPelsPerMeter = static_cast<int32_t>(u32At(28));
    h.colorsUsed = u32At(32);
    if (h.size >= kMasksInHeaderSize)
        for (size_t i = 0; i < 3; ++i) h.masks[i] = u32At(40 + 4 * i);
    return h;
}

bool IsPaletted(uint16_t bitCount) { return bitCount == 1 || bitCount == 4 || bitCount == 8; }

// Refuses what this reader cannot turn into a sound picture, before anything
// is allocated for it.
void CheckDecodable(const DibHeader& h) {
    if (h.planes != 1) Invalid();
    if (h.width == 0 && h.height == 0) {
        // The empty picture; only its depth needs to make sense.
    } else if (h.width <= 0 || h.height == 0 || h.width * std::llabs(h.height) > kMaxPixels) {
        Invalid();
    }
    switch (h.compression) {
    case kUncompressed:
        if (!IsPaletted(h.bitCount) && h.bitCount != 16 && h.bitCount != 24 && h.bitCount != 32)
            Invalid();
        break;
    case kBitFields:
        if (h.bitCount != 16 && h.bitCount != 32) Invalid();
        if (h.size > kInfoHeaderSize && h.size < kMasksInHeaderSize) Invalid();  // masks nowhere
        break;
    case kRle8:
        if (h.bitCount != 8) Invalid();
        break;
    case kRle4:
        if (h.bitCount != 4) Invalid();
        break;
    default:  // JPEG, PNG and the rest: nothing this reader can decode
        Invalid();
    }
}

using Rgb24 = std::array<uint8_t, 3>;  // blue, green, red

struct ColorTable {
    std::vector<Rgb24> colors;
    std::vector<uint8_t> raw;  // 4 bytes an entry, as the writer puts them back
    Rgb24 At(uint32_t index) const { return index < colors.size() ? colors[index] : Rgb24{}; }
};

ColorTable ReadColorTable(ByteReader& in, const DibHeader& h) {
    uint64_t count = h.IsCore() ? 0 : h.colorsUsed;
    if (count == 0 && IsPaletted(h.bitCount)) count = uint64_t{1} << h.bitCount;
    const uint64_t entrySize = h.IsCore() ? 3 : 4;
    if (count * entrySize > in.Remaining()) throw TError(kStreamReadError);
    const uint8_t* p = in.Take(static_cast<size_t>(count * entrySize));
    ColorTable table;
    table.colors.resize(static_cast<size_t>(count));
    table.raw.resize(static_cast<size_t>(count) * 4);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = p + i * entrySize;
        table.colors[i] = {e[0], e[1], e[2]};
        table.raw[i * 4] = e[0];
        table.raw[i * 4 + 1] = e[1];
        table.raw[i * 4 + 2] = e[2];
        table.raw[i * 4 + 3] = entrySize == 4 ? e[3] : 0;
    }
    return table;
}

// One colour channel described by a bit mask of any width and position.
class MaskChannel {
public:
    explicit MaskChannel(uint32_t mask) : mask_(mask) {
        if (mask == 0) return;
        shift_ = std::countr_zero(mask);
        width_ = std::bit_width(mask >> shift_);
    }
    uint8_t Extract(uint32_t pixel) const {
        if (width_ == 0) return 0;
        uint32_t v = (pixel & mask_) >> shift_;
        int width = width_;
        if (width > 8) {
            v >>= width - 8;
            width = 8;
        }
        // Repeat the bits downwards so that full scale maps to 255.
        uint32_t out = 0;
        for (int pos = 8 - width; pos > -width; pos -= width)
            out |= pos >= 0 ? v << pos : v >> -pos;
        return static_cast<uint8_t>(out);
    }

private:
    uint32_t mask_;
    int shift_ = 0;
    int width_ = 0;
};

struct PixelFormat {
    uint16_t bitCount;
    const ColorTable* table;
    std::array<MaskChannel, 3> channels;  // red, green, blue
};

PixelFormat MakePixelFormat(const DibHeader& h, const ColorTable& table) {
    std::array<uint32_t, 3> masks = h.masks;
    if (h.compression != kBitFields) {
        if (h.bitCount == 16) masks = {0x7C00, 0x03E0, 0x001F};
        else masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }
    return {h.bitCount, &table, {MaskChannel(masks[0]), MaskChannel(masks[1]), MaskChannel(masks[2])}};
}

// Converts the first `available` bytes of one stored row; pixels whose bytes
// are missing stay as they are (black in a fresh picture).
void ConvertRow(const PixelFormat& f, const uint8_t* src, size_t available, int width, uint8_t* dst) {
    const size_t usable = std::min<size_t>(width, available * 8 / f.bitCount);
    for (size_t x = 0; x < usable; ++x) {
        Rgb24 c;
        switch (f.bitCount) {
        case 1: c = f.table->At((src[x / 8] >> (7 - x % 8)) & 1); break;
        case 4: c = f.table->At((src[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F); break;
        case 8: c = f.table->At(src[x]); break;
        case 24: c = {src[x * 3], src[x * 3 + 1], src[x * 3 + 2]}; break;
        default: {
            const uint32_t v = f.bitCount == 16 ? LoadU16(src + x * 2) : LoadU32(src + x * 4);
            c = {f.channels[2].Extract(v), f.channels[1].Extract(v), f.channels[0].Extract(v)};
        }
        }
        dst[x * 3] = c[0];
        dst[x * 3 + 1] = c[1];
        dst[x * 3 + 2] = c[2];
    }
}

// Maps stored row order (first stored row = 0) to the picture's rows.
struct RowOrder {
    int height;
    bool topDown;
    int PictureRow(int64_t storedRow) const {
        return topDown ? static_cast<int>(storedRow) : height - 1 - static_cast<int>(storedRow);
    }
};

void DecodeUncompressed(const PixelFormat& f, const uint8_t* data, size_t size, RowOrder order,
                        TBitmap& picture) {
    const size_t stride = ((static_cast<size_t>(picture.Width()) * f.bitCount + 31) / 32) * 4;
    for (int r = 0; r < order.height; ++r) {
        const size_t offset = static_cast<size_t>(r) * stride;
        if (offset >= size) break;  // image cut short: the rest stays black
        ConvertRow(f, data + offset, std::min(stride, size - offset), picture.Width(),
                   picture.Row(order.PictureRow(r)));
    }
}

// Run-length forms: pairs of (count, value) with escapes for end of line, end
// of image, a jump and literal runs padded to 16 bits. Pixels that fall
// outside the picture are dropped; pixels never painted stay black.
void DecodeRunLength(const DibHeader& h, const ColorTable& table, const uint8_t* data, size_t size,
                     RowOrder order, TBitmap& picture) {
    const bool fourBit = h.compression == kRle4;
    const int64_t width = picture.Width();
    int64_t x = 0, row = 0;
    auto put = [&](uint32_t index) {
        if (x < width) {
            const Rgb24 c = table.At(index);
            uint8_t* p = picture.Row(order.PictureRow(row)) + x * 3;
            p[0] = c[0];
            p[1] = c[1];
            p[2] = c[2];
        }
        ++x;
    };
    size_t i = 0;
    while (i + 2 <= size && row < order.height) {
        const uint8_t count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(fourBit ? (k % 2 ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (i + 2 > size) return;
            x += data[i];
            row += data[i + 1];
            i += 2;
        } else {
            const size_t bytes = fourBit ? (value + 1) / 2 : value;
            const size_t present = std::min(bytes, size - i);
            for (size_t k = 0; k < value; ++k) {
                const size_t byte = fourBit ? k / 2 : k;
                if (byte >= present) break;
                put(fourBit ? (k % 2 ? data[i + byte] & 0x0F : data[i + byte] >> 4) : data[i + byte]);
            }
            i += std::min(bytes + (bytes & 1), size - i);
        }
    }
}

}  // namespace

namespace {

// The picture after the file header: info header, colour table and pixels,
// read in sequence (the file header's offset is not needed).
void ReadDibBody(ByteReader& in, TBitmap& picture) {
    DibHeader h = ReadDibHeader(in);
    CheckDecodable(h);
    if (h.size == kInfoHeaderSize && h.compression == kBitFields) {
        const uint8_t* m = in.Take(12);
        for (int i = 0; i < 3; ++i) h.masks[i] = LoadU32(m + 4 * i);
    }
    const ColorTable table = ReadColorTable(in, h);

    const uint8_t* data = nullptr;
    size_t size = 0;
    if (h.compression == kRle8 || h.compression == kRle4) {
        size = in.TakeUpTo(in.Remaining(), &data);
    } else {
        uint64_t wanted = h.sizeImage;
        if (wanted == 0)
            wanted = static_cast<uint64_t>((h.width * h.bitCount + 31) / 32) * 4 * std::llabs(h.height);
        size = in.TakeUpTo(static_cast<size_t>(std::min<uint64_t>(wanted, in.Remaining())), &data);
    }

    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(std::llabs(h.height));
    BitmapUpdate batch(picture);
    picture.SetSize(0, 0);
    picture.SetSize(width, height);
    picture.xPelsPerMeter = h.xPelsPerMeter;
    picture.yPelsPerMeter = h.yPelsPerMeter;
    picture.palette = h.bitCount == 24 ? table.raw : std::vector<uint8_t>();
    const RowOrder order{height, h.height < 0};
    if (h.compression == kRle8 || h.compression == kRle4)
        DecodeRunLength(h, table, data, size, order, picture);
    else
        DecodeUncompressed(MakePixelFormat(h, table), data, size, order, picture);
    picture.Changed();
}

}  // namespace

void ReadEmbeddedBitmap(ByteReader& in, TBitmap& picture) {
    if (in.AtEnd()) {
        picture.Assign(TBitmap());
        return;
    }
    const uint8_t* fileHeader = in.Take(kFileHeaderSize);
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M') Invalid();
    ReadDibBody(in, picture);
}

void ReadPackedDib(const uint8_t* data, size_t size, TBitmap& picture) {
    ByteReader in(data, size);
    ReadDibBody(in, picture);
}

namespace {

struct EmbeddedLayout {
    uint32_t width, height;
    uint64_t stride, pixelBytes, colors, offBits;
};

EmbeddedLayout LayoutOf(const TBitmap& picture) {
    EmbeddedLayout l{};
    const bool empty = picture.Empty();
    l.width = empty ? 0 : static_cast<uint32_t>(picture.Width());
    l.height = empty ? 0 : static_cast<uint32_t>(picture.Height());
    l.stride = TBitmap::StrideFor(static_cast<int>(l.width));
    l.pixelBytes = l.stride * l.height;
    l.colors = picture.palette.size() / 4;
    l.offBits = kFileHeaderSize + kInfoHeaderSize + l.colors * 4;
    return l;
}

}  // namespace

uint64_t EmbeddedBitmapSize(const TBitmap& picture) {
    const EmbeddedLayout l = LayoutOf(picture);
    return l.offBits + l.pixelBytes;
}

void WriteEmbeddedBitmap(ByteWriter& out, const TBitmap& picture) {
    const auto [width, height, stride, pixelBytes, colors, offBits] = LayoutOf(picture);
    if (offBits + pixelBytes > std::numeric_limits<uint32_t>::max()) throw TError(kStreamWriteError);

    out.U8('B');
    out.U8('M');
    out.U32(static_cast<uint32_t>(offBits + pixelBytes));
    out.U16(0);
    out.U16(0);
    out.U32(static_cast<uint32_t>(offBits));
    out.U32(kInfoHeaderSize);
    out.U32(width);
    out.U32(height);
    out.U16(1);
    out.U16(24);
    out.U32(kUncompressed);
    out.U32(static_cast<uint32_t>(pixelBytes));
    out.I32(picture.xPelsPerMeter);
    out.I32(picture.yPelsPerMeter);
    out.U32(static_cast<uint32_t>(colors));
    out.U32(0);
    out.Put(picture.palette.data(), static_cast<size_t>(colors * 4));
    // Bottom-up rows, each padded with zeros to the stride.
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    uint8_t* rows = out.Extend(pixelBytes);
    for (uint32_t y = height; y-- > 0; rows += stride) std::memcpy(rows, picture.Row(static_cast<int>(y)), rowBytes);
}

}  // namespace tilerack
