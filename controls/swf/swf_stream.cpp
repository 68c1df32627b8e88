#include "swf/swf_stream.h"

#include <cstring>

namespace zefa::swf {

void Stream::seek(size_t pos) {
    bit_ = 0;
    if (pos > data_.size()) {
        ok_ = false;
        pos = data_.size();
    }
    pos_ = pos;
}

uint8_t Stream::u8() {
    align();
    if (pos_ >= data_.size()) {
        ok_ = false;
        return 0;
    }
    return data_[pos_++];
}

uint16_t Stream::u16() {
    const uint16_t lo = u8();
    return static_cast<uint16_t>(lo | u8() << 8);
}

uint32_t Stream::u32() {
    const uint32_t lo = u16();
    return lo | uint32_t{u16()} << 16;
}

float Stream::f32() {
    const uint32_t v = u32();
    float f;
    std::memcpy(&f, &v, sizeof f);
    return f;
}

double Stream::f64() {
    const uint64_t lo = u32();
    const uint64_t v = lo | uint64_t{u32()} << 32;
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
}

uint32_t Stream::encoded_u32() {
    uint32_t v = 0;
    for (int i = 0; i < 5; ++i) {
        const uint8_t b = u8();
        v |= uint32_t{b & 0x7fu} << (7 * i);
        if (!(b & 0x80)) break;
    }
    return v;
}

std::string Stream::string() {
    align();
    const uint8_t* begin = data_.data() + pos_;
    const void* nul = std::memchr(begin, 0, remaining());
    if (!nul) {
        ok_ = false;
        pos_ = data_.size();
        return {};
    }
    const size_t n = static_cast<size_t>(static_cast<const uint8_t*>(nul) - begin);
    pos_ += n + 1;
    return std::string(reinterpret_cast<const char*>(begin), n);
}

std::span<const uint8_t> Stream::bytes(size_t n) {
    align();
    if (n > remaining()) {
        ok_ = false;
        pos_ = data_.size();
        return {};
    }
    const std::span<const uint8_t> out = data_.subspan(pos_, n);
    pos_ += n;
    return out;
}

std::span<const uint8_t> Stream::rest() {
    return bytes(remaining());
}

void Stream::skip(size_t n) {
    bytes(n);
}

uint32_t Stream::ub(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) {
        if (bit_ == 0) {
            if (pos_ >= data_.size()) {
                ok_ = false;
                return 0;
            }
            ++pos_;
        }
        v = v << 1 | ((data_[pos_ - 1] >> (7 - bit_)) & 1u);
        bit_ = (bit_ + 1) % 8;
    }
    return v;
}

int32_t Stream::sb(int n) {
    const uint32_t v = ub(n);
    if (n == 0 || n >= 32 || !(v >> (n - 1) & 1u)) return static_cast<int32_t>(v);
    return static_cast<int32_t>(v | ~uint32_t{0} << (n - 1)); // sign-extend
}

} // namespace zefa::swf
