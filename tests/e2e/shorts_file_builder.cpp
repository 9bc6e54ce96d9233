#include "shorts_file_builder.h"

#include <algorithm>
#include <functional>
#include <string>

#include "tests/unit/le_bytes.h"

namespace e2e {

namespace {

using tilerack::testing::InfoBmp;
using tilerack::testing::LeBytes;

// A 24-bit bottom-up image; `colour` gives 0x00BBGGRR for each pixel.
std::vector<std::uint8_t> Bmp24Image(int width, int height, const std::function<std::uint32_t(int x, int y)>& colour) {
    const int stride = (width * 3 + 3) / 4 * 4;
    InfoBmp bmp{.width = width, .height = height, .sizeImage = static_cast<std::uint32_t>(stride * height)};
    for (int y = height - 1; y >= 0; --y) {  // bottom-up rows of blue, green, red
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            bmp.pixels.insert(bmp.pixels.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                                 static_cast<std::uint8_t>(c)});
        }
        bmp.pixels.resize(bmp.pixels.size() + stride - width * 3, 0);
    }
    return bmp.Bytes();
}

}  // namespace

std::vector<std::uint8_t> Bmp24Image(std::uint32_t seed) {
    return Bmp24Image(32, 32, [seed](int x, int y) {
        // Smooth gradients plus a little noise: every byte value matters.
        const std::uint32_t noise = (static_cast<std::uint32_t>(x * 32 + y) + seed * 1013904223u) * 2654435761u;
        const std::uint32_t blue = x * 8 + (noise >> 29), green = y * 8 + seed, red = (x + y) * 4 + (noise >> 24);
        return ((blue & 0xFF) << 16) | ((green & 0xFF) << 8) | (red & 0xFF);
    });
}

std::vector<std::uint8_t> FramedIconBmp(std::uint32_t key, std::uint32_t fill) {
    const std::uint32_t rim = (fill >> 1) & 0x7F7F7F;
    return Bmp24Image(32, 32, [=](int x, int y) {
        const int edge = std::min(std::min(x, y), std::min(31 - x, 31 - y));
        return edge < 2 ? key : edge < 4 ? rim : fill;
    });
}

std::vector<std::uint8_t> KeyedSquareBmp(std::uint32_t key, std::uint32_t fill, int ring) {
    return Bmp24Image(32, 32, [=](int x, int y) {
        const int edge = std::min(std::min(x, y), std::min(31 - x, 31 - y));
        return edge < ring ? key : fill;
    });
}

ShortsFile BuildShortsFile(const std::vector<ShortRecord>& records) {
    ShortsFile file;
    LeBytes b;
    b.U32(static_cast<std::uint32_t>(records.size()));
    for (const auto& record : records) {
        file.recordOffsets.push_back(b.bytes.size());
        b.Text(record.params).Text(record.fileName).Text(record.caption).Text(record.workDir).Text(record.hint);
        b.U8(record.trackDrives ? 1 : 0);
        file.slotOffsets.push_back(b.bytes.size());
        b.U32(record.buttonSlot);
        file.imageOffsets.push_back(b.bytes.size());
        b.Raw(record.image);
    }
    file.bytes = b.bytes;
    return file;
}

bool SameApartFromSlots(const std::vector<std::uint8_t>& saved, const ShortsFile& original) {
    if (saved.size() != original.bytes.size()) return false;
    std::vector<std::uint8_t> expected = original.bytes;
    for (std::size_t offset : original.slotOffsets) std::copy_n(saved.begin() + offset, 4, expected.begin() + offset);
    return saved == expected;
}

namespace {

// Little-endian fields read from a byte string; a read past its end fails
// the whole reading.
class FieldReader {
public:
    explicit FieldReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::size_t Position() const { return at_; }
    std::size_t Left() const { return bytes_.size() - at_; }
    bool Has(std::size_t count) const { return count <= Left(); }
    std::uint32_t U(int size) {
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i) value |= static_cast<std::uint32_t>(bytes_[at_ + i]) << (8 * i);
        at_ += static_cast<std::size_t>(size);
        return value;
    }
    std::vector<std::uint8_t> Take(std::size_t count) {
        std::vector<std::uint8_t> taken(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                                        bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + count));
        at_ += count;
        return taken;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
};

// The length of the image at the reader's place, by the headers the program
// writes and reads (14-byte file header, then a core or an info header,
// masks, colour table, pixels); an empty string when it breaks them.
std::string MeasureImage(const std::vector<std::uint8_t>& bytes, std::size_t start, std::size_t& length) {
    FieldReader in(bytes);
    in.Take(start);
    if (in.Left() == 0) return length = 0, "";
    if (!in.Has(18)) return "an image header cut short";
    const std::uint32_t magic = in.U(2), fileSize = in.U(4);
    in.U(4);
    in.U(4);
    if (magic != 0x4D42) return "an image without \"BM\"";
    const std::uint32_t headerSize = in.U(4);
    const bool core = headerSize == 12;
    if (headerSize < 12 || !in.Has(headerSize - 4)) return "an image header cut short";
    std::uint32_t width = 0, height = 0, planes = 0, bitCount = 0, compression = 0, sizeImage = 0, colours = 0;
    if (core) {
        width = in.U(2), height = in.U(2), planes = in.U(2), bitCount = in.U(2);
    } else {
        if (headerSize < 40) return "an info header shorter than 40 bytes";
        width = in.U(4), height = in.U(4), planes = in.U(2), bitCount = in.U(2), compression = in.U(4);
        sizeImage = in.U(4);
        in.U(4), in.U(4);
        colours = in.U(4);
        in.Take(headerSize - 36);
    }
    if (planes != 1) return "an image with " + std::to_string(planes) + " planes";
    if (compression != 0 && compression != 3) return "a run-length image";
    const bool masks = headerSize == 40 && (bitCount == 16 || bitCount == 32) && compression == 3;
    if (masks) in.Take(std::min<std::size_t>(12, in.Left()));
    if (colours == 0 && (bitCount == 1 || bitCount == 4 || bitCount == 8)) colours = 1u << bitCount;
    const std::size_t table = static_cast<std::size_t>(colours) * (core ? 3 : 4);
    if (!in.Has(table)) return "a colour table cut short";
    in.Take(table);
    const std::int32_t signedHeight = static_cast<std::int32_t>(core ? static_cast<std::int16_t>(height) : height);
    const std::size_t rows = static_cast<std::size_t>(signedHeight < 0 ? -signedHeight : signedHeight);
    const std::size_t pixels =
        sizeImage != 0 ? sizeImage : (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4 * rows;
    if (!in.Has(pixels)) return "pixels cut short";
    length = in.Position() + pixels - start;
    if (fileSize != length)
        return "an image of " + std::to_string(length) + " bytes whose size field says " + std::to_string(fileSize);
    return "";
}

}  // namespace

ShortsReading ReadShortsFile(const std::vector<std::uint8_t>& bytes) {
    ShortsReading reading;
    FieldReader in(bytes);
    if (!in.Has(4)) return reading.error = "no count", reading;
    const std::int32_t count = static_cast<std::int32_t>(in.U(4));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string at = "record " + std::to_string(i) + ": ";
        ShortRecord record;
        for (std::string* text : {&record.params, &record.fileName, &record.caption, &record.workDir, &record.hint}) {
            if (!in.Has(4)) return reading.error = at + "a text length cut short", reading;
            const std::uint32_t length = in.U(4);
            if (!in.Has(length)) return reading.error = at + "a text longer than the file", reading;
            const auto taken = in.Take(length);
            text->assign(taken.begin(), taken.end());
        }
        if (!in.Has(5)) return reading.error = at + "the drive flag or the button slot cut short", reading;
        const std::uint32_t trackDrives = in.U(1);
        if (trackDrives > 1) return reading.error = at + "a drive flag of " + std::to_string(trackDrives), reading;
        record.trackDrives = trackDrives == 1;
        record.buttonSlot = in.U(4);
        std::size_t length = 0;
        if (const std::string broken = MeasureImage(bytes, in.Position(), length); !broken.empty())
            return reading.error = at + broken, reading;
        record.image = in.Take(length);
        reading.records.push_back(std::move(record));
    }
    if (in.Left() != 0) reading.error = std::to_string(in.Left()) + " bytes after the last record";
    return reading;
}

StoredPicture PictureOf(const std::vector<std::uint8_t>& image) {
    StoredPicture picture;
    if (image.size() < 54) return picture;
    FieldReader in(image);
    in.Take(10);
    const std::uint32_t offBits = in.U(4), headerSize = in.U(4);
    const std::int32_t width = static_cast<std::int32_t>(in.U(4)), height = static_cast<std::int32_t>(in.U(4));
    in.U(2);
    const std::uint32_t bitCount = in.U(2), compression = in.U(4);
    if (headerSize != 40 || bitCount != 24 || compression != 0 || width <= 0 || height <= 0) return picture;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (image.size() < offBits + stride * static_cast<std::size_t>(height)) return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = image.data() + offBits + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x, row += 3)
            picture.pixels[static_cast<std::size_t>(y * width + x)] =
                (static_cast<std::uint32_t>(row[0]) << 16) | (static_cast<std::uint32_t>(row[1]) << 8) | row[2];
    }
    return picture;
}

}  // namespace e2e
