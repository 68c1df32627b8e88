#pragma once

// Lays a design out as the two files of a skin folder: "main.da1" (one rectangle per line,
// elements 0-21 then 25-49) and "main.bmp" (layers 0-3, then the three digit fonts).

#include <array>
#include <functional>
#include <string>

#include "canvas.h"
#include "look.h"

namespace skinmaker {

struct Element {
    int x = 0, y = 0, w = 0, h = 0;
};

inline Box box(const Element& e) {
    return {static_cast<double>(e.x), static_cast<double>(e.y), static_cast<double>(e.w),
            static_cast<double>(e.h)};
}

struct Design {
    std::string name;
    std::array<Element, 50> el{}; // element 0's w and h are the panel's size
    Shape outline;                // the panel's shape; everything outside is exact white
    // Paints one layer (0 rest, 1 lit, 2 pressed) of size w0 x h0 on white.
    std::function<void(Canvas&, Layer)> paint;
    // The figures' colours of the three displays (elements 26, 27, 28).
    std::array<Rgb, 3> figures{colour::kFigureDim, colour::kFigure, colour::kFigureDim};
};

// Puts the three pieces of the bar above a Flash movie (elements 37-39) into layer 3.
void place_flash_bar(Design& d);

// What every design draws at its elements' places: the status lamps, the seek level meters,
// the title area, the slash before the length, the seek bar, the speaker and the volume slider.
void lamps_display_and_sliders(Canvas& c, const std::array<Element, 50>& el, Layer layer);

// The skin bitmap of the design.
Canvas render(const Design& d);
// The text of "main.da1".
std::string table_text(const Design& d);
// Writes <folder>/main.da1 and main.bmp; false on any failure.
bool write_skin(const Design& d, const std::string& folder);

Design default01();
Design default02();

} // namespace skinmaker
