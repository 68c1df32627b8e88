#pragma once

#include "canvas.h"

namespace skinmaker {

enum class Icon {
    Play,
    Pause,
    Stop,
    Previous,
    Next,
    Rewind,
    FastForward,
    Quit,
    Minimise,
    ScanLines,
    LineMask,
    FullScreen,
    Aspect,
    ZoomIn,
    ZoomOut,
    Playlist,
    Open,
    Settings,
    Repeat,
    Random,
    Speaker,
};

// Draws the icon centred in the square of side `size` at (x, y). Sizes of 8 to 16 pixels
// keep the strokes on whole pixels.
void draw_icon(Canvas& c, Icon icon, int x, int y, int size, Rgb colour);

} // namespace skinmaker
