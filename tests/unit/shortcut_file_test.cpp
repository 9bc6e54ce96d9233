#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/errors.h"
#include "items/shortcut_file.h"
#include "le_bytes.h"

namespace tilerack {
namespace {

using testing::InfoBmp;
using testing::LeBytes;

struct Loaded {
    std::vector<std::unique_ptr<TShortCut>> items;
    ShortcutListLoad result;
};

Loaded Load(const std::vector<uint8_t>& bytes) {
    Loaded out;
    out.result = LoadShortcutList(bytes, [&](std::unique_ptr<TShortCut> item) {
        out.items.push_back(std::move(item));
    });
    return out;
}

std::vector<uint8_t> Save(const std::vector<std::unique_ptr<TShortCut>>& items) {
    std::vector<const TShortCut*> list;
    for (const auto& item : items) list.push_back(item.get());
    return SaveShortcutList(list);
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Two records built from the record table, with the offsets the damage tests
// cut or patch at: where each text's length, TrackDrives, the slot and the
// image of each record start.
struct HandBuiltFile {
    std::vector<uint8_t> bytes;
    size_t text[2][5] = {}, trackDrives[2] = {}, slot[2] = {}, image[2] = {};
};

// The texts of the two records: parameters, file name, caption, working
// folder, hint. The first record has every text, the second only a file name.
const std::vector<std::string> kTexts[2] = {
    {"-n", "C:\\Windows\\notepad.exe", "Блокнот", "C:\\Windows\\", "Правка\r\nтекста"},
    {"", "D:\\игры\\старт.exe", "", "", ""}};

std::vector<std::string> TextsOf(const TShortCut& item) {
    return {item.Params, item.FileName, item.Caption, item.WorkDir, item.Hint};
}

HandBuiltFile BuildFile(int32_t count = 2) {
    // A 2 x 2 picture in the first record with TrackDrives on; TrackDrives
    // off and a 1 x 1 picture with a colour table in the second.
    const InfoBmp images[2] = {{.width = 2, .height = 2, .sizeImage = 16,
                                .pixels = {0, 0, 255, 0, 255, 0, 0, 0,          // bottom row: red, green
                                           255, 0, 0, 255, 255, 255, 0, 0}},   // top row: blue, white
                               {.sizeImage = 4, .colorsUsed = 2, .afterHeader = {1, 2, 3, 0, 4, 5, 6, 0},
                                .pixels = {10, 20, 30, 0}}};
    const uint32_t slots[2] = {0x12345678, 0xDEADBEEF};
    HandBuiltFile f;
    LeBytes b;
    b.U32(static_cast<uint32_t>(count));
    for (int r = 0; r < 2; ++r) {
        for (size_t t = 0; t < 5; ++t) {
            f.text[r][t] = b.bytes.size();
            b.Text(kTexts[r][t]);
        }
        f.trackDrives[r] = b.bytes.size();
        b.U8(r == 0 ? 1 : 0);
        f.slot[r] = b.bytes.size();
        b.U32(slots[r]);
        f.image[r] = b.bytes.size();
        b.Raw(images[r].Bytes());
    }
    f.bytes = b.bytes;
    return f;
}

TEST(ShortcutFile, EmptyListIsFourZeroBytes) {
    EXPECT_EQ(SaveShortcutList({}), (std::vector<uint8_t>{0, 0, 0, 0}));
    const Loaded loaded = Load({0, 0, 0, 0});
    EXPECT_TRUE(loaded.items.empty());
    EXPECT_FALSE(loaded.result.Damaged());
}

TEST(ShortcutFile, RecordLayoutOf32x32Item) {
    TShortCut item;
    item.SetParams("/p");
    item.SetFileName("C:\\a.exe");
    item.SetCaption("A");
    item.SetWorkDir("C:\\");
    item.SetHint("hint");
    item.SetTrackDrives(false);
    item.Icon.SetSize(32, 32);
    const std::vector<uint8_t> file = SaveShortcutList({&item});

    LeBytes expected;
    expected.U32(1).Text("/p").Text("C:\\a.exe").Text("A").Text("C:\\").Text("hint").U8(0).U32(0);
    // A black 24-bit image: 32 rows of 96 bytes.
    expected.Raw(InfoBmp{.width = 32, .height = 32, .sizeImage = 3072, .pixels = std::vector<uint8_t>(3072)}.Bytes());
    EXPECT_EQ(file, expected.bytes);
}

TEST(ShortcutFile, EmptyTextsMakeA25ByteRecordBeforeTheImage) {
    TShortCut item;
    item.Icon.SetSize(1, 1);
    const std::vector<uint8_t> file = SaveShortcutList({&item});
    ASSERT_EQ(file.size(), 4 + 25 + 54 + 4u);
    EXPECT_EQ(file[4 + 20], 1) << "TrackDrives true";
    EXPECT_EQ(file[4 + 25], 'B');
}

TEST(ShortcutFile, CyrillicTextsAndTwoLineHintRoundTripByteForByte) {
    const std::string caption = "Проводник";
    ASSERT_EQ(static_cast<uint8_t>(caption[0]), 0xCF) << "sources must be compiled to code page 1251";
    auto item = std::make_unique<TShortCut>();
    item->SetCaption(caption);
    item->SetHint("Первая строка\r\nвторая — «ёЁ»");
    item->SetFileName("C:\\Программы\\я.exe");
    item->Icon.SetSize(32, 32);
    item->Icon.Fill(Rgb(9, 8, 7));
    std::vector<std::unique_ptr<TShortCut>> items;
    items.push_back(std::move(item));
    const std::vector<uint8_t> file = Save(items);

    const Loaded loaded = Load(file);
    ASSERT_FALSE(loaded.result.Damaged()) << loaded.result.error;
    ASSERT_EQ(loaded.items.size(), 1u);
    EXPECT_EQ(loaded.items[0]->Caption, caption);
    EXPECT_EQ(loaded.items[0]->Hint, "Первая строка\r\nвторая — «ёЁ»");
    EXPECT_NE(loaded.items[0]->Hint.find("\x0D\x0A"), std::string::npos);
    EXPECT_TRUE(loaded.items[0]->Icon.SamePixels(items[0]->Icon));
    EXPECT_EQ(Save(loaded.items), file);
}

TEST(ShortcutFile, HandBuiltFileLoadsAndSavesBackIdenticalButItsButtonSlotsZeroed) {
    const HandBuiltFile f = BuildFile();
    Loaded loaded = Load(f.bytes);
    ASSERT_FALSE(loaded.result.Damaged()) << loaded.result.error;
    ASSERT_EQ(loaded.items.size(), 2u);
    EXPECT_EQ(loaded.result.loaded, 2);

    const TShortCut& a = *loaded.items[0];
    EXPECT_EQ(TextsOf(a), kTexts[0]);
    EXPECT_TRUE(a.TrackDrives);
    EXPECT_EQ(a.Button, nullptr) << "the stored slot means nothing to this run";
    ASSERT_EQ(a.Icon.Width(), 2);
    EXPECT_EQ(a.Icon.Pixel(0, 0), Rgb(0, 0, 255));
    EXPECT_EQ(a.Icon.Pixel(1, 0), Rgb(255, 255, 255));
    EXPECT_EQ(a.Icon.Pixel(0, 1), Rgb(255, 0, 0));
    EXPECT_EQ(a.Icon.Pixel(1, 1), Rgb(0, 255, 0));

    const TShortCut& b = *loaded.items[1];
    EXPECT_EQ(TextsOf(b), kTexts[1]);
    EXPECT_FALSE(b.TrackDrives);
    EXPECT_EQ(b.Icon.Pixel(0, 0), Rgb(30, 20, 10));

    // The slots an earlier writer filled come back as 0; nothing else changes.
    std::vector<uint8_t> expected = f.bytes;
    ASSERT_NE(f.bytes[f.slot[0]], 0) << "the hand-built file must carry slot values";
    PutU32(expected, f.slot[0], 0);
    PutU32(expected, f.slot[1], 0);
    EXPECT_EQ(Save(loaded.items), expected);
}

// The list is written into a buffer sized beforehand from each record's
// size: a size that is off would make every save grow and copy it again.
TEST(ShortcutFile, RecordSizeIsWhatEachRecordWrites) {
    auto plain = std::make_unique<TShortCut>();
    auto full = std::make_unique<TShortCut>();
    full->SetCaption("Блокнот");
    full->SetHint(std::string(70000, 'h'));
    full->Icon.SetSize(33, 7);  // rows padded to 100 bytes
    full->Icon.palette = std::vector<uint8_t>(16 * 4, 0x11);
    auto tiny = std::make_unique<TShortCut>();
    tiny->Icon.SetSize(1, 1);
    for (TShortCut* item : {plain.get(), full.get(), tiny.get()}) {
        ByteWriter out;
        item->SaveToStream(out);
        EXPECT_EQ(item->RecordSize(), out.Bytes().size());
    }
    std::vector<std::unique_ptr<TShortCut>> items;
    items.push_back(std::move(plain));
    items.push_back(std::move(full));
    items.push_back(std::move(tiny));
    const std::vector<uint8_t> file = Save(items);
    EXPECT_EQ(file.size(), 4 + items[0]->RecordSize() + items[1]->RecordSize() + items[2]->RecordSize());
    EXPECT_EQ(file.capacity(), file.size()) << "the buffer was sized once";
}

// A long list goes to the disk in pieces: together exactly the file, each
// of bounded size, so saving never needs the whole file in memory.
TEST(ShortcutFile, WrittenInPiecesThatJoinToTheWholeFile) {
    std::vector<std::unique_ptr<TShortCut>> items;
    for (int i = 0; i < 700; ++i) {
        auto item = std::make_unique<TShortCut>();
        item->SetCaption("Item " + std::to_string(i));
        item->Icon.SetSize(32, 32);
        item->Icon.Fill(Rgb(i, 2 * i, 3 * i));
        items.push_back(std::move(item));
    }
    std::vector<const TShortCut*> list;
    for (const auto& item : items) list.push_back(item.get());

    std::vector<size_t> pieces;
    std::vector<uint8_t> joined;
    WriteShortcutList(list, [&](const uint8_t* data, size_t size) {
        pieces.push_back(size);
        joined.insert(joined.end(), data, data + size);
    });
    EXPECT_EQ(joined, SaveShortcutList(list));
    EXPECT_GE(pieces.size(), 3u) << "about 2.2 MB in pieces of " << kShortcutFilePiece << " bytes";
    const size_t record = items[0]->RecordSize();
    for (size_t size : pieces) EXPECT_LT(size, kShortcutFilePiece + 2 * record);

    size_t calls = 0;
    WriteShortcutList({}, [&](const uint8_t*, size_t size) { ++calls; EXPECT_EQ(size, 4u); });
    EXPECT_EQ(calls, 1u) << "an empty list is still its count";
}

TEST(ShortcutFile, CountOfZeroOrLessMeansNoItems) {
    for (int32_t count : {0, -1, INT32_MIN}) {
        std::vector<uint8_t> bytes = BuildFile(count).bytes;
        const Loaded loaded = Load(bytes);
        EXPECT_TRUE(loaded.items.empty()) << count;
        EXPECT_FALSE(loaded.result.Damaged()) << count;
    }
}

TEST(ShortcutFile, LastRecordWithoutImageLoadsWithEmptyPicture) {
    const HandBuiltFile f = BuildFile();
    const Loaded loaded = Load({f.bytes.begin(), f.bytes.begin() + f.image[1]});
    ASSERT_FALSE(loaded.result.Damaged()) << loaded.result.error;
    ASSERT_EQ(loaded.items.size(), 2u);
    EXPECT_TRUE(loaded.items[1]->Icon.Empty());
    EXPECT_EQ(loaded.items[1]->FileName, "D:\\игры\\старт.exe");
    // Saved again, the empty picture becomes a complete 0 x 0 image.
    const std::vector<uint8_t> saved = Save(loaded.items);
    ASSERT_EQ(saved.size(), f.image[1] + 54);
    EXPECT_TRUE(Load(saved).items[1]->Icon.Empty());
}

TEST(ShortcutFile, FileShorterThanTheCountIsAReadError) {
    for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, {1}, {1, 0, 0}}) {
        const Loaded loaded = Load(bytes);
        EXPECT_TRUE(loaded.items.empty());
        EXPECT_EQ(loaded.result.error, kStreamReadError) << bytes.size() << " bytes";
    }
}

// Damage in the second record keeps the first one and drops the second.
void ExpectFirstItemOnly(const std::vector<uint8_t>& bytes, const char* error, const char* what) {
    SCOPED_TRACE(what);
    const Loaded loaded = Load(bytes);
    EXPECT_EQ(loaded.result.error, error);
    ASSERT_EQ(loaded.items.size(), 1u);
    EXPECT_EQ(loaded.result.loaded, 1);
    EXPECT_EQ(loaded.items[0]->Caption, "Блокнот");
    EXPECT_EQ(loaded.items[0]->Icon.Width(), 2);
}

TEST(ShortcutFile, RecordCutShortKeepsTheItemsBefore) {
    const HandBuiltFile f = BuildFile();
    auto cut = [&](size_t at) { return std::vector<uint8_t>(f.bytes.begin(), f.bytes.begin() + at); };
    ExpectFirstItemOnly(cut(f.text[1][0] + 2), kStreamReadError, "inside a text length");
    ExpectFirstItemOnly(cut(f.text[1][1] + 4 + 3), kStreamReadError, "inside a text");
    ExpectFirstItemOnly(cut(f.trackDrives[1]), kStreamReadError, "before TrackDrives");
    ExpectFirstItemOnly(cut(f.slot[1] + 3), kStreamReadError, "inside the button slot");
    ExpectFirstItemOnly(cut(f.image[1] + 20), kStreamReadError, "inside the image header");
    ExpectFirstItemOnly(cut(f.image[1] + 54 + 5), kStreamReadError, "inside the colour table");
}

TEST(ShortcutFile, CountLargerThanTheRecordsKeepsThemAll) {
    const Loaded loaded = Load(BuildFile(3).bytes);
    EXPECT_EQ(loaded.result.error, kStreamReadError);
    EXPECT_EQ(loaded.items.size(), 2u);
    EXPECT_EQ(loaded.result.loaded, 2);
}

TEST(ShortcutFile, BadLengthsAreReadErrors) {
    const HandBuiltFile f = BuildFile();
    for (uint32_t length : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, static_cast<uint32_t>(f.bytes.size())}) {
        std::vector<uint8_t> bytes = f.bytes;
        PutU32(bytes, f.text[1][2], length);
        ExpectFirstItemOnly(bytes, kStreamReadError, "bad text length");
    }
}

TEST(ShortcutFile, InvalidImageStopsTheLoadWithItsMessage) {
    const HandBuiltFile f = BuildFile();
    std::vector<uint8_t> notBm = f.bytes;
    notBm[f.image[1]] = 'X';
    ExpectFirstItemOnly(notBm, kBitmapInvalid, "no BM");
    std::vector<uint8_t> planes = f.bytes;
    planes[f.image[1] + 26] = 2;
    ExpectFirstItemOnly(planes, kBitmapInvalid, "two planes");
}

TEST(ShortcutFile, LoadFromStreamStoresFieldsWithoutNotifyingExceptForThePicture) {
    const HandBuiltFile f = BuildFile();
    TShortCut item;
    int changes = 0;
    item.OnChange = [&](TShortCut&) { ++changes; };
    ByteReader in(f.bytes.data() + 4, f.bytes.size() - 4);
    item.LoadFromStream(in);
    EXPECT_EQ(item.Caption, "Блокнот");
    EXPECT_EQ(changes, 1) << "only the picture's replacement notifies";
    EXPECT_EQ(in.Position(), f.text[1][0] - 4) << "the record ends where its image ends";
}

TEST(ShortcutFile, FailureWhileAppendingIsReportedNotThrown) {
    const HandBuiltFile f = BuildFile();
    int appended = 0;
    ShortcutListLoad result;
    EXPECT_NO_THROW(result = LoadShortcutList(f.bytes, [&](std::unique_ptr<TShortCut>) {
        if (++appended == 2) throw TError("Cannot create button");
    }));
    EXPECT_EQ(result.loaded, 1);
    EXPECT_EQ(result.error, "Cannot create button");
}

// A long list is read in two steps: the first records from the file's head,
// the rest from the bytes after them. Wherever the head ends and however many
// records it may give, the two steps hand over the items, and report the
// damage, exactly as reading the whole file does; the head alone never
// reports damage and never gives more than its limit.
// Sound and damaged files for the reads in steps.
std::vector<std::pair<const char*, std::vector<uint8_t>>> FilesToReadInSteps() {
    const HandBuiltFile f = BuildFile();
    std::vector<uint8_t> notBm = f.bytes;
    notBm[f.image[1]] = 'X';
    std::vector<uint8_t> badLength = f.bytes;
    PutU32(badLength, f.text[1][2], 0x7FFFFFFFu);
    return {
        {"sound", f.bytes},
        {"count larger than the records", BuildFile(3).bytes},
        {"no count", BuildFile(-1).bytes},
        {"last record without image", {f.bytes.begin(), f.bytes.begin() + f.image[1]}},
        {"cut inside a text", {f.bytes.begin(), f.bytes.begin() + f.text[1][1] + 7}},
        {"cut inside the image", {f.bytes.begin(), f.bytes.begin() + f.image[1] + 20}},
        {"no BM", notBm},
        {"bad text length", badLength},
    };
}

TEST(ShortcutFile, TwoStepsGiveWhatTheWholeFileGivesWhereverTheHeadEnds) {
    for (const auto& [name, bytes] : FilesToReadInSteps()) {
        const Loaded whole = Load(bytes);
        for (size_t headSize = 0; headSize < bytes.size(); ++headSize)
            for (int limit : {0, 1, 2, 5}) {
                SCOPED_TRACE(std::string(name) + ", head of " + std::to_string(headSize) + " bytes, limit " +
                             std::to_string(limit));
                Loaded steps;
                const auto append = [&](std::unique_ptr<TShortCut> item) { steps.items.push_back(std::move(item)); };
                const ShortcutListLoad head =
                    LoadShortcutListHead({bytes.begin(), bytes.begin() + headSize}, limit, append);
                ASSERT_FALSE(head.Damaged()) << head.error;
                ASSERT_LE(head.loaded, limit);
                ASSERT_EQ(steps.items.size(), static_cast<size_t>(head.loaded));
                steps.result = head.Complete()
                                   ? head
                                   : LoadShortcutListRest(head, {bytes.begin() + head.consumed, bytes.end()}, append);
                EXPECT_EQ(steps.result.error, whole.result.error);
                EXPECT_EQ(steps.result.loaded, whole.result.loaded);
                EXPECT_EQ(Save(steps.items), Save(whole.items));
            }
    }
}

// The first step reads pieces only as far as the shown items need, whatever
// the first piece's size; with the second step it gives exactly what reading
// the whole file gives, and it never reads outside the file.
TEST(ShortcutFile, AFirstStepInPiecesAndTheRestGiveTheWholeFile) {
    for (const auto& [name, bytes] : FilesToReadInSteps())
        for (uint64_t firstPiece = 1; firstPiece <= bytes.size(); ++firstPiece)
            for (int shown : {0, 1, 2, 5}) {
                SCOPED_TRACE(std::string(name) + ", first piece of " + std::to_string(firstPiece) + " bytes, " +
                             std::to_string(shown) + " shown");
                const Loaded whole = Load(bytes);
                Loaded steps;
                const auto append = [&](std::unique_ptr<TShortCut> item) { steps.items.push_back(std::move(item)); };
                const auto read = [&](uint64_t offset, uint64_t count) {
                    EXPECT_LE(offset + count, bytes.size());
                    return std::vector<uint8_t>(bytes.begin() + offset, bytes.begin() + offset + count);
                };
                const ShortcutListLoad first = LoadShortcutListStart(bytes.size(), shown, firstPiece, read, append);
                ASSERT_TRUE(first.Complete() || first.loaded >= shown);
                ASSERT_EQ(steps.items.size(), static_cast<size_t>(first.loaded));
                steps.result = first.Complete() ? first : LoadShortcutListRest(first, read(first.consumed,
                                                                               bytes.size() - first.consumed), append);
                EXPECT_EQ(steps.result.error, whole.result.error);
                EXPECT_EQ(steps.result.loaded, whole.result.loaded);
                EXPECT_EQ(Save(steps.items), Save(whole.items));
            }
}

TEST(ShortcutFile, AFirstStepReadsNoFurtherThanTheShownItemsNeed) {
    std::vector<std::unique_ptr<TShortCut>> items;
    for (int i = 0; i < 100; ++i) {
        items.push_back(std::make_unique<TShortCut>());
        items.back()->FileName = "C:\\item" + std::to_string(100 + i) + ".exe";  // records of one length
        items.back()->Icon.SetSize(32, 32);
    }
    const std::vector<uint8_t> bytes = Save(items);
    const uint64_t record = (bytes.size() - 4) / 100;
    uint64_t read = 0;
    int pieces = 0;
    const auto reader = [&](uint64_t offset, uint64_t count) {
        read += count;
        ++pieces;
        return std::vector<uint8_t>(bytes.begin() + offset, bytes.begin() + offset + count);
    };
    int appended = 0;
    const auto append = [&](std::unique_ptr<TShortCut>) { ++appended; };

    // A first piece of the shown items' size, 22 records and a little more.
    ShortcutListLoad first = LoadShortcutListStart(bytes.size(), 21, 22 * record + 100, reader, append);
    EXPECT_EQ(first.loaded, 21);
    EXPECT_FALSE(first.Complete());
    EXPECT_EQ(pieces, 1);
    EXPECT_EQ(read, 22 * record + 100);
    EXPECT_EQ(first.consumed, 4 + 21 * record);

    // Records longer than expected: the pieces double until the items are in.
    read = pieces = appended = 0;
    first = LoadShortcutListStart(bytes.size(), 21, 5 * record, reader, append);
    EXPECT_EQ(first.loaded, 21);
    EXPECT_EQ(appended, 21);
    EXPECT_EQ(pieces, 3);  // 5, then 10, then 20 records' worth
    EXPECT_LT(read, 40 * record);

    // A file of two first pieces or less is read whole in one piece.
    read = pieces = appended = 0;
    first = LoadShortcutListStart(bytes.size(), 21, bytes.size() / 2, reader, append);
    EXPECT_TRUE(first.Complete());
    EXPECT_EQ(appended, 100);
    EXPECT_EQ(pieces, 1);
}

}  // namespace
}  // namespace tilerack
