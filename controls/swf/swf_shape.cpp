#include "swf/swf_shape.h"

#include <algorithm>

#include "swf/swf_shape_edges.h"

namespace zefa::swf {

namespace {

using shape_detail::Edge;
using shape_detail::OutlineBuilder;
using shape_detail::Record;

constexpr uint16_t kDefineShape = 2;
constexpr uint16_t kDefineShape2 = 22;
constexpr uint16_t kDefineShape3 = 32;
constexpr uint16_t kDefineShape4 = 83;

// DefineShape (1) never extends its fill style count; its line style count is read like the
// later versions' (0xFF then a UI16), as the line style array is laid out the same in all.
constexpr bool kShape1ExtendedLineCount = true;

// The fewest bytes a style can take: a gradient fill with an empty matrix and no stops; a
// LINESTYLE with an RGB colour. Counts are checked against them before anything is reserved.
constexpr size_t kMinFillStyleBytes = 3;
constexpr size_t kMinLineStyleBytes = 5;

struct Format {
    bool rgba = false;           // colours with alpha (DefineShape3 on)
    bool extended_fills = false; // fill count 0xFF means a UI16 count follows
    bool extended_lines = false;
    bool line2 = false;  // LINESTYLE2
    bool spread = false; // gradients' spread and interpolation bits mean something
};

std::optional<Format> format_of(uint16_t code) {
    switch (code) {
    case kDefineShape:
        return Format{false, false, kShape1ExtendedLineCount, false, false};
    case kDefineShape2:
        return Format{false, true, true, false, false};
    case kDefineShape3:
        return Format{true, true, true, false, false};
    case kDefineShape4:
        return Format{true, true, true, true, true};
    default:
        return std::nullopt;
    }
}

class Reader {
  public:
    Reader(Stream& s, const Format& f, const ShapeLimits& limits, Shape& shape)
        : s_(s), f_(f), limits_(limits), shape_(shape) {}

    const std::string& error() const { return error_; }

    // Appends a FILLSTYLEARRAY and a LINESTYLEARRAY to the shape's styles.
    bool read_styles(uint32_t& fills, uint32_t& lines) {
        fills = s_.u8();
        if (fills == 0xFF && f_.extended_fills) fills = s_.u16();
        if (!check_count(fills, kMinFillStyleBytes, "fill")) return false;
        shape_.fill_styles.reserve(shape_.fill_styles.size() + fills);
        for (uint32_t i = 0; i < fills; ++i) {
            FillStyle fill;
            if (!read_fill(fill)) return false;
            shape_.fill_styles.push_back(std::move(fill));
        }
        lines = s_.u8();
        if (lines == 0xFF && f_.extended_lines) lines = s_.u16();
        if (!check_count(lines, kMinLineStyleBytes, "line")) return false;
        shape_.line_styles.reserve(shape_.line_styles.size() + lines);
        for (uint32_t i = 0; i < lines; ++i) {
            LineStyle line;
            if (!read_line(line)) return false;
            shape_.line_styles.push_back(std::move(line));
        }
        return true;
    }

    // The record stream up to its end record, with the first group's style counts; with
    // `new_styles_allowed` false (glyphs) a record bringing new styles refuses the shape.
    bool read_records(uint32_t fills, uint32_t lines, bool new_styles_allowed) {
        int fill_bits = static_cast<int>(s_.ub(4));
        int line_bits = static_cast<int>(s_.ub(4));
        OutlineBuilder builder;
        uint32_t fill_base = 0, line_base = 0;
        builder.begin_group(fill_base, line_base);
        uint32_t fill0 = 0, fill1 = 0, line = 0;
        int64_t x = 0, y = 0;
        size_t edges = 0;
        // Every record takes at least six bits and a stream that runs out stops the loop.
        for (;;) {
            Record r;
            if (!shape_detail::read_record(s_, fill_bits, line_bits, r))
                return fail("shape records end early");
            switch (r.kind) {
            case Record::Kind::End:
                builder.finish_group(shape_.layers);
                s_.align();
                return true;
            case Record::Kind::StyleChange:
                if (r.move) {
                    x = r.move_x;
                    y = r.move_y;
                }
                if (r.new_styles) {
                    if (!new_styles_allowed) return fail("new styles in a shape without styles");
                    builder.finish_group(shape_.layers);
                    fill_base = static_cast<uint32_t>(shape_.fill_styles.size());
                    line_base = static_cast<uint32_t>(shape_.line_styles.size());
                    if (!read_styles(fills, lines)) return false;
                    fill_bits = static_cast<int>(s_.ub(4));
                    line_bits = static_cast<int>(s_.ub(4));
                    builder.begin_group(fill_base, line_base);
                    // The old indices meant the old styles; this record's own refer to the new.
                    fill0 = fill1 = line = 0;
                }
                if (r.has_fill0) fill0 = r.fill0 <= fills ? r.fill0 : 0;
                if (r.has_fill1) fill1 = r.fill1 <= fills ? r.fill1 : 0;
                if (r.has_line) line = r.line <= lines ? r.line : 0;
                break;
            case Record::Kind::Straight:
            case Record::Kind::Curve: {
                if (++edges > limits_.max_edges)
                    return fail("more than " + std::to_string(limits_.max_edges) + " edges");
                Edge e;
                e.from = point(x, y);
                if (r.kind == Record::Kind::Curve) {
                    x += r.dx;
                    y += r.dy;
                    e.control = point(x, y);
                    e.curve = true;
                    x += r.anchor_dx;
                    y += r.anchor_dy;
                } else {
                    x += r.dx;
                    y += r.dy;
                }
                e.to = point(x, y);
                builder.add(e, fill0, fill1, line);
                break;
            }
            }
        }
    }

  private:
    static PointF point(int64_t x, int64_t y) {
        return {static_cast<double>(x), static_cast<double>(y)};
    }

    bool fail(std::string why) {
        if (error_.empty()) error_ = std::move(why);
        return false;
    }

    bool check_count(uint32_t n, size_t min_bytes, const char* what) {
        std::string why = shape_detail::style_count_error(
            s_, n, min_bytes, shape_.fill_styles.size() + shape_.line_styles.size(),
            limits_.max_styles, what);
        return why.empty() || fail(std::move(why));
    }

    Rgba color() { return f_.rgba ? read_rgba(s_) : read_rgb(s_); }

    void read_gradient(Gradient& g, bool focal) {
        const uint32_t spread = s_.ub(2);
        const uint32_t interpolation = s_.ub(2);
        const uint32_t count = s_.ub(4);
        if (f_.spread) {
            g.spread = spread == 1   ? Gradient::Spread::Reflect
                       : spread == 2 ? Gradient::Spread::Repeat
                                     : Gradient::Spread::Pad;
            g.linear_rgb = interpolation == 1;
        }
        for (uint32_t i = 0; i < count && s_.ok(); ++i) {
            GradientStop stop;
            stop.ratio = s_.u8();
            stop.color = color();
            g.stops.push_back(stop);
        }
        if (focal) g.focal = std::clamp(s_.s16() / 256.0, -1.0, 1.0);
    }

    bool read_fill(FillStyle& fill) {
        const uint8_t type = s_.u8();
        switch (type) {
        case 0x00:
            fill.kind = FillStyle::Kind::Solid;
            fill.color = color();
            break;
        case 0x10:
        case 0x12:
        case 0x13:
            fill.kind = type == 0x10   ? FillStyle::Kind::Linear
                        : type == 0x12 ? FillStyle::Kind::Radial
                                       : FillStyle::Kind::Focal;
            fill.matrix = read_matrix(s_);
            read_gradient(fill.gradient, type == 0x13);
            // Nothing to spread colour from: paint nothing rather than a default ramp.
            if (fill.gradient.stops.empty()) {
                fill = FillStyle{};
                fill.color.a = 0;
            }
            break;
        case 0x40:
        case 0x41:
        case 0x42:
        case 0x43:
            fill.kind = FillStyle::Kind::Bitmap;
            fill.bitmap = s_.u16();
            fill.matrix = read_matrix(s_);
            fill.repeat = (type & 1) == 0;
            fill.smooth = type < 0x42;
            break;
        default:
            if (!s_.ok()) break;
            return fail("unknown fill style type " + std::to_string(type));
        }
        return s_.ok() || fail("fill style cut short");
    }

    bool read_line(LineStyle& line) {
        line.width = s_.u16();
        if (!f_.line2) {
            line.color = color();
        } else if (shape_detail::read_line2_flags(s_, line)) {
            FillStyle fill;
            if (!read_fill(fill)) return false;
            line.fill = std::move(fill);
        } else {
            line.color = read_rgba(s_);
        }
        return s_.ok() || fail("line style cut short");
    }

    Stream& s_;
    const Format f_;
    const ShapeLimits& limits_;
    Shape& shape_;
    std::string error_;
};

} // namespace

ShapeResult decode_shape(uint16_t tag_code, Stream& s, const ShapeLimits& limits) {
    ShapeResult out;
    const std::optional<Format> format = format_of(tag_code);
    if (!format) {
        out.error = "tag " + std::to_string(tag_code) + " is not a shape";
        return out;
    }
    out.id = s.u16();
    out.shape.bounds = read_rect(s);
    if (tag_code == kDefineShape4) {
        read_rect(s); // the bounds without strokes
        out.shape.winding = (s.u8() & 0x04) != 0;
    }
    if (!s.ok()) {
        out.error = "shape header cut short";
        return out;
    }
    Reader reader(s, *format, limits, out.shape);
    uint32_t fills = 0, lines = 0;
    if (!reader.read_styles(fills, lines) || !reader.read_records(fills, lines, true)) {
        out.error = reader.error();
        const Rect bounds = out.shape.bounds;
        out.shape = Shape{};
        out.shape.bounds = bounds;
    }
    return out;
}

std::optional<Shape> decode_glyph(Stream& s, const ShapeLimits& limits) {
    Shape shape;
    shape.fill_styles.push_back(FillStyle{}); // solid black, for the text colour to replace
    Reader reader(s, Format{}, limits, shape);
    if (!reader.read_records(1, 0, false)) return std::nullopt;
    return shape;
}

} // namespace zefa::swf
