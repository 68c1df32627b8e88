// Fonts, static text, edit text fields and buttons decoded from their tags.

#include <gtest/gtest.h>
#include <tuple>

#include "asset_writer.h"
#include "bit_writer.h"
#include "swf/swf_button.h"
#include "swf/swf_font.h"
#include "swf/swf_text.h"
#include "swf_writer.h"

namespace zefa::swf {
namespace {

using namespace zefa::test;

FontResult font(uint16_t code, const std::string& data, const ShapeLimits& limits = {}) {
    Stream s(as_bytes(data));
    return decode_font(code, s, limits);
}

Shape glyph(const std::string& shape) {
    Stream s(as_bytes(shape));
    std::optional<Shape> g = decode_glyph(s);
    EXPECT_TRUE(g.has_value());
    return g.value_or(Shape{});
}

std::string apply_info(Font& f, uint16_t code, const std::string& data, uint8_t version = 10) {
    Stream s(as_bytes(data), version);
    return apply_font_info(f, code, s);
}

// --- fonts ---

TEST(Font, DefineFontThenFontInfo) {
    const std::string a = glyph_square(0, -1024, 1024), b = glyph_square(100, -500, 300);
    FontResult r = font(kTagDefineFont, define_font(3, {a, glyph_empty(), b}));
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.id, 3);
    Font& f = r.font;
    EXPECT_EQ(f.em, 1024);
    ASSERT_EQ(f.glyphs.size(), 3u);
    EXPECT_EQ(f.glyphs[0].layers, glyph(a).layers);
    EXPECT_FALSE(f.glyphs[0].layers.empty());
    EXPECT_TRUE(f.glyphs[1].layers.empty());
    EXPECT_EQ(f.glyphs[2].layers, glyph(b).layers);
    EXPECT_TRUE(f.has_glyphs());
    EXPECT_FALSE(f.has_layout);

    const std::string info =
        define_font_info(3, std::string("Caf\xE9\0", 5), {'A', ' ', 'B'}, false, true, false);
    Stream peek(as_bytes(info));
    EXPECT_EQ(font_info_id(peek), 3);
    EXPECT_EQ(apply_info(f, kTagDefineFontInfo, info, 5), "");
    EXPECT_EQ(f.name, "Caf\xC3\xA9"); // Latin-1 before v6, the counted NUL dropped
    EXPECT_TRUE(f.bold);
    EXPECT_FALSE(f.italic);
    EXPECT_EQ(f.codes, (std::vector<uint16_t>{'A', ' ', 'B'}));
    EXPECT_EQ(f.glyph_of('B'), 2u);
    EXPECT_EQ(f.glyph_of('Z'), std::nullopt);

    // FontInfo2: wide codes always; fewer codes than glyphs keeps the rest and says so.
    EXPECT_NE(apply_info(f, kTagDefineFontInfo2,
                         define_font_info(3, "Ab", {0x4E2D, 0x6587}, true, false, true, true)),
              "");
    EXPECT_EQ(f.codes, (std::vector<uint16_t>{0x4E2D, 0x6587, 'B'}));
    EXPECT_TRUE(f.italic);
    EXPECT_EQ(f.name, "Ab");
}

TEST(Font, DefineFont2And3CarryCodesLayoutAndTheirEmSquare) {
    FontFields desc;
    desc.id = 9;
    desc.name = "Sans";
    desc.bold = desc.italic = true;
    desc.glyphs = {glyph_square(0, -700, 600), glyph_empty()};
    desc.codes = {'x', 0x263A};
    desc.layout = true;
    desc.ascent = 900;
    desc.descent = 200;
    desc.leading = -20;
    desc.advances = {650, 300};
    for (bool wide_offsets : {false, true}) {
        desc.wide_offsets = wide_offsets;
        const FontResult r = font(kTagDefineFont2, define_font2(desc));
        ASSERT_EQ(r.error, "");
        const Font& f = r.font;
        EXPECT_EQ(r.id, 9);
        EXPECT_EQ(f.name, "Sans");
        EXPECT_TRUE(f.bold && f.italic);
        EXPECT_EQ(f.em, 1024);
        ASSERT_EQ(f.glyphs.size(), 2u);
        EXPECT_EQ(f.glyphs[0].layers, glyph(desc.glyphs[0]).layers);
        EXPECT_EQ(f.codes, desc.codes);
        ASSERT_TRUE(f.has_layout);
        EXPECT_EQ(f.ascent, 900);
        EXPECT_EQ(f.descent, 200);
        EXPECT_EQ(f.leading, -20);
        EXPECT_EQ(f.advances, desc.advances);
    }
    desc.wide_codes = false;
    desc.codes = {'x', 'y'};
    const FontResult three = font(kTagDefineFont3, define_font2(desc));
    ASSERT_EQ(three.error, "");
    EXPECT_EQ(three.font.em, 20480);
    EXPECT_EQ(three.font.codes, desc.codes);
    EXPECT_EQ(three.font.advances, desc.advances);
}

TEST(Font, DeviceFontsHaveANameAndNoGlyphs) {
    FontFields desc;
    desc.name = "_sans";
    const std::string with_table = define_font2(desc);
    for (const std::string& data : {with_table, with_table.substr(0, with_table.size() - 2)}) {
        const FontResult r = font(kTagDefineFont2, data);
        ASSERT_EQ(r.error, "");
        EXPECT_EQ(r.font.name, "_sans");
        EXPECT_FALSE(r.font.has_glyphs());
    }
    // DefineFont with nothing after its id.
    const FontResult bare = font(kTagDefineFont, define_font(2, {}));
    ASSERT_EQ(bare.error, "");
    EXPECT_FALSE(bare.font.has_glyphs());
}

TEST(Font, GlyphOffsetsInAnyOrderAndPastTheData) {
    // Glyph 1's outline written after glyph 2's; glyph 3 points past the tag. (Glyph 0 comes
    // first: its offset gives the count.)
    const std::string a = glyph_square(0, -800, 800), b = glyph_square(10, -20, 10),
                      c = glyph_polygon({{0, 0}, {30, -40}, {60, 0}});
    const auto size = [](const std::string& g) { return static_cast<uint32_t>(g.size()); };
    BitWriter w;
    w.u16(1).u16(8).u16(8 + size(a) + size(b)).u16(8 + size(a)).u16(60000);
    w.bytes(a).bytes(b).bytes(c);
    const FontResult r = font(kTagDefineFont, w.data());
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.font.glyphs.size(), 4u);
    EXPECT_EQ(r.font.glyphs[0].layers, glyph(a).layers);
    EXPECT_EQ(r.font.glyphs[1].layers, glyph(c).layers);
    EXPECT_EQ(r.font.glyphs[2].layers, glyph(b).layers);
    EXPECT_TRUE(r.font.glyphs[3].layers.empty());
}

TEST(Font, CountsAreCheckedAgainstTheData) {
    FontFields desc;
    desc.glyphs = {glyph_square(0, 0, 5)};
    std::string data = define_font2(desc);
    data[5 + 0 + 1] = '\x10'; // 4096 glyphs claimed (the name is empty)
    EXPECT_NE(font(kTagDefineFont2, data).error, "");
    // DefineFont's first offset gives the count.
    EXPECT_NE(font(kTagDefineFont, BitWriter().u16(1).u16(4000).u16(2).data()).error, "");
    // A code table offset past the data: glyphs without codes or layout.
    desc.layout = true;
    std::string lost = define_font2(desc);
    lost[10] = '\x7F';
    const FontResult r = font(kTagDefineFont2, lost);
    ASSERT_EQ(r.error, "");
    EXPECT_FALSE(r.font.has_layout);
    EXPECT_EQ(r.font.codes, std::vector<uint16_t>{0});
}

TEST(Font, EdgesOfAllGlyphsShareOneBudget) {
    const std::string square = glyph_square(0, 0, 100);
    const size_t per_glyph = [&] {
        size_t n = 0;
        for (const auto& l : glyph(square).layers)
            for (const auto& c : l.path.contours)
                n += c.segments.size() + 1;
        return n;
    }();
    ASSERT_GT(per_glyph, 0u);
    // Every glyph at the same offset: each one counts.
    BitWriter w;
    w.u16(1);
    for (int i = 0; i < 5; ++i)
        w.u16(10);
    w.bytes(square);
    const FontResult r = font(kTagDefineFont, w.data(), {.max_edges = per_glyph * 3});
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.font.glyphs.size(), 5u);
    int drawn = 0;
    for (const Shape& g : r.font.glyphs)
        drawn += !g.layers.empty();
    EXPECT_EQ(drawn, 3);
    EXPECT_FALSE(r.font.glyphs[0].layers.empty());
}

// --- static text ---

TextResult text(uint16_t code, const std::string& data, const TextLimits& limits = {}) {
    Stream s(as_bytes(data));
    return decode_text(code, s, limits);
}

TEST(Text, LayoutCarriesFontColourAndYAndContinuesX) {
    const Rgba red{255, 0, 0, 255}, blue{0, 0, 255, 128};
    const std::vector<TextRecordFields> records{
        {.font = 4, .height = 240, .color = red, .x = 100, .y = 200, .glyphs = {{0, 50}, {1, 60}}},
        {.glyphs = {{2, -10}}},
        {.color = blue, .y = 400, .glyphs = {{3, 5}}},
        {.font = 5, .height = 480, .x = -30, .glyphs = {{70000, 1}}},
    };
    const Matrix m{1, 0, 0, 1, 20, 40};
    const TextResult r =
        text(kTagDefineText2, define_text(8, {0, 2000, -100, 500}, m, records, true));
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.id, 8);
    EXPECT_EQ(r.text.bounds.x_max, 2000);
    EXPECT_EQ(r.text.bounds.y_min, -100);
    EXPECT_EQ(r.text.matrix, m);
    const std::vector<TextRun> want{
        {4, red, 240, {{0, 100, 200}, {1, 150, 200}}},
        {4, red, 240, {{2, 210, 200}}},
        {4, blue, 240, {{3, 200, 400}}},
        {5, blue, 480, {{70000, -30, 400}}},
    };
    EXPECT_EQ(r.text.runs, want);
}

TEST(Text, ColoursWithoutAlphaAreOpaqueAndGlyphsBeforeAFontAreDropped) {
    const std::vector<TextRecordFields> records{
        {.x = 0, .glyphs = {{1, 30}}},
        {.font = 1, .height = 20, .color = Rgba{1, 2, 3, 0}, .glyphs = {{2, 0}}},
    };
    const TextResult r = text(kTagDefineText, define_text(1, {}, {}, records));
    ASSERT_EQ(r.error, "");
    const std::vector<TextRun> want{{1, {1, 2, 3, 255}, 20, {{2, 30, 0}}}};
    EXPECT_EQ(r.text.runs, want);
}

TEST(Text, HostileRecords) {
    const std::vector<TextRecordFields> two{{.font = 1, .height = 20, .glyphs = {{1, 10}, {2, 10}}},
                                            {.glyphs = {{3, 10}, {4, 10}}}};
    const std::string data = define_text(1, {}, {}, two);
    // Too many glyphs for the limit.
    EXPECT_NE(text(kTagDefineText, data, {.max_glyphs = 3}).error, "");
    EXPECT_EQ(text(kTagDefineText, data, {.max_glyphs = 4}).error, "");
    // A record cut short is dropped; those before it stay.
    const TextResult cut = text(kTagDefineText, data.substr(0, data.size() - 2));
    ASSERT_EQ(cut.error, "");
    ASSERT_EQ(cut.text.runs.size(), 1u);
    EXPECT_EQ(cut.text.runs[0].glyphs.size(), 2u);
    // Glyph fields wider than 32 bits, and a header cut short.
    std::string wide = data;
    wide[5] = '\x40'; // GlyphBits, after the id, an empty rect and an empty matrix
    EXPECT_NE(text(kTagDefineText, wide).error, "");
    EXPECT_NE(text(kTagDefineText, data.substr(0, 4)).error, "");
    // 255 glyphs of 0 bits each from two bytes a record: bounded by the limit.
    BitWriter zero;
    zero.u16(1).rect(0, 0, 0, 0).matrix({}).u8(0).u8(0).u8(0x88).u16(1).u16(20);
    zero.u8(255);
    for (int i = 0; i < 1000; ++i)
        zero.u8(0x80).u8(255);
    EXPECT_NE(text(kTagDefineText, zero.data()).error, "");
}

// --- edit text ---

auto fields(const EditText& t) {
    const Rect& b = t.bounds;
    return std::tuple(b.x_min, b.x_max, b.y_min, b.y_max, t.word_wrap, t.multiline, t.password,
                      t.read_only, t.auto_size, t.no_select, t.border, t.was_static, t.html,
                      t.use_outlines, t.has_font, t.font, t.font_class, t.height, t.has_color,
                      t.color.r, t.color.g, t.color.b, t.color.a, t.max_length, t.has_layout,
                      t.align, t.left_margin, t.right_margin, t.indent, t.leading, t.variable,
                      t.has_text, t.text);
}

EditTextResult edit(const std::string& data, uint8_t version = 10) {
    Stream s(as_bytes(data), version);
    return decode_edit_text(kTagDefineEditText, s);
}

TEST(EditTextModel, EveryFieldRoundTrips) {
    EditText t;
    t.bounds = {-40, 4000, 0, 800};
    t.word_wrap = t.multiline = t.password = t.read_only = t.auto_size = t.no_select = true;
    t.border = t.was_static = t.html = t.use_outlines = true;
    t.has_font = true;
    t.font = 12;
    t.height = 360;
    t.has_color = true;
    t.color = {10, 20, 30, 40};
    t.max_length = 77;
    t.has_layout = true;
    t.align = EditText::Align::Center;
    t.left_margin = 40;
    t.right_margin = 60;
    t.indent = 80;
    t.leading = -20;
    t.variable = "_root.name";
    t.has_text = true;
    t.text = "h\xC3\xA9llo";
    const EditTextResult r = edit(define_edit_text(5, t));
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.id, 5);
    EXPECT_EQ(fields(r.text), fields(t));

    // Only the required fields; the font class brings a height too.
    EditText bare;
    bare.font_class = "Embedded";
    bare.height = 200;
    bare.variable = "v";
    const EditTextResult b = edit(define_edit_text(6, bare));
    ASSERT_EQ(b.error, "");
    EXPECT_EQ(fields(b.text), fields(bare));
    EXPECT_EQ(b.text.color, (Rgba{0, 0, 0, 255}));
}

TEST(EditTextModel, TextEncodingByVersionAndAMissingFinalNul) {
    EditText t;
    t.has_text = true;
    t.text = "caf\xE9";
    std::string data = define_edit_text(1, t);
    EXPECT_EQ(edit(data, 5).text.text, "caf\xC3\xA9");
    data.pop_back(); // the NUL
    const EditTextResult r = edit(data, 5);
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.text.text, "caf\xC3\xA9");
    EXPECT_NE(edit(data.substr(0, 3)).error, "");
}

TEST(EditTextModel, HtmlIsStrippedToLinesOfText) {
    EXPECT_EQ(strip_html("<p align=\"left\"><font face=\"_sans\" size=\"12\">a &lt;b&gt; &amp; "
                         "&quot;c&quot; &apos;</font></p><P>second<BR/>third</p>"),
              "a <b> & \"c\" '\nsecond\nthird");
    EXPECT_EQ(strip_html("<p>one</p><p></p><p>three</p>"), "one\n\nthree");
    EXPECT_EQ(strip_html("&#65;&#x42;&unknown; &"), "AB&unknown; &");
    EXPECT_EQ(strip_html("kept <b>bold</b> <unfinished"), "kept bold ");
    EXPECT_EQ(strip_html(std::string(100000, '<')), "");

    EditText t;
    t.text = "<b>x</b>";
    EXPECT_EQ(t.plain_text(), "<b>x</b>");
    t.html = true;
    EXPECT_EQ(t.plain_text(), "x");
}

// --- buttons ---

ButtonResult button(uint16_t code, const std::string& data, uint8_t version = 10,
                    const ButtonLimits& limits = {}) {
    Stream s(as_bytes(data), version);
    return decode_button(code, s, limits);
}

TEST(ButtonModel, OnlyUpRecordsInDepthOrder) {
    ColorTransform half;
    half.mult[3] = 128;
    const Matrix moved{1, 0, 0, 1, 200, -60};
    const std::vector<ButtonRecordFields> records{
        {.states = kButtonUp | kButtonOver, .character = 1, .depth = 3},
        {.states = kButtonOver, .character = 2, .depth = 1},
        {.states = kButtonUp | kButtonHit,
         .character = 3,
         .depth = 2,
         .matrix = moved,
         .cxform = half},
        {.states = kButtonHit, .character = 4, .depth = 0},
    };
    const ButtonResult one = button(kTagDefineButton, define_button(20, records));
    ASSERT_EQ(one.error, "");
    EXPECT_EQ(one.id, 20);
    const std::vector<ButtonRecord> want1{{3, 2, moved, {}}, {1, 3, {}, {}}};
    EXPECT_EQ(one.button.up, want1);

    const ButtonResult two = button(kTagDefineButton2, define_button2(20, records));
    ASSERT_EQ(two.error, "");
    const std::vector<ButtonRecord> want2{{3, 2, moved, half}, {1, 3, {}, {}}};
    EXPECT_EQ(two.button.up, want2);
}

TEST(ButtonModel, FiltersAndBlendModesAreSkippedFromVersion8AndIgnoredBefore) {
    // A blur, a gradient glow with two colours, and a convolution of 2×1.
    std::string filters("\x03\x01", 2);
    filters += std::string(9, '\x11');
    filters += std::string("\x04\x02", 2) + std::string(10 + 19, '\x22');
    filters += std::string("\x05\x02\x01", 3) + std::string(13 + 8, '\x33');
    const std::vector<ButtonRecordFields> records{
        {.character = 1, .depth = 1, .filters = filters, .blend = 3},
        {.character = 2, .depth = 2},
    };
    const ButtonResult v8 = button(kTagDefineButton2, define_button2(1, records), 8);
    ASSERT_EQ(v8.error, "");
    ASSERT_EQ(v8.button.up.size(), 2u);
    EXPECT_EQ(v8.button.up[1].character, 2);

    const std::vector<ButtonRecordFields> stray{{.character = 1, .depth = 1, .stray_bits = true},
                                                {.character = 2, .depth = 2}};
    const ButtonResult v7 = button(kTagDefineButton2, define_button2(1, stray), 7);
    ASSERT_EQ(v7.button.up.size(), 2u);
    EXPECT_EQ(v7.button.up[1].character, 2);
}

TEST(ButtonModel, CxformAppliesToEveryRecord) {
    ButtonResult r =
        button(kTagDefineButton,
               define_button(2, {{.character = 1, .depth = 1}, {.character = 5, .depth = 4}}));
    ASSERT_EQ(r.error, "");
    ColorTransform cx;
    cx.mult[0] = 0;
    cx.add[1] = 255;
    const std::string data = define_button_cxform(2, cx);
    Stream s(as_bytes(data));
    EXPECT_EQ(s.u16(), 2);
    apply_button_cxform(r.button, s);
    ASSERT_EQ(r.button.up.size(), 2u);
    for (const ButtonRecord& rec : r.button.up)
        EXPECT_EQ(rec.cxform, cx);
}

TEST(ButtonModel, CutRecordsEndTheListAndCountsAreLimited) {
    const std::vector<ButtonRecordFields> records{
        {.character = 1, .depth = 1}, {.character = 2, .depth = 2}, {.character = 3, .depth = 3}};
    const std::string data = define_button(1, records);
    // Into the third record: the first two stay.
    const ButtonResult cut = button(kTagDefineButton, data.substr(0, 2 + 2 * 6 + 3));
    ASSERT_EQ(cut.error, "");
    EXPECT_EQ(cut.button.up.size(), 2u);
    EXPECT_NE(button(kTagDefineButton, data, 10, {.max_records = 2}).error, "");
    EXPECT_NE(button(kTagDefineButton2, "\x01").error, "");
}

} // namespace
} // namespace zefa::swf
