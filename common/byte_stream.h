#pragma once
// In-memory little-endian streams for the binary files. The reader checks every
// read against what remains, so a damaged file can never make it read past the
// end or allocate more than the file holds.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/errors.h"

namespace tilerack {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::vector<uint8_t>& bytes) : ByteReader(bytes.data(), bytes.size()) {}

    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ >= size_; }

    // Throws "Stream read error" when fewer than `count` bytes remain.
    const uint8_t* Take(size_t count) {
        if (count > Remaining()) throw TError(kStreamReadError);
        const uint8_t* p = data_ + pos_;
        pos_ += count;
        return p;
    }
    // Takes at most `count` bytes; returns how many were taken.
    size_t TakeUpTo(size_t count, const uint8_t** out) {
        const size_t n = count < Remaining() ? count : Remaining();
        *out = data_ + pos_;
        pos_ += n;
        return n;
    }
    uint8_t U8() { return *Take(1); }
    uint16_t U16() { const uint8_t* p = Take(2); return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
    uint32_t U32() {
        const uint8_t* p = Take(4);
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    int32_t I32() { return static_cast<int32_t>(U32()); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

class ByteWriter {
public:
    std::vector<uint8_t>& Bytes() { return bytes_; }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    // `count` more bytes at the end, zeroed, to be filled in place: one step
    // for a whole block (a picture's rows) instead of one per value.
    uint8_t* Extend(size_t count) {
        const size_t at = bytes_.size();
        bytes_.resize(at + count);
        return bytes_.data() + at;
    }
    void Put(const void* data, size_t count) {
        if (count > 0) std::memcpy(Extend(count), data, count);
    }
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v) {
        uint8_t* p = Extend(2);
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
    }
    void U32(uint32_t v) {
        uint8_t* p = Extend(4);
        for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    // Room for `count` more bytes at once: a large file grows without copies.
    void Reserve(size_t count) { bytes_.reserve(bytes_.size() + count); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace tilerack
