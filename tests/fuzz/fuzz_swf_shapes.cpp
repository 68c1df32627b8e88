// Any bytes as the data of every shape and morph-shape tag and as a font glyph: refused with a
// reason, or a shape whose layers name styles that exist, whose fill outlines are closed and
// whose size stays within the edge limit; a morph drawn at its start, middle and end has the
// same styles and layers each time.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "swf/swf_morph.h"
#include "swf/swf_shape.h"

namespace {

using namespace zefa::swf;
using zefa::test::check;

// Small limits: a mutated count must not make every run build a huge shape.
ShapeLimits limits() {
    ShapeLimits l;
    l.max_edges = 20'000;
    l.max_styles = 4'096;
    return l;
}

void check_fill(const FillStyle& f) {
    check(f.gradient.stops.size() <= 15, "more than 15 gradient stops");
    check(f.kind == FillStyle::Kind::Solid || f.kind == FillStyle::Kind::Bitmap ||
              !f.gradient.stops.empty(),
          "a gradient without stops");
    check(std::abs(f.gradient.focal) <= 1, "focal point outside the gradient");
}

void check_point(PointF p) {
    check(std::isfinite(p.x) && std::isfinite(p.y), "a point that is not a number");
}

// Each edge lands in at most two fills and one stroke, and each fill contour gains at most
// one closing segment.
void check_shape(const Shape& s, size_t edges) {
    check(s.fill_styles.size() + s.line_styles.size() <= limits().max_styles, "style limit");
    for (const FillStyle& f : s.fill_styles)
        check_fill(f);
    for (const LineStyle& l : s.line_styles)
        if (l.fill) check_fill(*l.fill);
    size_t segments = 0;
    for (const Shape::Layer& layer : s.layers) {
        check(layer.style < (layer.stroke ? s.line_styles.size() : s.fill_styles.size()),
              "layer style outside the arrays");
        check(!layer.path.empty(), "an empty layer");
        for (const Contour& c : layer.path.contours) {
            check(!c.segments.empty(), "an empty contour");
            check_point(c.start);
            for (const Segment& seg : c.segments) {
                check_point(seg.to);
                check_point(seg.control);
            }
            if (!layer.stroke) check(c.segments.back().to == c.start, "an open fill contour");
            segments += c.segments.size();
        }
    }
    check(segments <= 5 * edges, "more segments than the edges give");
}

void check_morph(const MorphShape& m) {
    check(m.edges.size() <= limits().max_edges, "edge limit");
    check(m.start_fills.size() == m.end_fills.size(), "fill styles not paired");
    check(m.start_lines.size() == m.end_lines.size(), "line styles not paired");
    for (size_t i = 0; i < m.start_fills.size(); ++i)
        check(m.start_fills[i].gradient.stops.size() == m.end_fills[i].gradient.stops.size(),
              "gradient stops not paired");
    for (const MorphEdge& e : m.edges) {
        check(e.fill0 <= m.start_fills.size() && e.fill1 <= m.start_fills.size() &&
                  e.line <= m.start_lines.size(),
              "edge style outside the arrays");
        check(e.start.curve == e.end.curve, "a straight edge paired with a curve");
    }
    const Shape first = morph_at(m, 0);
    check(first.bounds.x_min == m.start_bounds.x_min && first.bounds.y_max == m.start_bounds.y_max,
          "start bounds");
    check(morph_at(m, 65535).bounds.x_max == m.end_bounds.x_max, "end bounds");
    for (uint16_t ratio : {uint16_t{0}, uint16_t{32768}, uint16_t{65535}}) {
        const Shape s = morph_at(m, ratio);
        check_shape(s, m.edges.size());
        check(s.fill_styles.size() == first.fill_styles.size() &&
                  s.line_styles.size() == first.line_styles.size() &&
                  s.layers.size() == first.layers.size(),
              "styles or layers change with the ratio");
        for (size_t i = 0; i < s.layers.size(); ++i)
            check(s.layers[i].stroke == first.layers[i].stroke &&
                      s.layers[i].style == first.layers[i].style,
                  "layer order changes with the ratio");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (uint16_t code : {uint16_t{2}, uint16_t{22}, uint16_t{32}, uint16_t{83}}) {
        Stream s(bytes);
        const ShapeResult r = decode_shape(code, s, limits());
        if (!r.error.empty()) {
            check(r.shape.layers.empty() && r.shape.fill_styles.empty(), "a refused shape kept");
            continue;
        }
        check(code == 83 || !r.shape.winding, "winding outside DefineShape4");
        check_shape(r.shape, limits().max_edges);
    }
    for (uint16_t code : {uint16_t{46}, uint16_t{84}}) {
        Stream s(bytes);
        const MorphResult r = decode_morph(code, s, limits());
        if (!r.error.empty()) {
            check(r.morph.edges.empty() && r.morph.start_fills.empty(), "a refused morph kept");
            continue;
        }
        check_morph(r.morph);
    }
    Stream s(bytes);
    if (const std::optional<Shape> glyph = decode_glyph(s, limits())) {
        check(glyph->fill_styles.size() == 1 && glyph->line_styles.empty(), "glyph styles");
        check_shape(*glyph, limits().max_edges);
    }
    return 0;
}
