#pragma once

// What shapes and morph shapes share: the shape records' bit layout, and the step that turns a
// style group's edges into closed fill outlines and stroke paths.

#include <cstdint>
#include <string>
#include <vector>

#include "swf/swf_shape.h"
#include "swf/swf_stream.h"

namespace zefa::swf::shape_detail {

struct Edge {
    PointF from, control, to; // control for curves only
    bool curve = false;
    bool operator==(const Edge&) const = default;
};

// One record of a shape's bit stream; what a style change sets is flagged.
struct Record {
    enum class Kind : uint8_t { End, StyleChange, Straight, Curve };
    Kind kind = Kind::End;
    bool move = false, has_fill0 = false, has_fill1 = false, has_line = false, new_styles = false;
    int32_t move_x = 0, move_y = 0; // absolute
    uint32_t fill0 = 0, fill1 = 0, line = 0;
    int32_t dx = 0, dy = 0;               // straight: the end; curve: the control, from the pen
    int32_t anchor_dx = 0, anchor_dy = 0; // curve: the end, from the control
};

// Reads one record with the current style index widths. A style change with new styles stops
// before the style arrays; the caller reads them and the new widths. False when the data ran
// out inside the record.
bool read_record(Stream& s, int fill_bits, int line_bits, Record& out);

// LINESTYLE2's bits after the width (caps, join, scaling, closing) and the miter limit when
// the join asks for it. True when a fill style follows instead of a colour.
bool read_line2_flags(Stream& s, LineStyle& out);

// Why a style array of n styles cannot be read: the count was cut short, n styles of at least
// min_bytes each do not fit in what is left, or they would pass max_styles with `used` styles
// read already. Empty when they fit.
std::string style_count_error(const Stream& s, uint32_t n, size_t min_bytes, size_t used,
                              size_t max_styles, const char* what);

// The least number of bits an edge record takes, to bound how many a stream can hold.
inline constexpr size_t kMinEdgeBits = 10;

// Collects the edges of one style group at a time and turns each group into layers: its fills
// in style order, then its strokes.
class OutlineBuilder {
  public:
    // Group-local style n (1-based) is flat style base + n - 1.
    void begin_group(uint32_t fill_base, uint32_t line_base);
    // fill0 is the fill on the left of the edge's direction (y down), fill1 on its right; each
    // 1-based within the group, 0 for none.
    void add(const Edge& e, uint32_t fill0, uint32_t fill1, uint32_t line);
    void finish_group(std::vector<Shape::Layer>& layers);

  private:
    struct Ref {
        uint32_t style;
        uint32_t edge;
        bool reversed;
    };
    std::vector<Edge> edges_;
    std::vector<Ref> fills_, lines_;
    uint32_t fill_base_ = 0, line_base_ = 0;
};

// Fill outlines from edges that each have the fill on their right: chained by exact end
// points, runs that stop short joined where one ends at another's start, and every contour
// closed with a straight segment back to its start when it does not end there.
Path chain_fill(const std::vector<Edge>& edges);
// A stroke's path in edge order: an edge continues the current contour when it starts where
// the previous one ended.
Path chain_stroke(const std::vector<Edge>& edges);

} // namespace zefa::swf::shape_detail
