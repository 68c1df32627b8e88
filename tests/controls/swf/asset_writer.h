#pragma once

// Writes the data of bitmap, font, text and button tags (from the character id on, without
// the tag header): wrap it with SwfWriter::tag, or decode it directly.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "swf/swf_records.h"
#include "swf/swf_text.h"

namespace zefa::test {

// Tag codes of what is written here.
inline constexpr uint16_t kDefineBits = 6, kJpegTables = 8, kDefineBitsLossless = 20,
                          kDefineBitsJpeg2 = 21, kDefineBitsJpeg3 = 35, kDefineBitsLossless2 = 36,
                          kDefineBitsJpeg4 = 90;

// --- bitmaps ---

// Format 5: opaque RGB for DefineBitsLossless; premultiplied ARGB for DefineBitsLossless2
// (`with_alpha`), colours given straight.
std::string define_bits_lossless(uint16_t id, int width, int height,
                                 const std::vector<swf::Rgba>& pixels, bool with_alpha);
// Format 3: a colour table (RGB, or RGBA `with_alpha`) and one index per pixel, rows padded to
// four bytes.
std::string define_bits_lossless_mapped(uint16_t id, int width, int height,
                                        const std::vector<swf::Rgba>& table,
                                        const std::vector<uint8_t>& indices, bool with_alpha);
// Format 4 (DefineBitsLossless): 15-bit pixels 0RRRRRGG GGGBBBBB, rows padded to four bytes.
std::string define_bits_lossless_pix15(uint16_t id, int width, int height,
                                       const std::vector<uint16_t>& pixels);
// Any header over the given zlib data, for data that does not match its header.
std::string define_bits_lossless_packed(uint16_t id, uint8_t format, uint16_t width,
                                        uint16_t height, std::string_view zlib_data,
                                        uint8_t table_size_minus_one = 0);

std::string define_bits(uint16_t id, std::string_view jpeg);        // with the movie's JPEGTables
std::string define_bits_jpeg2(uint16_t id, std::string_view image); // JPEG, PNG or GIF
// The alpha values (width × height bytes, top-down) are compressed here.
std::string define_bits_jpeg3(uint16_t id, std::string_view image, std::string_view alpha);
std::string define_bits_jpeg4(uint16_t id, std::string_view image, std::string_view alpha,
                              uint16_t deblock = 0);

// A JPEG marker stream with a frame header of this size and a stub scan: enough to be cleaned
// and measured, not to be decoded.
std::string jpeg_stub(int width, int height);
// A whole JPEG split as a movie stores DefineBits: the tables (quantisation and Huffman) as
// JPEGTables data, and the rest as the image.
std::pair<std::string, std::string> split_jpeg_tables(std::string_view jpeg);

// --- fonts ---

// A glyph SHAPE: one closed polygon (glyph units, y down, baseline at 0) with fill style 1.
std::string glyph_polygon(const std::vector<std::pair<int32_t, int32_t>>& points);
// A square glyph from (x, y) to (x + size, y + size).
std::string glyph_square(int32_t x, int32_t y, int32_t size);
// A glyph with no outline (a space).
std::string glyph_empty();

struct FontFields {
    uint16_t id = 1;
    std::string name; // bytes as written
    bool bold = false, italic = false;
    bool wide_offsets = false, wide_codes = true;
    std::vector<std::string> glyphs; // SHAPE data each
    std::vector<uint16_t> codes;     // one per glyph
    bool layout = false;
    uint16_t ascent = 0, descent = 0;
    int16_t leading = 0;
    std::vector<int16_t> advances; // one per glyph, with layout
};

// DefineFont: glyphs only.
std::string define_font(uint16_t id, const std::vector<std::string>& glyphs);
// DefineFont2 or DefineFont3 (the same data; glyphs of DefineFont3 use a 20480 em square).
std::string define_font2(const FontFields& font);
// DefineFontInfo (13), or DefineFontInfo2 (62) with `info2` (codes always wide there).
std::string define_font_info(uint16_t id, std::string_view name, const std::vector<uint16_t>& codes,
                             bool wide_codes, bool bold = false, bool italic = false,
                             bool info2 = false);

// --- text ---

struct TextRecordFields {
    std::optional<uint16_t> font = {}; // with its height
    uint16_t height = 0;
    std::optional<swf::Rgba> color = {};
    std::optional<int16_t> x = {}, y = {};
    std::vector<std::pair<uint32_t, int32_t>> glyphs = {}; // glyph index, advance
};

// DefineText, or DefineText2 (colours with alpha) with `text2`.
std::string define_text(uint16_t id, swf::Rect bounds, const swf::Matrix& matrix,
                        const std::vector<TextRecordFields>& records, bool text2 = false);
// DefineEditText from the fields of `t`: the has_* flags choose the optional fields; a max
// length is written when not 0, a font class when not empty. Strings go as they are.
std::string define_edit_text(uint16_t id, const swf::EditText& t);

// --- buttons ---

inline constexpr uint8_t kButtonUp = 1, kButtonOver = 2, kButtonDown = 4, kButtonHit = 8;

struct ButtonRecordFields {
    uint8_t states = kButtonUp;
    uint16_t character = 0, depth = 1;
    swf::Matrix matrix = {};
    swf::ColorTransform cxform = {}; // DefineButton2 only
    std::string filters = {};        // a FILTERLIST as is (DefineButton2)
    std::optional<uint8_t> blend = {};
    bool stray_bits = false; // the filter and blend flags set with no data behind them
};

// DefineButton: the records, then an action list holding one Stop.
std::string define_button(uint16_t id, const std::vector<ButtonRecordFields>& records);
// DefineButton2: the records, then one condition action holding a Stop.
std::string define_button2(uint16_t id, const std::vector<ButtonRecordFields>& records);
std::string define_button_cxform(uint16_t id, const swf::ColorTransform& cx);

} // namespace zefa::test
