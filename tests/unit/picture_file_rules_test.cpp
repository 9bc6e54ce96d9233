// Loading picture files into the item dialog: formats by extension, the
// open dialog's filter, the size cap and the icon and metafile headers.
#include <gtest/gtest.h>

#include "common/errors.h"
#include "common/picture_file_rules.h"
#include "le_bytes.h"

namespace tilerack {
namespace {

TEST(PictureFormat, FollowsTheExtensionInAnyCase) {
    EXPECT_EQ(PictureFormatOf("C:\\a\\b.bmp"), PictureFormat::Bitmap);
    EXPECT_EQ(PictureFormatOf("C:\\a\\b.ICO"), PictureFormat::Icon);
    EXPECT_EQ(PictureFormatOf("pic.Emf"), PictureFormat::EnhancedMetafile);
    EXPECT_EQ(PictureFormatOf("C:\\x.y\\pic.wmf"), PictureFormat::Metafile);
}

TEST(PictureFormat, AnyOtherExtensionIsRefusedWithItsName) {
    auto message = [](const std::string& name) {
        try {
            PictureFormatOf(name);
        } catch (const TError& e) {
            return std::string(e.what());
        }
        return std::string("<accepted>");
    };
    EXPECT_EQ(message("C:\\photo.png"), "Unknown picture file extension (.png)");
    EXPECT_EQ(message("C:\\folder.bmp\\noext"), "Unknown picture file extension (.)");
    EXPECT_EQ(message("C:\\archive.tar.GZ"), "Unknown picture file extension (.GZ)");
}

TEST(PictureFormat, FilterListsTheFiveEntriesInOrder) {
    EXPECT_STREQ(kOpenPictureFilter,
                 "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
                 "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
}

TEST(PictureCap, EachSideIsCappedAt32OnItsOwn) {
    EXPECT_EQ(CappedPictureSize({64, 48}), (PictureSize{32, 32}));
    EXPECT_EQ(CappedPictureSize({64, 16}), (PictureSize{32, 16}));
    EXPECT_EQ(CappedPictureSize({16, 16}), (PictureSize{16, 16}));
    EXPECT_EQ(CappedPictureSize({16, 300}), (PictureSize{16, 32}));
    EXPECT_EQ(CappedPictureSize({32, 32}), (PictureSize{32, 32}));
}

// An icon directory with entries of the given sides (0 standing for 256),
// each pointing at `imageBytes` bytes after the directory.
std::vector<uint8_t> IconDirectory(const std::vector<int>& sides, uint32_t imageBytes = 8) {
    testing::LeBytes b;
    b.U16(0).U16(1).U16(static_cast<uint16_t>(sides.size()));
    const uint32_t first = 6 + 16 * static_cast<uint32_t>(sides.size());
    for (size_t i = 0; i < sides.size(); ++i) {
        b.U8(static_cast<uint8_t>(sides[i])).U8(static_cast<uint8_t>(sides[i])).U8(0).U8(0);
        b.U16(1).U16(32).U32(imageBytes).U32(first + static_cast<uint32_t>(i) * imageBytes);
    }
    for (size_t i = 0; i < sides.size() * imageBytes; ++i) b.U8(0);
    return b.bytes;
}

TEST(IconFile, ShowsTheImageNearestTheSystemSizeLargerOnATie) {
    EXPECT_EQ(ChooseIconImage(IconDirectory({48}), 32).size, (PictureSize{48, 48}));
    const IconImageChoice mixed = ChooseIconImage(IconDirectory({16, 32, 48}), 32);
    EXPECT_EQ(mixed.index, 1);
    EXPECT_EQ(mixed.size, (PictureSize{32, 32}));
    EXPECT_EQ(ChooseIconImage(IconDirectory({16, 48}), 32).index, 1);
    EXPECT_EQ(ChooseIconImage(IconDirectory({0}), 32).size, (PictureSize{256, 256}));
}

TEST(IconFile, DamagedDirectoriesAreNotValidIcons) {
    auto refused = [](const std::vector<uint8_t>& bytes) {
        try {
            ChooseIconImage(bytes, 32);
        } catch (const TError& e) {
            return std::string(e.what()) == "Icon image is not valid";
        }
        return false;
    };
    EXPECT_TRUE(refused({}));
    EXPECT_TRUE(refused({0, 0, 1, 0}));
    std::vector<uint8_t> cursor = IconDirectory({32});
    cursor[2] = 2;  // a cursor file
    EXPECT_TRUE(refused(cursor));
    EXPECT_TRUE(refused(IconDirectory({})));
    std::vector<uint8_t> beyond = IconDirectory({32});
    beyond.resize(beyond.size() - 1);  // the image runs past the end
    EXPECT_TRUE(refused(beyond));
}

std::vector<uint8_t> PlaceableHeader(int16_t left, int16_t top, int16_t right, int16_t bottom, uint16_t inch) {
    testing::LeBytes b;
    b.U32(0x9AC6CDD7u).U16(0).U16(static_cast<uint16_t>(left)).U16(static_cast<uint16_t>(top));
    b.U16(static_cast<uint16_t>(right)).U16(static_cast<uint16_t>(bottom)).U16(inch).U32(0).U16(0);
    for (int i = 0; i < 18; ++i) b.U8(0);  // the metafile's own header follows
    return b.bytes;
}

TEST(PlaceableMetafile, SizeIsTheBoundsAt96PixelsPerInch) {
    const PlaceableMetafileHeader header = ReadPlaceableMetafileHeader(PlaceableHeader(0, 0, 1440, 720, 1440));
    EXPECT_EQ(header.size, (PictureSize{96, 48}));
    EXPECT_EQ(header.unitsPerInch, 1440);
    EXPECT_EQ(ReadPlaceableMetafileHeader(PlaceableHeader(-100, -50, 100, 50, 600)).size, (PictureSize{32, 16}));
}

TEST(PlaceableMetafile, OtherFilesAreNotValidMetafiles) {
    auto refused = [](const std::vector<uint8_t>& bytes) {
        try {
            ReadPlaceableMetafileHeader(bytes);
        } catch (const TError& e) {
            return std::string(e.what()) == "Metafile is not valid";
        }
        return false;
    };
    EXPECT_TRUE(refused({}));
    std::vector<uint8_t> wrongKey = PlaceableHeader(0, 0, 10, 10, 96);
    wrongKey[0] = 0;
    EXPECT_TRUE(refused(wrongKey));
    EXPECT_TRUE(refused(PlaceableHeader(0, 0, 10, 10, 0)));
    EXPECT_TRUE(refused(PlaceableHeader(10, 0, 10, 10, 96)));
    std::vector<uint8_t> headerOnly = PlaceableHeader(0, 0, 10, 10, 96);
    headerOnly.resize(kPlaceableHeaderSize);
    EXPECT_TRUE(refused(headerOnly));
}

}  // namespace
}  // namespace tilerack
