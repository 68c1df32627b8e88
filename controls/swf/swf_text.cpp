#include "swf/swf_text.h"

#include <algorithm>
#include <cstring>

namespace zefa::swf {

namespace {

void put_utf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The last string of a tag; some writers leave out its NUL.
std::string last_string(Stream& s) {
    const std::span<const uint8_t> rest = s.data().subspan(s.pos());
    if (std::memchr(rest.data(), 0, rest.size())) return s.string();
    s.skip(rest.size());
    return std::string(rest.begin(), rest.end());
}

// `bytes` cut to at most `max`, not inside a UTF-8 sequence from v6 on.
std::string_view cut(std::string_view bytes, size_t max, uint8_t version) {
    if (bytes.size() <= max) return bytes;
    size_t n = max;
    if (version >= 6)
        while (n > 0 && (static_cast<uint8_t>(bytes[n]) & 0xC0) == 0x80)
            --n;
    return bytes.substr(0, n);
}

// The character of an entity between '&' and ';', or 0 for one not known.
uint32_t entity(std::string_view e) {
    if (e == "lt") return '<';
    if (e == "gt") return '>';
    if (e == "amp") return '&';
    if (e == "quot") return '"';
    if (e == "apos") return '\'';
    if (e == "nbsp") return 0xA0;
    if (e.size() < 2 || e[0] != '#') return 0;
    const bool hex = e[1] == 'x' || e[1] == 'X';
    const std::string_view digits = e.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    uint32_t v = 0;
    for (char c : digits) {
        uint32_t d;
        if (c >= '0' && c <= '9')
            d = uint32_t(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            d = uint32_t(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            d = uint32_t(c - 'A' + 10);
        else
            return 0;
        v = v * (hex ? 16 : 10) + d;
        if (v > 0x10FFFF) return 0;
    }
    if (v >= 0xD800 && v <= 0xDFFF) return 0;
    return v;
}

std::string tag_name(std::string_view tag) {
    std::string name;
    for (char c : tag) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>') break;
        name.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
    }
    return name;
}

} // namespace

std::string movie_text(std::string_view bytes, uint8_t version) {
    if (version >= 6) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        put_utf8(out, static_cast<uint8_t>(c));
    return out;
}

std::string strip_html(std::string_view html) {
    std::string out;
    out.reserve(html.size());
    // A paragraph's end breaks the line only when something follows it.
    bool paragraph_ended = false;
    const auto emit = [&](auto&& put) {
        if (paragraph_ended) out.push_back('\n');
        paragraph_ended = false;
        put();
    };
    size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const size_t end = html.find('>', i + 1);
            if (end == std::string_view::npos) break; // an unfinished tag ends the text
            std::string_view tag = html.substr(i + 1, end - i - 1);
            const bool closing = !tag.empty() && tag[0] == '/';
            if (closing) tag.remove_prefix(1);
            const std::string name = tag_name(tag);
            if (name == "br" && !closing) emit([&] { out.push_back('\n'); });
            if (name == "p" && closing) {
                if (paragraph_ended) out.push_back('\n'); // an empty paragraph
                paragraph_ended = true;
            }
            i = end + 1;
        } else if (c == '&') {
            const size_t end = html.substr(i + 1, 10).find(';');
            const uint32_t e = end == std::string_view::npos ? 0 : entity(html.substr(i + 1, end));
            if (e) {
                emit([&] { put_utf8(out, e); });
                i += end + 2;
            } else {
                emit([&] { out.push_back('&'); });
                ++i;
            }
        } else {
            emit([&] { out.push_back(c); });
            ++i;
        }
    }
    return out;
}

std::string EditText::plain_text() const {
    return html ? strip_html(text) : text;
}

TextResult decode_text(uint16_t tag_code, Stream& s, const TextLimits& limits) {
    TextResult r;
    const bool rgba = tag_code == kTagDefineText2;
    r.id = s.u16();
    r.text.bounds = read_rect(s);
    r.text.matrix = read_matrix(s);
    const int glyph_bits = s.u8();
    const int advance_bits = s.u8();
    if (!s.ok()) return {r.id, {}, "text header cut short"};
    if (glyph_bits > 32 || advance_bits > 32) return {r.id, {}, "text glyph fields too wide"};

    // What a record leaves out comes from the records before it.
    bool font_set = false;
    uint16_t font = 0, height = 0;
    Rgba color{0, 0, 0, 255};
    double x = 0, y = 0;
    size_t total = 0;
    while (!s.at_end()) {
        const uint8_t flags = s.u8();
        if (!(flags & 0x80)) break; // the end marker, or not a text record: the list ends
        const bool has_font = flags & 0x08, has_color = flags & 0x04;
        const bool has_y = flags & 0x02, has_x = flags & 0x01;
        const uint16_t new_font = has_font ? s.u16() : font;
        const Rgba new_color = !has_color ? color : rgba ? read_rgba(s) : read_rgb(s);
        const double new_x = has_x ? s.s16() : x;
        const double new_y = has_y ? s.s16() : y;
        const uint16_t new_height = has_font ? s.u16() : height;
        const size_t count = s.u8();
        if (!s.ok()) break; // a record cut short is dropped
        if (count * size_t(glyph_bits + advance_bits) > s.remaining() * 8) break;
        if (total + count > limits.max_glyphs) return {r.id, {}, "too many glyphs in a text"};
        total += count;

        TextRun run{new_font, new_color, new_height, {}};
        run.glyphs.reserve(count);
        double pen = new_x;
        for (size_t i = 0; i < count; ++i) {
            const uint32_t index = s.ub(glyph_bits);
            run.glyphs.push_back({index, pen, new_y});
            pen += s.sb(advance_bits);
        }
        s.align();
        if (!s.ok()) break;
        font_set |= has_font;
        font = new_font;
        height = new_height;
        color = new_color;
        x = pen;
        y = new_y;
        // Glyphs before any font cannot be drawn; they still move the pen.
        if (font_set && !run.glyphs.empty()) r.text.runs.push_back(std::move(run));
    }
    return r;
}

EditTextResult decode_edit_text([[maybe_unused]] uint16_t tag_code, Stream& s,
                                const TextLimits& limits) {
    EditTextResult r;
    EditText& t = r.text;
    r.id = s.u16();
    t.bounds = read_rect(s);
    const uint8_t f1 = s.u8(), f2 = s.u8();
    t.has_text = f1 & 0x80;
    t.word_wrap = f1 & 0x40;
    t.multiline = f1 & 0x20;
    t.password = f1 & 0x10;
    t.read_only = f1 & 0x08;
    t.has_color = f1 & 0x04;
    const bool has_max_length = f1 & 0x02;
    t.has_font = f1 & 0x01;
    const bool has_font_class = f2 & 0x80;
    t.auto_size = f2 & 0x40;
    t.has_layout = f2 & 0x20;
    t.no_select = f2 & 0x10;
    t.border = f2 & 0x08;
    t.was_static = f2 & 0x04;
    t.html = f2 & 0x02;
    t.use_outlines = f2 & 0x01;
    const uint8_t version = s.version();

    if (t.has_font) t.font = s.u16();
    if (has_font_class) t.font_class = movie_text(cut(s.string(), 1024, version), version);
    // A font named by class has its height too.
    if (t.has_font || has_font_class) t.height = s.u16();
    if (t.has_color) t.color = read_rgba(s);
    if (has_max_length) t.max_length = s.u16();
    if (t.has_layout) {
        const uint8_t align = s.u8();
        t.align = align <= 3 ? static_cast<EditText::Align>(align) : EditText::Align::Left;
        t.left_margin = s.u16();
        t.right_margin = s.u16();
        t.indent = s.u16();
        t.leading = s.s16();
    }
    const std::string variable = t.has_text ? s.string() : last_string(s);
    if (!s.ok()) return {r.id, {}, "edit text cut short"};
    t.variable = movie_text(cut(variable, 1024, version), version);
    if (t.has_text) {
        const std::string text = last_string(s);
        t.text = movie_text(cut(text, limits.max_text_bytes, version), version);
    }
    return r;
}

bool same_ignoring_ascii_case(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace zefa::swf
