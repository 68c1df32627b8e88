#pragma once

// Shapes as the renderer draws them: each style group's edges joined into closed outlines per
// fill style (holes come out as outlines of the other direction), and strokes per line style,
// in drawing order. All coordinates are twips in the shape's own space.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "swf/swf_records.h"
#include "swf/swf_stream.h"

namespace zefa::swf {

struct GradientStop {
    uint8_t ratio = 0; // 0..255 across the gradient square
    Rgba color;
    bool operator==(const GradientStop&) const = default;
};

struct Gradient {
    enum class Spread : uint8_t { Pad, Reflect, Repeat };
    Spread spread = Spread::Pad;
    bool linear_rgb = false;
    std::vector<GradientStop> stops; // 1 to 15, ratios as written
    double focal = 0;                // -1..1, focal gradients only
    bool operator==(const Gradient&) const = default;
};

// The bitmap id of a fill whose bitmap is missing.
inline constexpr uint16_t kNoBitmap = 0xFFFF;

struct FillStyle {
    enum class Kind : uint8_t { Solid, Linear, Radial, Focal, Bitmap };
    Kind kind = Kind::Solid;
    Rgba color;    // Solid
    Matrix matrix; // gradient square, or bitmap pixels, to shape twips
    Gradient gradient;
    uint16_t bitmap = kNoBitmap;
    bool repeat = true; // bitmap tiles; otherwise its edge pixels extend
    bool smooth = true; // bitmap filtered when the quality allows
    bool operator==(const FillStyle&) const = default;
};

struct LineStyle {
    enum class Cap : uint8_t { Round, None, Square };
    enum class Join : uint8_t { Round, Bevel, Miter };
    double width = 0; // twips; 0 draws a hairline
    Rgba color;
    Cap start_cap = Cap::Round, end_cap = Cap::Round;
    Join join = Join::Round;
    double miter_limit = 3;
    bool no_hscale = false, no_vscale = false, no_close = false;
    std::optional<FillStyle> fill; // a stroke painted with a fill style instead of a colour
    bool operator==(const LineStyle&) const = default;
};

struct Segment {
    PointF control; // curves only
    PointF to;
    bool curve = false;
    bool operator==(const Segment&) const = default;
};

struct Contour {
    PointF start;
    std::vector<Segment> segments;
    bool operator==(const Contour&) const = default;
};

struct Path {
    std::vector<Contour> contours;
    bool empty() const { return contours.empty(); }
    bool operator==(const Path&) const = default;
};

struct Shape {
    // One fill or stroke, painted in list order. Fill outlines are closed (the painter closes
    // each contour); strokes are open polylines as drawn.
    struct Layer {
        bool stroke = false;
        uint32_t style = 0; // into fill_styles or line_styles
        Path path;
        bool operator==(const Layer&) const = default;
    };
    Rect bounds;
    std::vector<FillStyle> fill_styles; // every style group's styles, one after the other
    std::vector<LineStyle> line_styles;
    std::vector<Layer> layers;
    bool winding = false; // non-zero fill (DefineShape4's flag); otherwise even-odd
};

struct ShapeLimits {
    size_t max_edges = 1'000'000; // in one shape (or glyph); past it the shape is refused
    size_t max_styles = 65'535;   // fill plus line styles in one shape
};

struct ShapeResult {
    uint16_t id = 0;
    Shape shape;
    std::string error; // empty on success
};

// DefineShape 1-4 (tag codes 2, 22, 32, 83): the tag's data, from the character id on.
ShapeResult decode_shape(uint16_t tag_code, Stream& s, const ShapeLimits& limits = {});

// A SHAPE without style arrays (a font glyph): fill style 1 is its one fill, a solid black
// that the text painter replaces by the text's colour. Empty when the glyph is refused.
std::optional<Shape> decode_glyph(Stream& s, const ShapeLimits& limits = {});

} // namespace zefa::swf
