#include "platform/bitmap.h"

#include <algorithm>

namespace zefa {

Bitmap::Bitmap(int32_t width, int32_t height, uint32_t fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

uint32_t Bitmap::pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Bitmap::set_pixel(int32_t x, int32_t y, uint32_t c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = c;
}

void Bitmap::blit(int32_t dx, int32_t dy, int32_t w, int32_t h, const Bitmap& src, int32_t sx,
                  int32_t sy, Rop rop) {
    // Clip the source and destination rectangles together, in 64 bits so that no sum overflows.
    int64_t x0 = 0, y0 = 0, x1 = w, y1 = h;
    x0 = std::max<int64_t>({x0, -int64_t{dx}, -int64_t{sx}});
    y0 = std::max<int64_t>({y0, -int64_t{dy}, -int64_t{sy}});
    x1 = std::min<int64_t>({x1, int64_t{width_} - dx, int64_t{src.width_} - sx});
    y1 = std::min<int64_t>({y1, int64_t{height_} - dy, int64_t{src.height_} - sy});
    for (int64_t j = y0; j < y1; ++j) {
        const uint32_t* s = &src.pixels_[static_cast<size_t>((sy + j) * src.width_ + sx)];
        uint32_t* d = &pixels_[static_cast<size_t>((dy + j) * width_ + dx)];
        for (int64_t i = x0; i < x1; ++i) {
            switch (rop) {
            case Rop::Copy:
                d[i] = s[i];
                break;
            case Rop::And:
                d[i] = (d[i] & s[i]) & 0xFFFFFF;
                break;
            case Rop::Or:
                d[i] = (d[i] | s[i]) & 0xFFFFFF;
                break;
            }
        }
    }
}

void Bitmap::stretch(int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Bitmap& src, int32_t sx,
                     int32_t sy, int32_t sw, int32_t sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    for (int32_t j = 0; j < dh; ++j) {
        const int64_t syj = sy + int64_t{j} * sh / dh;
        for (int32_t i = 0; i < dw; ++i) {
            const int64_t sxi = sx + int64_t{i} * sw / dw;
            if (sxi < 0 || syj < 0 || sxi >= src.width_ || syj >= src.height_) continue;
            set_pixel(dx + i, dy + j,
                      src.pixel(static_cast<int32_t>(sxi), static_cast<int32_t>(syj)));
        }
    }
}

void Bitmap::fill(Rect r, uint32_t c) {
    const int64_t x0 = std::max<int64_t>(r.x, 0), y0 = std::max<int64_t>(r.y, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{r.x} + r.w, width_);
    const int64_t y1 = std::min<int64_t>(int64_t{r.y} + r.h, height_);
    for (int64_t y = y0; y < y1; ++y)
        for (int64_t x = x0; x < x1; ++x)
            pixels_[static_cast<size_t>(y * width_ + x)] = c;
}

void Bitmap::invert(Rect r) {
    const int64_t x0 = std::max<int64_t>(r.x, 0), y0 = std::max<int64_t>(r.y, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{r.x} + r.w, width_);
    const int64_t y1 = std::min<int64_t>(int64_t{r.y} + r.h, height_);
    for (int64_t y = y0; y < y1; ++y)
        for (int64_t x = x0; x < x1; ++x) {
            uint32_t& p = pixels_[static_cast<size_t>(y * width_ + x)];
            p = ~p & 0xFFFFFF;
        }
}

} // namespace zefa
