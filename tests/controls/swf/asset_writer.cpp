#include "asset_writer.h"

#include <algorithm>

#include "bit_writer.h"
#include "swf_writer.h"

namespace zefa::test {

namespace {

uint8_t premultiplied(uint8_t c, uint8_t a) {
    return static_cast<uint8_t>((c * a + 127) / 255);
}

void pad_row(std::string& out, size_t row_bytes) {
    while (row_bytes++ % 4)
        out.push_back('\0');
}

std::string lossless(uint16_t id, uint8_t format, int w, int h, std::string_view unpacked,
                     uint8_t table_size_minus_one = 0) {
    return define_bits_lossless_packed(id, format, static_cast<uint16_t>(w),
                                       static_cast<uint16_t>(h), zlib_compress(unpacked),
                                       table_size_minus_one);
}

// The fill-style-1 glyph header and move to the first point.
void move_to(BitWriter& w, int32_t x, int32_t y) {
    const int n = std::max(BitWriter::signed_width(x), BitWriter::signed_width(y));
    w.ub(0, 1).ub(0, 1).ub(0, 1).ub(1, 1).ub(0, 1).ub(1, 1); // fill style 1, move
    w.ub(static_cast<uint32_t>(n), 5).sb(x, n).sb(y, n);
    w.ub(1, 1); // fill style 1
}

void line_to(BitWriter& w, int32_t dx, int32_t dy) {
    const int n = std::max({BitWriter::signed_width(dx), BitWriter::signed_width(dy), 2});
    w.ub(1, 1).ub(1, 1).ub(static_cast<uint32_t>(n - 2), 4).ub(1, 1).sb(dx, n).sb(dy, n);
}

void button_record(BitWriter& w, const ButtonRecordFields& r, bool two) {
    uint8_t flags = r.states & 0x0F;
    if (r.stray_bits || (two && !r.filters.empty())) flags |= 0x10;
    if (r.stray_bits || (two && r.blend)) flags |= 0x20;
    w.u8(flags).u16(r.character).u16(r.depth).matrix(r.matrix);
    if (!two) return;
    w.cxform(r.cxform, true);
    if (r.stray_bits) return;
    if (!r.filters.empty()) w.bytes(r.filters);
    if (r.blend) w.u8(*r.blend);
}

constexpr char kStopAction = 0x07;

} // namespace

std::string define_bits_lossless_packed(uint16_t id, uint8_t format, uint16_t width,
                                        uint16_t height, std::string_view zlib_data,
                                        uint8_t table_size_minus_one) {
    BitWriter w;
    w.u16(id).u8(format).u16(width).u16(height);
    if (format == 3) w.u8(table_size_minus_one);
    return w.bytes(zlib_data).data();
}

std::string define_bits_lossless(uint16_t id, int width, int height,
                                 const std::vector<swf::Rgba>& pixels, bool with_alpha) {
    std::string raw;
    for (const swf::Rgba& p : pixels) {
        const uint8_t a = with_alpha ? p.a : 0;
        raw.push_back(static_cast<char>(a));
        for (uint8_t c : {p.r, p.g, p.b})
            raw.push_back(static_cast<char>(with_alpha ? premultiplied(c, a) : c));
    }
    return lossless(id, 5, width, height, raw);
}

std::string define_bits_lossless_mapped(uint16_t id, int width, int height,
                                        const std::vector<swf::Rgba>& table,
                                        const std::vector<uint8_t>& indices, bool with_alpha) {
    std::string raw;
    for (const swf::Rgba& c : table) {
        raw.push_back(static_cast<char>(c.r));
        raw.push_back(static_cast<char>(c.g));
        raw.push_back(static_cast<char>(c.b));
        if (with_alpha) raw.push_back(static_cast<char>(c.a));
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            raw.push_back(static_cast<char>(indices[size_t(y * width + x)]));
        pad_row(raw, size_t(width));
    }
    return lossless(id, 3, width, height, raw, static_cast<uint8_t>(table.size() - 1));
}

std::string define_bits_lossless_pix15(uint16_t id, int width, int height,
                                       const std::vector<uint16_t>& pixels) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint16_t p = pixels[size_t(y * width + x)];
            raw.push_back(static_cast<char>(p >> 8));
            raw.push_back(static_cast<char>(p & 0xFF));
        }
        pad_row(raw, 2 * size_t(width));
    }
    return lossless(id, 4, width, height, raw);
}

std::string define_bits(uint16_t id, std::string_view jpeg) {
    return BitWriter().u16(id).bytes(jpeg).data();
}

std::string define_bits_jpeg2(uint16_t id, std::string_view image) {
    return BitWriter().u16(id).bytes(image).data();
}

std::string define_bits_jpeg3(uint16_t id, std::string_view image, std::string_view alpha) {
    BitWriter w;
    w.u16(id).u32(static_cast<uint32_t>(image.size())).bytes(image);
    return w.bytes(zlib_compress(alpha)).data();
}

std::string define_bits_jpeg4(uint16_t id, std::string_view image, std::string_view alpha,
                              uint16_t deblock) {
    BitWriter w;
    w.u16(id).u32(static_cast<uint32_t>(image.size())).u16(deblock).bytes(image);
    return w.bytes(zlib_compress(alpha)).data();
}

std::string jpeg_stub(int width, int height) {
    std::string j = "\xFF\xD8";
    // Baseline frame header, three components.
    j += std::string("\xFF\xC0\x00\x11\x08", 5);
    j.push_back(static_cast<char>(height >> 8));
    j.push_back(static_cast<char>(height & 0xFF));
    j.push_back(static_cast<char>(width >> 8));
    j.push_back(static_cast<char>(width & 0xFF));
    j += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    j += std::string("\xFF\xDA\x00\x0C\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 14);
    j += std::string("\x12\x34\xFF\x00\x56\xFF\xD0\x78", 8); // scan data with a stuffed byte
    return j + "\xFF\xD9";
}

std::pair<std::string, std::string> split_jpeg_tables(std::string_view jpeg) {
    std::string tables = "\xFF\xD8", image = "\xFF\xD8";
    size_t i = 2;
    while (i + 4 <= jpeg.size() && static_cast<uint8_t>(jpeg[i]) == 0xFF) {
        const uint8_t m = static_cast<uint8_t>(jpeg[i + 1]);
        if (m == 0xDA) break; // the scan and all after it
        const size_t length =
            size_t(static_cast<uint8_t>(jpeg[i + 2])) << 8 | static_cast<uint8_t>(jpeg[i + 3]);
        const std::string_view segment = jpeg.substr(i, 2 + length);
        (m == 0xDB || m == 0xC4 ? tables : image) += segment;
        i += 2 + length;
    }
    image += jpeg.substr(std::min(i, jpeg.size()));
    return {tables + "\xFF\xD9", image};
}

std::string glyph_polygon(const std::vector<std::pair<int32_t, int32_t>>& points) {
    BitWriter w;
    w.ub(1, 4).ub(0, 4);
    if (!points.empty()) {
        move_to(w, points[0].first, points[0].second);
        for (size_t i = 1; i <= points.size(); ++i) {
            const auto& from = points[i - 1];
            const auto& to = points[i % points.size()];
            line_to(w, to.first - from.first, to.second - from.second);
        }
    }
    w.ub(0, 6); // end
    return w.data();
}

std::string glyph_square(int32_t x, int32_t y, int32_t size) {
    return glyph_polygon({{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}});
}

std::string glyph_empty() {
    return glyph_polygon({});
}

std::string define_font(uint16_t id, const std::vector<std::string>& glyphs) {
    BitWriter w;
    w.u16(id);
    size_t offset = 2 * glyphs.size();
    for (const std::string& g : glyphs) {
        w.u16(static_cast<uint32_t>(offset));
        offset += g.size();
    }
    for (const std::string& g : glyphs)
        w.bytes(g);
    return w.data();
}

std::string define_font2(const FontFields& f) {
    BitWriter w;
    const uint8_t flags = (f.layout ? 0x80 : 0) | (f.wide_offsets ? 0x08 : 0) |
                          (f.wide_codes ? 0x04 : 0) | (f.italic ? 0x02 : 0) | (f.bold ? 0x01 : 0);
    w.u16(f.id).u8(flags).u8(0).u8(static_cast<uint32_t>(f.name.size())).bytes(f.name);
    w.u16(static_cast<uint32_t>(f.glyphs.size()));
    const size_t width = f.wide_offsets ? 4 : 2;
    size_t offset = width * (f.glyphs.size() + 1);
    const auto put = [&](size_t v) {
        if (f.wide_offsets)
            w.u32(static_cast<uint32_t>(v));
        else
            w.u16(static_cast<uint32_t>(v));
    };
    for (const std::string& g : f.glyphs) {
        put(offset);
        offset += g.size();
    }
    put(offset); // the code table
    for (const std::string& g : f.glyphs)
        w.bytes(g);
    for (size_t i = 0; i < f.glyphs.size(); ++i) {
        const uint16_t code = i < f.codes.size() ? f.codes[i] : 0;
        if (f.wide_codes)
            w.u16(code);
        else
            w.u8(code);
    }
    if (f.layout) {
        w.u16(f.ascent).u16(f.descent).u16(static_cast<uint16_t>(f.leading));
        for (size_t i = 0; i < f.glyphs.size(); ++i)
            w.u16(static_cast<uint16_t>(i < f.advances.size() ? f.advances[i] : 0));
        for (size_t i = 0; i < f.glyphs.size(); ++i)
            w.rect(0, 0, 0, 0);
        w.u16(0); // no kerning
    }
    return w.data();
}

std::string define_font_info(uint16_t id, std::string_view name, const std::vector<uint16_t>& codes,
                             bool wide_codes, bool bold, bool italic, bool info2) {
    BitWriter w;
    w.u16(id).u8(static_cast<uint32_t>(name.size())).bytes(name);
    w.u8((italic ? 0x04 : 0) | (bold ? 0x02 : 0) | (wide_codes || info2 ? 0x01 : 0));
    if (info2) w.u8(1); // a language
    for (uint16_t c : codes)
        if (wide_codes || info2)
            w.u16(c);
        else
            w.u8(c);
    return w.data();
}

std::string define_text(uint16_t id, swf::Rect bounds, const swf::Matrix& matrix,
                        const std::vector<TextRecordFields>& records, bool text2) {
    int glyph_bits = 1, advance_bits = 1;
    for (const TextRecordFields& r : records)
        for (const auto& [index, advance] : r.glyphs) {
            int bits = 0;
            while (bits < 32 && (index >> bits) != 0)
                ++bits;
            glyph_bits = std::max(glyph_bits, bits);
            advance_bits = std::max(advance_bits, BitWriter::signed_width(advance));
        }
    BitWriter w;
    w.u16(id).rect(bounds.x_min, bounds.x_max, bounds.y_min, bounds.y_max).matrix(matrix);
    w.u8(static_cast<uint32_t>(glyph_bits)).u8(static_cast<uint32_t>(advance_bits));
    for (const TextRecordFields& r : records) {
        w.u8(0x80 | (r.font ? 0x08 : 0) | (r.color ? 0x04 : 0) | (r.y ? 0x02 : 0) |
             (r.x ? 0x01 : 0));
        if (r.font) w.u16(*r.font);
        if (r.color) {
            if (text2)
                w.rgba(*r.color);
            else
                w.rgb(*r.color);
        }
        if (r.x) w.u16(static_cast<uint16_t>(*r.x));
        if (r.y) w.u16(static_cast<uint16_t>(*r.y));
        if (r.font) w.u16(r.height);
        w.u8(static_cast<uint32_t>(r.glyphs.size()));
        for (const auto& [index, advance] : r.glyphs)
            w.ub(index, glyph_bits).sb(advance, advance_bits);
        w.align();
    }
    return w.u8(0).data();
}

std::string define_edit_text(uint16_t id, const swf::EditText& t) {
    BitWriter w;
    w.u16(id).rect(t.bounds.x_min, t.bounds.x_max, t.bounds.y_min, t.bounds.y_max);
    w.u8((t.has_text ? 0x80 : 0) | (t.word_wrap ? 0x40 : 0) | (t.multiline ? 0x20 : 0) |
         (t.password ? 0x10 : 0) | (t.read_only ? 0x08 : 0) | (t.has_color ? 0x04 : 0) |
         (t.max_length ? 0x02 : 0) | (t.has_font ? 0x01 : 0));
    w.u8((t.font_class.empty() ? 0 : 0x80) | (t.auto_size ? 0x40 : 0) | (t.has_layout ? 0x20 : 0) |
         (t.no_select ? 0x10 : 0) | (t.border ? 0x08 : 0) | (t.was_static ? 0x04 : 0) |
         (t.html ? 0x02 : 0) | (t.use_outlines ? 0x01 : 0));
    if (t.has_font) w.u16(t.font);
    if (!t.font_class.empty()) w.string(t.font_class);
    if (t.has_font || !t.font_class.empty()) w.u16(t.height);
    if (t.has_color) w.rgba(t.color);
    if (t.max_length) w.u16(t.max_length);
    if (t.has_layout) {
        w.u8(static_cast<uint32_t>(t.align)).u16(t.left_margin).u16(t.right_margin);
        w.u16(t.indent).u16(static_cast<uint16_t>(t.leading));
    }
    w.string(t.variable);
    if (t.has_text) w.string(t.text);
    return w.data();
}

std::string define_button(uint16_t id, const std::vector<ButtonRecordFields>& records) {
    BitWriter w;
    w.u16(id);
    for (const ButtonRecordFields& r : records)
        button_record(w, r, false);
    return w.u8(0).u8(kStopAction).u8(0).data();
}

std::string define_button2(uint16_t id, const std::vector<ButtonRecordFields>& records) {
    BitWriter list;
    for (const ButtonRecordFields& r : records)
        button_record(list, r, true);
    list.u8(0);
    BitWriter w;
    // The action offset counts from its own field.
    w.u16(id).u8(0).u16(static_cast<uint32_t>(2 + list.size())).bytes(list.data());
    // The last condition (size 0), on release inside, then a Stop.
    return w.u16(0).u16(0x0008).u8(kStopAction).u8(0).data();
}

std::string define_button_cxform(uint16_t id, const swf::ColorTransform& cx) {
    return BitWriter().u16(id).cxform(cx, false).data();
}

} // namespace zefa::test
