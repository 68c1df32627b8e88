#include "platform/bmp_layout.h"

#include <algorithm>
#include <limits>

namespace zefa {

namespace {

uint32_t u32(std::string_view b, size_t at) {
    uint32_t v = 0;
    for (size_t i = 4; i-- > 0;)
        v = v << 8 | static_cast<uint8_t>(b[at + i]);
    return v;
}
uint16_t u16(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1])
                                                                   << 8);
}

constexpr size_t kFileHeader = 14;

} // namespace

std::optional<uint64_t> bmp_bytes_needed(std::string_view file) {
    if (file.size() < kFileHeader + 4 || file.substr(0, 2) != "BM") return std::nullopt;
    const uint32_t offset = u32(file, 10);
    const uint32_t info = u32(file, kFileHeader);
    const size_t at = kFileHeader + 4;
    uint64_t width, height, bits;
    if (info == 12) { // OS/2 core header: 16-bit unsigned sizes, never compressed
        if (file.size() < kFileHeader + info) return std::nullopt;
        width = u16(file, at);
        height = u16(file, at + 2);
        bits = u16(file, at + 6);
    } else if (info == 40 || info == 52 || info == 56 || info == 108 || info == 124) {
        if (file.size() < kFileHeader + info) return std::nullopt;
        const auto w = static_cast<int32_t>(u32(file, at));
        const auto h = static_cast<int32_t>(u32(file, at + 4));
        const uint32_t compression = u32(file, at + 12);
        if (compression != 0 && compression != 3) return std::nullopt; // compressed: Qt judges
        width = w < 0 ? 0 : static_cast<uint64_t>(w);
        height = h < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(h))
                       : static_cast<uint64_t>(h); // top-down pictures have a negative height
        bits = u16(file, at + 10);
    } else {
        return std::nullopt;
    }
    if (width == 0) return std::nullopt;

    // At most (2^31 - 1) * 65535 + 31 bits: no overflow; the product below is checked.
    const uint64_t stride = (width * bits + 31) / 32 * 4;
    // Pixel data cannot start inside the headers, whatever the offset says.
    const uint64_t start = std::max<uint64_t>(offset, kFileHeader + info);
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    if (stride != 0 && height > (kMax - start) / stride) return kMax;
    return start + stride * height;
}

} // namespace zefa
