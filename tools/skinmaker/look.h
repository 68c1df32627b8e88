#pragma once

// The shared look of our skins: a graphite body, black display glass with cyan figures,
// raised buttons that light up in cyan and sink when pressed.

#include <array>

#include "canvas.h"
#include "icons.h"

namespace skinmaker {

// The three pictures an element can have, one per layer of the skin bitmap.
enum Layer { kRest = 0, kLit = 1, kPressed = 2 };

namespace colour {
const Rgb kOutline = hex(0x0E1013);
const Rgb kBodyTop = hex(0x3A3F47);
const Rgb kBodyBottom = hex(0x202328);
const Rgb kBodyHighlight = hex(0x5A616B);
const Rgb kGlass = hex(0x000000);
const Rgb kAccent = hex(0x45D2FF);
const Rgb kAccentDeep = hex(0x1E8FD8);
const Rgb kAmber = hex(0xFFB347);
const Rgb kRed = hex(0xFF5F57);
const Rgb kIcon = hex(0xD3D9E1);
const Rgb kIconPressed = hex(0xF2F8FD);
const Rgb kGhost = hex(0x122630);
const Rgb kFigure = hex(0xE6F7FF);
const Rgb kFigureDim = hex(0x79AFC6);
} // namespace colour

// Shapes derived from others, for rims and highlights.
Shape erode(Shape s, double by);
Shape shifted(Shape s, double dx, double dy);

// Fills the body: an outline rim one pixel wide, a vertical gradient, a highlight along every
// upward-facing edge. The rim is crisp (sampled at pixel centres) so only exact white remains
// outside.
void body(Canvas& c, const Shape& outline, Box bounds);
// A black display window sunk into the body.
void glass(Canvas& c, Box b, double radius);
// A rounded button with an icon in the given layer; `accent` is the lit icon's colour.
void button(Canvas& c, Box b, double radius, Icon icon, int icon_size, Layer layer,
            Rgb accent = colour::kAccent);
// A round button.
void round_button(Canvas& c, double cx, double cy, double r, Icon icon, int icon_size, Layer layer,
                  Rgb accent = colour::kAccent);
// A slider groove of the rectangle's width, vertically centred; filled when lit.
void groove(Canvas& c, Box b, int thickness, Layer layer);
// A status icon on the glass: a faint ghost at rest, bright when lit.
void indicator(Canvas& c, Icon icon, int x, int y, int size, Layer layer, Rgb lit);
// `steps` level marks of step width w from (x, y); brighter towards the far end when lit.
void level_steps(Canvas& c, int x, int y, int w, int h, int steps, bool growing_left, Layer layer,
                 Rgb lit);
// The title area: black at rest, the title colours when lit.
void title_area(Canvas& c, Box b, Layer layer);
// The wordmark in pixel capitals; brighter when lit.
void wordmark(Canvas& c, int x, int y, Layer layer);

} // namespace skinmaker
