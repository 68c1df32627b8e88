#pragma once

#include <cstdint>

#include "platform/bitmap.h"
#include "platform/geometry.h"

namespace zefa {

// The panel's outline from layer 0: per row, every run of pixels that are not exactly white
// (0xFFFFFF) within w0 x h0 becomes a one-row rectangle. Pixels the bitmap does not have lie
// outside, so the outline never exceeds the picture.
Region panel_outline(const Bitmap& skin, int32_t w0, int32_t h0);

} // namespace zefa
