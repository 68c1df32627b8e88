#include "bmp_decode.h"

#include <cstdint>
#include <cstdlib>

namespace zefa::test {

namespace {

uint32_t u32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t u16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1])
                                                                   << 8);
}

} // namespace

std::optional<Bitmap> decode_bmp(const std::string& b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const uint32_t offset = u32(b, 10);
    const auto width = static_cast<int32_t>(u32(b, 18));
    const auto signed_height = static_cast<int32_t>(u32(b, 22));
    const uint16_t bits = u16(b, 28);
    const uint32_t compression = u32(b, 30);
    if (width <= 0 || signed_height == 0 || signed_height == INT32_MIN) return std::nullopt;
    if ((bits != 24 && bits != 32) || (compression != 0 && compression != 3)) return std::nullopt;
    const int64_t height = std::llabs(signed_height);
    const int64_t stride = (int64_t{width} * bits / 8 + 3) / 4 * 4;
    if (offset > b.size() || stride * height > static_cast<int64_t>(b.size() - offset))
        return std::nullopt;

    Bitmap out(width, static_cast<int32_t>(height));
    for (int64_t row = 0; row < height; ++row) {
        const int64_t y = signed_height > 0 ? height - 1 - row : row;
        const size_t at = offset + static_cast<size_t>(row * stride);
        for (int32_t x = 0; x < width; ++x) {
            const size_t p = at + static_cast<size_t>(x) * (bits / 8);
            const uint32_t blue = static_cast<uint8_t>(b[p]),
                           green = static_cast<uint8_t>(b[p + 1]),
                           red = static_cast<uint8_t>(b[p + 2]);
            out.set_pixel(x, static_cast<int32_t>(y), red << 16 | green << 8 | blue);
        }
    }
    return out;
}

} // namespace zefa::test
