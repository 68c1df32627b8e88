#include "skin/clipped_copy.h"

#include <algorithm>

namespace zefa {

namespace {

struct Span {
    int64_t lo, hi; // offsets into the rectangle, [lo, hi)
    bool empty() const { return lo >= hi; }
};

// The offsets i in [0, len) for which both d + i and s + i fall inside their bitmaps.
Span clip(int64_t len, int64_t d, int64_t dsize, int64_t s, int64_t ssize) {
    return {std::max<int64_t>({0, -d, -s}), std::min<int64_t>({len, dsize - d, ssize - s})};
}

// The offsets i in [0, len) for which d + i falls inside the destination.
Span clip(int64_t len, int64_t d, int64_t dsize) {
    return {std::max<int64_t>(0, -d), std::min<int64_t>(len, dsize - d)};
}

WriteLog* g_write_log = nullptr;

} // namespace

WriteLog::WriteLog(const Bitmap& target, std::vector<Rect>& rects)
    : target_(target), rects_(rects), outer_(g_write_log) {
    g_write_log = this;
}

WriteLog::~WriteLog() {
    g_write_log = outer_;
}

// Called with a rectangle already clipped to dst, so it fits 32 bits.
void note_write(const Bitmap& dst, int64_t x, int64_t y, int64_t w, int64_t h) {
    for (WriteLog* log = g_write_log; log; log = log->outer_)
        if (&log->target_ == &dst)
            log->rects_.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y),
                                   static_cast<int32_t>(w), static_cast<int32_t>(h)});
}

void copy_clipped(Bitmap& dst, int64_t dx, int64_t dy, int64_t w, int64_t h, const Bitmap& src,
                  int64_t sx, int64_t sy, Bitmap::Rop rop) {
    const Span xs = clip(w, dx, dst.width(), sx, src.width());
    const Span ys = clip(h, dy, dst.height(), sy, src.height());
    if (xs.empty() || ys.empty()) return;
    note_write(dst, dx + xs.lo, dy + ys.lo, xs.hi - xs.lo, ys.hi - ys.lo);
    // Everything is now inside both bitmaps, so it fits 32 bits.
    dst.blit(static_cast<int32_t>(dx + xs.lo), static_cast<int32_t>(dy + ys.lo),
             static_cast<int32_t>(xs.hi - xs.lo), static_cast<int32_t>(ys.hi - ys.lo), src,
             static_cast<int32_t>(sx + xs.lo), static_cast<int32_t>(sy + ys.lo), rop);
}

void and_clipped(Bitmap& dst, int64_t dx, int64_t dy, int64_t w, int64_t h, const Bitmap& src,
                 int64_t sx, int64_t sy) {
    const Span xd = clip(w, dx, dst.width()), yd = clip(h, dy, dst.height());
    if (xd.empty() || yd.empty()) return;
    note_write(dst, dx + xd.lo, dy + yd.lo, xd.hi - xd.lo, yd.hi - yd.lo);
    const Span xs = clip(w, dx, dst.width(), sx, src.width());
    const Span ys = clip(h, dy, dst.height(), sy, src.height());
    for (int64_t j = yd.lo; j < yd.hi; ++j) {
        const auto y = static_cast<int32_t>(dy + j);
        const bool row_in_src = j >= ys.lo && j < ys.hi;
        const int64_t from = row_in_src ? std::max(xs.lo, xd.lo) : xd.hi;
        const int64_t to = row_in_src ? std::min(xs.hi, xd.hi) : xd.hi;
        for (int64_t i = xd.lo; i < xd.hi; ++i)
            if (i < from || i >= to) dst.set_pixel(static_cast<int32_t>(dx + i), y, 0);
        if (from < to)
            dst.blit(static_cast<int32_t>(dx + from), y, static_cast<int32_t>(to - from), 1, src,
                     static_cast<int32_t>(sx + from), static_cast<int32_t>(sy + j),
                     Bitmap::Rop::And);
    }
}

} // namespace zefa
