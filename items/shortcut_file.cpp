#include "items/shortcut_file.h"

#include <algorithm>
#include <limits>

#include "common/bmp_codec.h"
#include "common/errors.h"
#include "common/item_text.h"

namespace tilerack {

namespace {

void WriteText(ByteWriter& out, const std::string& text) {
    const std::string stored = StoredText(text);
    if (stored.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw TError(kStreamWriteError);
    out.I32(static_cast<int32_t>(stored.size()));
    out.Put(stored.data(), stored.size());
}

// A length that is negative or longer than the rest of the file can only come
// from a damaged file; refusing it here keeps a bad length from allocating.
// `valid` turns false on a text whose UTF-8 is not valid.
std::string ReadText(ByteReader& in, bool& valid) {
    const int32_t length = in.I32();
    if (length < 0 || static_cast<size_t>(length) > in.Remaining()) throw TError(kStreamReadError);
    const uint8_t* bytes = in.Take(static_cast<size_t>(length));
    bool textValid = true;
    std::string text =
        TextOfStored(std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)), &textValid);
    valid = valid && textValid;
    return text;
}

}  // namespace

void TShortCut::SaveToStream(ByteWriter& out) const {
    WriteText(out, Params);
    WriteText(out, FileName);
    WriteText(out, Caption);
    WriteText(out, WorkDir);
    WriteText(out, Hint);
    out.U8(TrackDrives ? 1 : 0);
    // The record's button slot: readers ignore it, and a user's file should
    // carry nothing of the program's memory.
    out.U32(0);
    WriteEmbeddedBitmap(out, Icon);
}

uint64_t TShortCut::RecordSize() const {
    uint64_t size = 5 * 4 + 1 + 4;
    for (const std::string* text : {&Params, &FileName, &Caption, &WorkDir, &Hint}) size += StoredText(*text).size();
    return size + EmbeddedBitmapSize(Icon);
}

void TShortCut::LoadFromStream(ByteReader& in, bool* textsValid) {
    bool valid = true;
    Params = ReadText(in, valid);
    FileName = ReadText(in, valid);
    Caption = ReadText(in, valid);
    WorkDir = ReadText(in, valid);
    Hint = ReadText(in, valid);
    if (textsValid) *textsValid = valid;
    TrackDrives = in.U8() != 0;
    in.U32();  // the button slot: whatever an earlier writer put there means nothing now
    ReadEmbeddedBitmap(in, Icon);
}

void WriteShortcutList(const std::vector<const TShortCut*>& items, const ByteSink& put) {
    ByteWriter out;
    out.Reserve(kShortcutFilePiece + 4096);
    out.I32(static_cast<int32_t>(items.size()));
    for (const TShortCut* item : items) {
        item->SaveToStream(out);
        if (out.Bytes().size() >= kShortcutFilePiece) {
            put(out.Bytes().data(), out.Bytes().size());
            out.Bytes().clear();  // keeps its room for the next piece
        }
    }
    if (!out.Bytes().empty()) put(out.Bytes().data(), out.Bytes().size());
}

std::vector<uint8_t> SaveShortcutList(const std::vector<const TShortCut*>& items) {
    uint64_t size = 4;
    for (const TShortCut* item : items) size += item->RecordSize();
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(size));
    WriteShortcutList(items, [&](const uint8_t* data, size_t count) { bytes.insert(bytes.end(), data, data + count); });
    return bytes;
}

namespace {

// Reads records from `in` (whose first byte is the file's byte `base`) into
// `load` until the file's count or `limit` is reached. In the head of a file
// a record that cannot be read, or that reaches the head's end (its picture
// may go on past it), is not handed over and ends the step.
void LoadRecords(ByteReader& in, size_t base, int limit, bool head, ShortcutListLoad& load,
                 const ShortcutAppend& append) {
    while (load.loaded < load.count && load.loaded < limit) {
        auto item = std::make_unique<TShortCut>();
        bool textsValid = true;
        if (head) {
            try {
                item->LoadFromStream(in, &textsValid);
            } catch (...) {
                return;
            }
            if (in.AtEnd()) return;
        } else {
            item->LoadFromStream(in, &textsValid);
        }
        if (!textsValid) ++load.invalidTexts;
        load.consumed = base + in.Position();
        append(std::move(item));
        ++load.loaded;
    }
}

// Runs `step`, turning what it throws into the load's error.
template <typename Step>
ShortcutListLoad Guarded(ShortcutListLoad load, Step step) {
    try {
        step(load);
    } catch (const std::exception& e) {
        load.error = e.what();
    } catch (...) {
        load.error = kStreamReadError.Get();
    }
    return load;
}

// Goes on with `soFar` from `bytes`, the file's bytes from soFar.consumed
// on (from its start while the count is still to be read).
ShortcutListLoad LoadMore(ShortcutListLoad soFar, const std::vector<uint8_t>& bytes, int limit, bool head,
                          const ShortcutAppend& append) {
    return Guarded(std::move(soFar), [&](ShortcutListLoad& load) {
        ByteReader in(bytes);
        if (load.consumed == 0) {
            if (head && in.Remaining() < 4) return;  // count 0: a later step reads it
            load.count = in.I32();
            load.consumed = in.Position();
        }
        LoadRecords(in, load.consumed - in.Position(), limit, head, load, append);
    });
}

}  // namespace

ShortcutListLoad LoadShortcutList(const std::vector<uint8_t>& bytes, const ShortcutAppend& append) {
    return Guarded({}, [&](ShortcutListLoad& load) {
        ByteReader in(bytes);
        load.count = in.I32();
        load.consumed = in.Position();
        LoadRecords(in, 0, std::numeric_limits<int>::max(), /*head=*/false, load, append);
    });
}

ShortcutListLoad LoadShortcutListHead(const std::vector<uint8_t>& head, int limit, const ShortcutAppend& append) {
    return LoadMore({}, head, limit, /*head=*/true, append);
}

ShortcutListLoad LoadShortcutListRest(ShortcutListLoad head, const std::vector<uint8_t>& rest,
                                      const ShortcutAppend& append) {
    return LoadMore(std::move(head), rest, std::numeric_limits<int>::max(), /*head=*/false, append);
}

ShortcutListLoad LoadShortcutListStart(uint64_t size, int shown, uint64_t firstPiece, const ByteRangeReader& read,
                                       const ShortcutAppend& append) {
    firstPiece = std::max<uint64_t>(firstPiece, 4);
    if (size <= 2 * firstPiece) return LoadShortcutList(read(0, size), append);
    ShortcutListLoad load;
    for (uint64_t piece = firstPiece; load.loaded < shown && !load.Complete(); piece *= 2) {
        const uint64_t from = load.consumed;
        if (size - from <= piece) return LoadShortcutListRest(std::move(load), read(from, size - from), append);
        load = LoadMore(std::move(load), read(from, piece), shown, /*head=*/true, append);
    }
    return load;
}

}  // namespace tilerack
