#include "swf/swf_records.h"

#include <cmath>

namespace zefa::swf {

namespace {

uint8_t channel(int64_t v) {
    return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255));
}

} // namespace

Matrix Matrix::then(const Matrix& o) const {
    return {a * o.a + b * o.c, a * o.b + b * o.d,          c * o.a + d * o.c,
            c * o.b + d * o.d, tx * o.a + ty * o.c + o.tx, tx * o.b + ty * o.d + o.ty};
}

Matrix Matrix::lerp(const Matrix& f, const Matrix& t, double k) {
    using swf::lerp;
    return {lerp(f.a, t.a, k), lerp(f.b, t.b, k),   lerp(f.c, t.c, k),
            lerp(f.d, t.d, k), lerp(f.tx, t.tx, k), lerp(f.ty, t.ty, k)};
}

Rgba ColorTransform::apply(Rgba c) const {
    const int64_t in[4] = {c.r, c.g, c.b, c.a};
    uint8_t out[4];
    for (int i = 0; i < 4; ++i)
        out[i] = channel(in[i] * mult[i] / 256 + add[i]);
    return {out[0], out[1], out[2], out[3]};
}

ColorTransform ColorTransform::then(const ColorTransform& o) const {
    ColorTransform r;
    for (int i = 0; i < 4; ++i) {
        // Kept within a range no nesting depth can overflow; the clamp at the end is the same.
        r.mult[i] = static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{o.mult[i]} * mult[i] / 256, -65536, 65536));
        r.add[i] = static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{o.mult[i]} * add[i] / 256 + o.add[i], -65536, 65536));
    }
    return r;
}

Rgba lerp(Rgba f, Rgba t, double k) {
    const auto mix = [k](uint8_t a, uint8_t b) { return channel(std::lround(a + (b - a) * k)); };
    return {mix(f.r, t.r), mix(f.g, t.g), mix(f.b, t.b), mix(f.a, t.a)};
}

Rect read_rect(Stream& s) {
    s.align();
    const int n = static_cast<int>(s.ub(5));
    Rect r;
    r.x_min = s.sb(n);
    r.x_max = s.sb(n);
    r.y_min = s.sb(n);
    r.y_max = s.sb(n);
    s.align();
    return r;
}

Matrix read_matrix(Stream& s) {
    s.align();
    Matrix m;
    if (s.bit()) {
        const int n = static_cast<int>(s.ub(5));
        m.a = s.fb(n);
        m.d = s.fb(n);
    }
    if (s.bit()) {
        const int n = static_cast<int>(s.ub(5));
        m.b = s.fb(n);
        m.c = s.fb(n);
    }
    const int n = static_cast<int>(s.ub(5));
    m.tx = s.sb(n);
    m.ty = s.sb(n);
    s.align();
    return m;
}

ColorTransform read_cxform(Stream& s, bool with_alpha) {
    s.align();
    ColorTransform cx;
    const bool has_add = s.bit();
    const bool has_mult = s.bit();
    const int n = static_cast<int>(s.ub(4));
    const int channels = with_alpha ? 4 : 3;
    if (has_mult)
        for (int i = 0; i < channels; ++i)
            cx.mult[i] = s.sb(n);
    if (has_add)
        for (int i = 0; i < channels; ++i)
            cx.add[i] = s.sb(n);
    s.align();
    return cx;
}

Rgba read_rgb(Stream& s) {
    Rgba c;
    c.r = s.u8();
    c.g = s.u8();
    c.b = s.u8();
    return c;
}

Rgba read_rgba(Stream& s) {
    Rgba c = read_rgb(s);
    c.a = s.u8();
    return c;
}

} // namespace zefa::swf
