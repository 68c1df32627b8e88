#pragma once

// Morph shapes: one set of start/end style pairs and start/end edge pairs, drawn at a ratio
// by interpolating everything and building the fills as for a plain shape.

#include <cstdint>
#include <string>
#include <vector>

#include "swf/swf_shape.h"
#include "swf/swf_shape_edges.h"

namespace zefa::swf {

struct MorphEdge {
    shape_detail::Edge start, end; // both curves when either is (a line's control is its middle)
    uint32_t fill0 = 0, fill1 = 0, line = 0; // 1-based into the style pairs; 0 none
    bool operator==(const MorphEdge&) const = default;
};

struct MorphShape {
    Rect start_bounds, end_bounds;
    // Pairs by index: start_fills[i] becomes end_fills[i] (same kind, bitmap and stop count).
    std::vector<FillStyle> start_fills, end_fills;
    std::vector<LineStyle> start_lines, end_lines;
    std::vector<MorphEdge> edges; // in record order
};

struct MorphResult {
    uint16_t id = 0;
    MorphShape morph;
    std::string error; // empty on success
};

// DefineMorphShape (46) and DefineMorphShape2 (84): the tag's data, from the character id on.
// A morph whose end records hold fewer edges than its start records is refused; end edges
// past the start's count are ignored.
MorphResult decode_morph(uint16_t tag_code, Stream& s, const ShapeLimits& limits = {});

// The shape at ratio 0..65535 (t = ratio / 65535): 0 is the start, 65535 the end.
Shape morph_at(const MorphShape& m, uint16_t ratio);

} // namespace zefa::swf
