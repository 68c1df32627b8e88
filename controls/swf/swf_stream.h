#pragma once

// Reads the data of one tag: little-endian numbers, strings and bit fields (most significant
// bit first). Reading past the end yields zeros and marks the stream bad, so a decoder reads a
// whole record and checks ok() once; nothing ever reads outside the span.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zefa::swf {

class Stream {
  public:
    explicit Stream(std::span<const uint8_t> data, uint8_t version = 10)
        : data_(data), version_(version) {}

    bool ok() const { return ok_; }
    void fail() { ok_ = false; }
    uint8_t version() const { return version_; } // the movie's, for version-dependent fields
    std::span<const uint8_t> data() const { return data_; }
    size_t pos() const { return pos_; } // whole bytes; a partly read byte counts as read
    size_t remaining() const { return data_.size() - pos_; }
    bool at_end() const { return pos_ >= data_.size(); }
    void seek(size_t pos); // bad past the end

    // Byte reads start on a byte boundary: the rest of a partly read byte is dropped.
    uint8_t u8();
    uint16_t u16();
    int16_t s16() { return static_cast<int16_t>(u16()); }
    uint32_t u32();
    int32_t s32() { return static_cast<int32_t>(u32()); }
    float f32();
    double f64();
    uint32_t encoded_u32(); // 1 to 5 bytes, low groups of 7 bits first
    std::string string();   // up to the NUL, which is consumed; bad when there is none
    std::span<const uint8_t> bytes(size_t n); // empty and bad when fewer remain
    std::span<const uint8_t> rest();          // everything left
    void skip(size_t n);

    void align() { bit_ = 0; }
    uint32_t ub(int n); // n up to 32
    int32_t sb(int n);
    double fb(int n) { return sb(n) / 65536.0; }
    bool bit() { return ub(1) != 0; }

  private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    int bit_ = 0; // bits of data_[pos_ - 1] already used, when non-zero
    bool ok_ = true;
    uint8_t version_;
};

} // namespace zefa::swf
