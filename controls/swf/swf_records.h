#pragma once

// The records every drawing tag shares: colours, matrices, colour transforms and rectangles,
// with the arithmetic the display tree needs to nest them.

#include <algorithm>
#include <cstdint>

#include "swf/swf_reader.h"
#include "swf/swf_stream.h"

namespace zefa::swf {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255; // straight (not premultiplied)
    bool operator==(const Rgba&) const = default;
};

struct PointF {
    double x = 0, y = 0; // twips
    bool operator==(const PointF&) const = default;
};

// x' = a·x + c·y + tx ; y' = b·x + d·y + ty (a ScaleX, b RotateSkew0, c RotateSkew1, d ScaleY;
// translation in twips).
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    bool operator==(const Matrix&) const = default;

    PointF map(PointF p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // This matrix first, then `outer` (a child's matrix, then its parent's).
    Matrix then(const Matrix& outer) const;
    static Matrix lerp(const Matrix& from, const Matrix& to, double t);
};

// c' = clamp(c · mult / 256 + add) per channel, alpha included, on straight colour.
struct ColorTransform {
    int32_t mult[4] = {256, 256, 256, 256}; // r, g, b, a
    int32_t add[4] = {0, 0, 0, 0};
    bool operator==(const ColorTransform&) const = default;

    bool identity() const { return *this == ColorTransform{}; }
    Rgba apply(Rgba c) const;
    // This transform first, then `outer`.
    ColorTransform then(const ColorTransform& outer) const;
};

inline double lerp(double from, double to, double t) {
    return from + (to - from) * t;
}
Rgba lerp(Rgba from, Rgba to, double t);

Rect read_rect(Stream& s);
Matrix read_matrix(Stream& s);
// CXFORM (PlaceObject, DefineButtonCxform) or CXFORMWITHALPHA (PlaceObject2/3, DefineButton2).
ColorTransform read_cxform(Stream& s, bool with_alpha);
Rgba read_rgb(Stream& s);
Rgba read_rgba(Stream& s);

} // namespace zefa::swf
