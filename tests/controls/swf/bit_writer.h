#pragma once

// Writes tag data the way the movie's readers expect it: little-endian numbers, strings and
// bit fields (most significant bit first), and the common records. Every writer of test
// tags builds on it.

#include <cstdint>
#include <string>
#include <string_view>

#include "swf/swf_records.h"

namespace zefa::test {

class BitWriter {
  public:
    // Bit fields; the byte writes below pad the current byte first.
    BitWriter& ub(uint32_t v, int bits);
    BitWriter& sb(int32_t v, int bits);
    BitWriter& fb(double v, int bits) { return sb(static_cast<int32_t>(v * 65536.0), bits); }
    BitWriter& align();

    BitWriter& u8(uint32_t v);
    BitWriter& u16(uint32_t v);
    BitWriter& u32(uint32_t v);
    BitWriter& bytes(std::string_view b);
    BitWriter& string(std::string_view s); // with its NUL

    BitWriter& rect(int32_t x_min, int32_t x_max, int32_t y_min, int32_t y_max);
    BitWriter& matrix(const swf::Matrix& m); // scale and rotation as 16.16, translation twips
    BitWriter& cxform(const swf::ColorTransform& c, bool with_alpha);
    BitWriter& rgb(swf::Rgba c);
    BitWriter& rgba(swf::Rgba c);

    const std::string& data(); // pads the last byte
    size_t size() const { return out_.size(); }

    // Bits a signed field needs for v (at least 1).
    static int signed_width(int64_t v);

  private:
    std::string out_;
    uint32_t acc_ = 0;
    int used_ = 0;
};

} // namespace zefa::test
