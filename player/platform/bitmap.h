#pragma once

#include <cstdint>
#include <vector>

#include "platform/geometry.h"

namespace zefa {

// 32-bit pixels 0x00RRGGBB. The raster operations the panel uses act on the low 24 bits.
class Bitmap {
  public:
    Bitmap() = default;
    Bitmap(int32_t width, int32_t height, uint32_t fill = 0);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }

    uint32_t pixel(int32_t x, int32_t y) const;       // 0 outside
    void set_pixel(int32_t x, int32_t y, uint32_t c); // ignored outside
    const std::vector<uint32_t>& pixels() const { return pixels_; }
    std::vector<uint32_t>& pixels() { return pixels_; }

    enum class Rop { Copy, And, Or };
    // Copies src's rectangle (sx, sy, w, h) to (dx, dy); clipped against both bitmaps.
    void blit(int32_t dx, int32_t dy, int32_t w, int32_t h, const Bitmap& src, int32_t sx,
              int32_t sy, Rop rop = Rop::Copy);
    // Nearest-neighbour stretch of src's rectangle onto (dx, dy, dw, dh).
    void stretch(int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Bitmap& src, int32_t sx,
                 int32_t sy, int32_t sw, int32_t sh);
    void fill(Rect r, uint32_t c);
    void fill_white(Rect r) { fill(r, 0xFFFFFF); }
    void invert(Rect r);

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint32_t> pixels_;
};

// The smallest rectangle outside which `after` equals `before`, looking only within `within`
// (all of `after` by default): empty when they are equal there, the whole of `after` when their
// sizes differ.
Rect changed_area(const Bitmap& before, const Bitmap& after,
                  Rect within = {0, 0, INT32_MAX, INT32_MAX});
// The smallest rectangle holding both; an empty one adds nothing.
Rect bounding_union(Rect a, Rect b);

} // namespace zefa
