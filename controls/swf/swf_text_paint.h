#pragma once

// Paints edit text fields with the system's fonts. Fields whose font has outlines of its own
// are drawn with the system font of the same name too.

#include "swf/swf_font.h"
#include "swf/swf_records.h"
#include "swf/swf_text.h"

class QPainter;

namespace zefa {

// The painter's world transform maps the field's twips to the device. Draws the field's text
// (plain, its HTML tags removed) clipped to its bounds, with its border and background when it
// has them, every colour through `cx`. `font` is the field's font, or null when it has none or
// it is not defined.
void paint_edit_text(QPainter& p, const swf::EditText& t, const swf::Font* font,
                     const swf::ColorTransform& cx);

} // namespace zefa
