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
        // One loop per operation: the panel is composed of these every other tick.
        switch (rop) {
        case Rop::Copy:
            std::copy(s + x0, s + std::max(x0, x1), d + x0);
            break;
        case Rop::And:
            for (int64_t i = x0; i < x1; ++i)
                d[i] = (d[i] & s[i]) & 0xFFFFFF;
            break;
        case Rop::Or:
            for (int64_t i = x0; i < x1; ++i)
                d[i] = (d[i] | s[i]) & 0xFFFFFF;
            break;
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

Rect changed_area(const Bitmap& before, const Bitmap& after, Rect within) {
    const int32_t w = after.width(), h = after.height();
    if (before.width() != w || before.height() != h) return {0, 0, w, h};
    // Within, clipped to the bitmaps, in 64 bits so that no sum overflows.
    const auto x0 = static_cast<int32_t>(std::clamp<int64_t>(within.x, 0, w));
    const auto y0 = static_cast<int32_t>(std::clamp<int64_t>(within.y, 0, h));
    const auto x1 = static_cast<int32_t>(std::clamp<int64_t>(int64_t{within.x} + within.w, x0, w));
    const auto y1 = static_cast<int32_t>(std::clamp<int64_t>(int64_t{within.y} + within.h, y0, h));
    const auto row = [w](const Bitmap& b, int32_t y) {
        return b.pixels().data() + static_cast<size_t>(y) * static_cast<size_t>(w);
    };
    const auto same_row = [&](int32_t y) {
        return std::equal(row(before, y) + x0, row(before, y) + x1, row(after, y) + x0);
    };
    int32_t top = y0, bottom = y1;
    while (top < y1 && same_row(top))
        ++top;
    if (top == y1) return {};
    while (same_row(bottom - 1))
        --bottom;
    int32_t left = x1, right = x0;
    for (int32_t y = top; y < bottom; ++y) {
        const uint32_t *a = row(before, y), *b = row(after, y);
        int32_t i0 = x0, i1 = x1;
        while (i0 < left && a[i0] == b[i0])
            ++i0;
        while (i1 > std::max(right, i0) && a[i1 - 1] == b[i1 - 1])
            --i1;
        left = std::min(left, i0);
        right = std::max(right, i1);
    }
    return {left, top, right - left, bottom - top};
}

Rect bounding_union(Rect a, Rect b) {
    if (a.w <= 0 || a.h <= 0) return b;
    if (b.w <= 0 || b.h <= 0) return a;
    const int32_t x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    return {x, y, std::max(a.x + a.w, b.x + b.w) - x, std::max(a.y + a.h, b.y + b.h) - y};
}

} // namespace zefa
