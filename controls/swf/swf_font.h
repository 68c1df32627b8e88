#pragma once

// Fonts: embedded glyph outlines with their character codes and layout, or only a name and
// style for a font the system supplies (a device font). DefineFontInfo adds codes and a name to
// a DefineFont already in the dictionary.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "swf/swf_shape.h"
#include "swf/swf_stream.h"

namespace zefa::swf {

inline constexpr uint16_t kTagDefineFont = 10;
inline constexpr uint16_t kTagDefineFontInfo = 13;
inline constexpr uint16_t kTagDefineFont2 = 48;
inline constexpr uint16_t kTagDefineFontInfo2 = 62;
inline constexpr uint16_t kTagDefineFont3 = 75;

struct Font {
    std::string name; // UTF-8; empty for a DefineFont without DefineFontInfo
    bool bold = false, italic = false;
    // Glyph outlines and layout values are in units of this square (1024, or 20480 for
    // DefineFont3): a glyph drawn at text height h scales by h / em.
    int em = 1024;
    std::vector<Shape> glyphs;     // by glyph index; a glyph that could not be read is empty
    std::vector<uint16_t> codes;   // by glyph index: its character (UCS-2 from v6 on)
    std::vector<int16_t> advances; // by glyph index, with layout only
    bool has_layout = false;
    int ascent = 0, descent = 0, leading = 0; // with layout only

    // A device font: drawn with the system's font of this name.
    bool has_glyphs() const { return !glyphs.empty(); }
    // The glyph that draws a character, if any.
    std::optional<size_t> glyph_of(uint16_t code) const;
};

struct FontLimits {
    size_t max_glyphs = 65'535; // in one font: every count the format can state
};

struct FontResult {
    uint16_t id = 0;
    Font font;
    std::string error; // empty on success
};

// DefineFont, DefineFont2, DefineFont3 (10, 48, 75): the tag's data from the font id on.
// `limits.max_edges` bounds the edges of all glyphs together; glyphs past it are left empty.
FontResult decode_font(uint16_t tag_code, Stream& s, const ShapeLimits& limits = {},
                       const FontLimits& font_limits = {});

// DefineFontInfo and DefineFontInfo2 (13, 62): the font they belong to, read from the start of
// the tag's data (the stream moves past it).
uint16_t font_info_id(Stream& s);
// Name, style and codes for `font`, from the tag's data from the font id on. Codes beyond the
// font's glyphs are ignored; glyphs beyond the codes keep theirs. Returns an error text, empty
// when everything was read.
std::string apply_font_info(Font& font, uint16_t tag_code, Stream& s);

} // namespace zefa::swf
