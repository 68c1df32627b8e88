#include "swf/swf_font.h"

#include <algorithm>
#include <map>

#include "swf/swf_text.h"

namespace zefa::swf {

namespace {

size_t edges_of(const Shape& shape) {
    size_t n = 0;
    for (const Shape::Layer& l : shape.layers)
        for (const Contour& c : l.path.contours)
            n += c.segments.size() + 1;
    return n;
}

// A font name: up to its first NUL (writers often count one), in the movie's text encoding.
std::string font_name(std::span<const uint8_t> bytes, uint8_t version) {
    const auto nul = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return movie_text(std::string(bytes.begin(), nul), version);
}

// The glyph shapes at `offsets` (from `table` in the tag's data), which end at `area_end`.
// Offsets come in any order, so a glyph's bytes run to the next offset above its own; a glyph
// outside the area is empty. Glyphs sharing an offset share the outline, and all of them count
// against the edge budget, copies too.
void read_glyphs(const Stream& s, size_t table, size_t area_end,
                 const std::vector<uint32_t>& offsets, size_t first_glyph_at,
                 const ShapeLimits& limits, Font& font) {
    const std::span<const uint8_t> data = s.data();
    std::vector<size_t> starts;
    starts.reserve(offsets.size());
    const auto start_of = [&](uint32_t off) -> size_t {
        const size_t at = table + off;
        return at >= first_glyph_at && at < area_end ? at : 0;
    };
    for (uint32_t off : offsets)
        if (size_t at = start_of(off)) starts.push_back(at);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());

    size_t budget = limits.max_edges;
    std::map<size_t, size_t> read_at; // start → glyph read from there
    font.glyphs.assign(offsets.size(), Shape{});
    for (size_t i = 0; i < offsets.size(); ++i) {
        const size_t at = start_of(offsets[i]);
        if (!at) continue;
        if (auto seen = read_at.find(at); seen != read_at.end()) {
            const Shape& same = font.glyphs[seen->second];
            const size_t n = edges_of(same);
            if (n > budget) continue;
            budget -= n;
            font.glyphs[i] = same;
            continue;
        }
        const auto next = std::upper_bound(starts.begin(), starts.end(), at);
        const size_t end = next == starts.end() ? area_end : *next;
        Stream g(data.subspan(at, end - at), s.version());
        ShapeLimits gl = limits;
        gl.max_edges = budget;
        std::optional<Shape> shape = decode_glyph(g, gl);
        read_at.emplace(at, i);
        if (!shape) continue;
        const size_t n = edges_of(*shape);
        if (n > budget) continue;
        budget -= n;
        font.glyphs[i] = std::move(*shape);
    }
}

FontResult decode_font1(Stream& s, const ShapeLimits& limits, const FontLimits& font_limits) {
    FontResult r;
    r.id = s.u16();
    if (!s.ok()) return {r.id, {}, "font header cut short"};
    const size_t table = s.pos();
    if (s.remaining() < 2) return r; // no glyphs
    const size_t first = s.u16();
    const size_t count = first / 2;
    if (count * 2 > s.remaining() + 2) return {r.id, {}, "glyph count larger than the data"};
    if (count > font_limits.max_glyphs) return {r.id, {}, "too many glyphs"};
    std::vector<uint32_t> offsets;
    offsets.reserve(count);
    if (count) offsets.push_back(static_cast<uint32_t>(first));
    while (offsets.size() < count)
        offsets.push_back(s.u16());
    read_glyphs(s, table, s.data().size(), offsets, table + 2 * count, limits, r.font);
    r.font.codes.assign(count, 0);
    return r;
}

} // namespace

std::optional<size_t> Font::glyph_of(uint16_t code) const {
    const auto it = std::find(codes.begin(), codes.end(), code);
    if (it == codes.end()) return std::nullopt;
    return static_cast<size_t>(it - codes.begin());
}

FontResult decode_font(uint16_t tag_code, Stream& s, const ShapeLimits& limits,
                       const FontLimits& font_limits) {
    if (tag_code == kTagDefineFont) return decode_font1(s, limits, font_limits);
    if (tag_code != kTagDefineFont2 && tag_code != kTagDefineFont3)
        return {0, {}, "not a font tag"};

    FontResult r;
    Font& f = r.font;
    r.id = s.u16();
    const uint8_t flags = s.u8();
    s.u8(); // language: the system picks its own fonts
    const size_t name_length = s.u8();
    f.name = font_name(s.bytes(name_length), s.version());
    const size_t count = s.u16();
    if (!s.ok()) return {r.id, {}, "font header cut short"};
    f.has_layout = flags & 0x80;
    const bool wide_offsets = flags & 0x08, wide_codes = flags & 0x04;
    f.italic = flags & 0x02;
    f.bold = flags & 0x01;
    f.em = tag_code == kTagDefineFont3 ? 20480 : 1024;
    if (count > font_limits.max_glyphs) return {r.id, {}, "too many glyphs"};

    const size_t width = wide_offsets ? 4 : 2;
    const size_t table = s.pos();
    // Device fonts may leave out the code table offset.
    if (count == 0 && s.remaining() < width) {
        f.has_layout = false;
        return r;
    }
    if ((count + 1) * width > s.remaining()) return {r.id, {}, "glyph count larger than the data"};
    std::vector<uint32_t> offsets(count);
    for (uint32_t& off : offsets)
        off = wide_offsets ? s.u32() : s.u16();
    const size_t code_table = table + (wide_offsets ? s.u32() : s.u16());
    const size_t size = s.data().size();
    const size_t glyphs_at = table + (count + 1) * width;
    // A code table outside the data leaves the glyphs without codes or layout.
    const bool codes_found = code_table >= glyphs_at && code_table <= size;
    read_glyphs(s, table, codes_found ? code_table : size, offsets, glyphs_at, limits, f);
    f.codes.assign(count, 0);

    const size_t code_width = wide_codes ? 2 : 1;
    if (!codes_found || count * code_width > size - code_table) {
        f.has_layout = false;
        return r;
    }
    Stream c(s.data().subspan(code_table), s.version());
    for (uint16_t& code : f.codes)
        code = wide_codes ? c.u16() : c.u8();
    // The bounds and kerning tables that follow are not needed to draw.
    if (f.has_layout && c.remaining() >= 6 + 2 * count) {
        f.ascent = c.u16();
        f.descent = c.u16();
        f.leading = c.s16();
        f.advances.resize(count);
        for (int16_t& a : f.advances)
            a = c.s16();
    } else {
        f.has_layout = false;
    }
    return r;
}

uint16_t font_info_id(Stream& s) {
    return s.u16();
}

std::string apply_font_info(Font& font, uint16_t tag_code, Stream& s) {
    s.u16(); // the font, found by the caller
    const size_t name_length = s.u8();
    const std::span<const uint8_t> name = s.bytes(name_length);
    const uint8_t flags = s.u8();
    if (tag_code == kTagDefineFontInfo2) s.u8(); // language
    if (!s.ok()) return "font info cut short";
    font.name = font_name(name, s.version());
    font.italic = flags & 0x04;
    font.bold = flags & 0x02;
    const bool wide = (flags & 0x01) || tag_code == kTagDefineFontInfo2;
    font.codes.resize(font.glyphs.size());
    for (uint16_t& code : font.codes) {
        if (s.remaining() < (wide ? 2u : 1u)) return "fewer codes than glyphs";
        code = wide ? s.u16() : s.u8();
    }
    return {};
}

} // namespace zefa::swf
