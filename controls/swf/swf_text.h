#pragma once

// Static text (glyphs of embedded fonts at positions worked out here) and edit text fields
// (a string drawn with a font at paint time). Fonts are looked up by id when painting.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "swf/swf_records.h"
#include "swf/swf_stream.h"

namespace zefa::swf {

inline constexpr uint16_t kTagDefineText = 11;
inline constexpr uint16_t kTagDefineText2 = 33;
inline constexpr uint16_t kTagDefineEditText = 37;

struct TextGlyph {
    uint32_t index = 0;  // into the run's font's glyphs
    double x = 0, y = 0; // origin on the baseline, twips in text space
    bool operator==(const TextGlyph&) const = default;
};

// Glyphs sharing one font, height and colour.
struct TextRun {
    uint16_t font = 0;
    Rgba color;
    uint16_t height = 0; // twips: the font's em square drawn this high
    std::vector<TextGlyph> glyphs;
    bool operator==(const TextRun&) const = default;
};

struct Text {
    Rect bounds;
    Matrix matrix; // text space to the character's space
    std::vector<TextRun> runs;
};

struct EditText {
    enum class Align : uint8_t { Left, Right, Center, Justify };
    Rect bounds;
    bool word_wrap = false, multiline = false, password = false, read_only = false;
    bool auto_size = false, no_select = false, border = false, was_static = false;
    bool html = false, use_outlines = false;
    bool has_font = false; // else the text has no font of its own
    uint16_t font = 0;
    std::string font_class; // a font named by class (v9+), when given
    uint16_t height = 0;    // twips
    bool has_color = false;
    Rgba color;              // black without one
    uint16_t max_length = 0; // 0: none
    bool has_layout = false;
    Align align = Align::Left;
    uint16_t left_margin = 0, right_margin = 0, indent = 0; // twips
    int16_t leading = 0;                                    // twips between lines
    std::string variable;                                   // UTF-8
    bool has_text = false;
    std::string text; // UTF-8, as written (HTML when `html`)

    // The text to draw: HTML tags removed (<br> and </p> end a line), the common entities
    // decoded; the text itself otherwise. Lines end with '\n' or '\r'.
    std::string plain_text() const;
};

struct TextLimits {
    size_t max_glyphs = 65'536;              // in one DefineText, all records together
    size_t max_text_bytes = size_t{1} << 20; // an edit text's initial text; longer is cut
};

struct TextResult {
    uint16_t id = 0;
    Text text;
    std::string error; // empty on success
};

struct EditTextResult {
    uint16_t id = 0;
    EditText text;
    std::string error; // empty on success
};

// DefineText and DefineText2 (11, 33): the tag's data from the character id on.
TextResult decode_text(uint16_t tag_code, Stream& s, const TextLimits& limits = {});
// DefineEditText (37): the tag's data from the character id on.
EditTextResult decode_edit_text(uint16_t tag_code, Stream& s, const TextLimits& limits = {});

// Text of a movie as UTF-8: written so from v6 on, Latin-1 before.
std::string movie_text(std::string_view bytes, uint8_t version);

// Equal but for the case of ASCII letters: labels, instance names and property values.
bool same_ignoring_ascii_case(std::string_view a, std::string_view b);

// A field's text with the HTML subset stripped (see EditText::plain_text).
std::string strip_html(std::string_view html);

} // namespace zefa::swf
