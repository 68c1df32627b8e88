#pragma once

// Pixel fonts of the skins: the digit displays' 14 glyphs (0-9, the entry separator, the
// hour, minute and second marks) in two sizes, and the letters of the wordmark.

#include <string>
#include <vector>

namespace skinmaker {

// Rows of a glyph: '#' is ink, anything else background.
using Glyph = std::vector<std::string>;

constexpr int kGlyphCount = 14;

Glyph large_glyph(int g); // 8 x 14, strokes 2 pixels wide
Glyph small_glyph(int g); // 5 x 7, strokes 1 pixel wide
Glyph letter(char c);     // 6 x 8 bold capitals of the wordmark

} // namespace skinmaker
