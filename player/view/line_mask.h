#pragma once

// Panel1's region: the line mask band and the scan lines, row by row.

#include <cstdint>

#include "platform/geometry.h"

namespace zefa {

struct LineMaskInputs {
    Size picture;                  // display size
    int32_t source_h;              // the medium's own height
    bool masks;                    // MaskMode 1
    int32_t up, down, left, right; // percentages of the picture width
    bool scan_lines;               // ScanLine 1 and a full-screen view
    bool black_region; // RealMedia: the region covers the video; else it shows the video
};

// Rows with the same spans are merged into one rectangle.
Region line_mask(const LineMaskInputs& in);

} // namespace zefa
