#pragma once

// The glyphs of the panel's three digit displays, cell by cell. Leading cells are not
// reduced, so a value too large for its first cell selects a glyph beyond 9.

#include <cstdint>
#include <vector>

namespace zefa {

constexpr int64_t kGlyphEntrySeparator = 10, kGlyphHours = 11, kGlyphMinutes = 12,
                  kGlyphSeconds = 13;

// n and c as three digits each with the separator between: "005/012".
std::vector<int64_t> entry_cells(int64_t n, int64_t c);
// Milliseconds as h, mm, ss with their marks.
std::vector<int64_t> time_cells(int64_t ms);
// A frame number as eight digits.
std::vector<int64_t> frame_cells(int64_t f);

} // namespace zefa
