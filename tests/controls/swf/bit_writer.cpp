#include "bit_writer.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace zefa::test {

BitWriter& BitWriter::ub(uint32_t v, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        acc_ = acc_ << 1 | ((v >> i) & 1u);
        if (++used_ == 8) {
            out_.push_back(static_cast<char>(acc_));
            acc_ = 0;
            used_ = 0;
        }
    }
    return *this;
}

BitWriter& BitWriter::sb(int32_t v, int bits) {
    return ub(static_cast<uint32_t>(v), bits);
}

BitWriter& BitWriter::align() {
    if (used_) ub(0, 8 - used_);
    return *this;
}

BitWriter& BitWriter::u8(uint32_t v) {
    align();
    out_.push_back(static_cast<char>(v & 0xff));
    return *this;
}

BitWriter& BitWriter::u16(uint32_t v) {
    return u8(v).u8(v >> 8);
}

BitWriter& BitWriter::u32(uint32_t v) {
    return u16(v & 0xffff).u16(v >> 16);
}

BitWriter& BitWriter::bytes(std::string_view b) {
    align();
    out_.append(b);
    return *this;
}

BitWriter& BitWriter::string(std::string_view s) {
    bytes(s);
    return u8(0);
}

int BitWriter::signed_width(int64_t v) {
    uint64_t magnitude = static_cast<uint64_t>(v < 0 ? ~v : v);
    int bits = 1;
    while (magnitude) {
        ++bits;
        magnitude >>= 1;
    }
    return bits;
}

BitWriter& BitWriter::rect(int32_t x_min, int32_t x_max, int32_t y_min, int32_t y_max) {
    align();
    int n = 1;
    for (int32_t v : {x_min, x_max, y_min, y_max})
        n = std::max(n, signed_width(v));
    ub(static_cast<uint32_t>(n), 5);
    for (int32_t v : {x_min, x_max, y_min, y_max})
        sb(v, n);
    return align();
}

BitWriter& BitWriter::matrix(const swf::Matrix& m) {
    align();
    const auto fixed = [](double v) { return static_cast<int32_t>(std::lround(v * 65536.0)); };
    const bool scale = m.a != 1 || m.d != 1;
    ub(scale, 1);
    if (scale) {
        const int n = std::max(signed_width(fixed(m.a)), signed_width(fixed(m.d)));
        ub(static_cast<uint32_t>(n), 5).sb(fixed(m.a), n).sb(fixed(m.d), n);
    }
    const bool rotate = m.b != 0 || m.c != 0;
    ub(rotate, 1);
    if (rotate) {
        const int n = std::max(signed_width(fixed(m.b)), signed_width(fixed(m.c)));
        ub(static_cast<uint32_t>(n), 5).sb(fixed(m.b), n).sb(fixed(m.c), n);
    }
    const auto tx = static_cast<int32_t>(std::lround(m.tx));
    const auto ty = static_cast<int32_t>(std::lround(m.ty));
    const int n = (tx || ty) ? std::max(signed_width(tx), signed_width(ty)) : 0;
    ub(static_cast<uint32_t>(n), 5).sb(tx, n).sb(ty, n);
    return align();
}

BitWriter& BitWriter::cxform(const swf::ColorTransform& c, bool with_alpha) {
    align();
    const int channels = with_alpha ? 4 : 3;
    bool has_mult = false, has_add = false;
    int n = 1;
    for (int i = 0; i < channels; ++i) {
        has_mult |= c.mult[i] != 256;
        has_add |= c.add[i] != 0;
        n = std::max({n, signed_width(c.mult[i]), signed_width(c.add[i])});
    }
    ub(has_add, 1).ub(has_mult, 1).ub(static_cast<uint32_t>(n), 4);
    if (has_mult)
        for (int i = 0; i < channels; ++i)
            sb(c.mult[i], n);
    if (has_add)
        for (int i = 0; i < channels; ++i)
            sb(c.add[i], n);
    return align();
}

BitWriter& BitWriter::rgb(swf::Rgba c) {
    return u8(c.r).u8(c.g).u8(c.b);
}

BitWriter& BitWriter::rgba(swf::Rgba c) {
    return rgb(c).u8(c.a);
}

const std::string& BitWriter::data() {
    align();
    return out_;
}

} // namespace zefa::test
