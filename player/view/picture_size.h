#pragma once

// The picture size computations of the layout pass, free of any window.

#include <cstdint>

#include "platform/geometry.h"

namespace zefa {

// The medium's size corrected by the aspect mode: the width (which 0) or height (which 1).
// Unknown modes give 0.
int32_t aspect_dimension(int32_t mode, Size medium, int32_t which);

struct PictureInputs {
    Size medium;     // the medium's own size
    Size aspect;     // aspect_dimension's width and height
    Size screen;     // the screen
    int32_t panel_h; // the control panel's height (windowed limit)
    int32_t zoom;    // NormalZoom or FullZoom
};

// Size of the picture in the window views (zoom table 50 %..400 %), limited by the screen.
Size windowed_picture(const PictureInputs& in);
// Size of the picture in full screen for FullZoom 0..8.
Size fullscreen_picture(const PictureInputs& in);

} // namespace zefa
