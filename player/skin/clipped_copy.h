#pragma once

#include <cstdint>
#include <vector>

#include "platform/bitmap.h"

namespace zefa {

// A block transfer whose rectangles come from a skin file: coordinates are computed in 64 bits
// (a layer offset or glyph position can leave the 32-bit range) and clipped against both
// bitmaps before any pixel is touched.
void copy_clipped(Bitmap& dst, int64_t dx, int64_t dy, int64_t w, int64_t h, const Bitmap& src,
                  int64_t sx, int64_t sy, Bitmap::Rop rop = Bitmap::Rop::Copy);

// ANDs src's rectangle into dst where src has pixels and clears dst where the rectangle runs
// past src's edges, so that a source too small acts as black.
void and_clipped(Bitmap& dst, int64_t dx, int64_t dy, int64_t w, int64_t h, const Bitmap& src,
                 int64_t sx, int64_t sy);

// While one lives, each transfer onto `target` through the two functions above adds the
// rectangle it wrote to `rects`.
class WriteLog {
  public:
    WriteLog(const Bitmap& target, std::vector<Rect>& rects);
    ~WriteLog();
    WriteLog(const WriteLog&) = delete;
    WriteLog& operator=(const WriteLog&) = delete;

  private:
    friend void note_write(const Bitmap& dst, int64_t x, int64_t y, int64_t w, int64_t h);
    const Bitmap& target_;
    std::vector<Rect>& rects_;
    WriteLog* outer_;
};

} // namespace zefa
