#include "swf/swf_morph.h"

#include <algorithm>
#include <cmath>

namespace zefa::swf {

namespace {

using shape_detail::Edge;
using shape_detail::Record;

constexpr uint16_t kDefineMorphShape = 46;
constexpr uint16_t kDefineMorphShape2 = 84;

// A focal gradient's fill is read as laid out for the others (no focal points after the
// stops); set to read a start and an end FIXED8 focal point there instead.
constexpr bool kMorphFocalPoints = false;

// The fewest bytes a morph style can take: a gradient with empty matrices and no stops; a
// MORPHLINESTYLE2 with a fill of that kind.
constexpr size_t kMinMorphFillBytes = 4;
constexpr size_t kMinMorphLineBytes = 10;

PointF point(int64_t x, int64_t y) {
    return {static_cast<double>(x), static_cast<double>(y)};
}

// The edge a record draws from the pen, moving the pen to its end.
Edge edge_from(const Record& r, int64_t& x, int64_t& y) {
    Edge e;
    e.from = point(x, y);
    x += r.dx;
    y += r.dy;
    if (r.kind == Record::Kind::Curve) {
        e.control = point(x, y);
        e.curve = true;
        x += r.anchor_dx;
        y += r.anchor_dy;
    }
    e.to = point(x, y);
    return e;
}

void make_curve(Edge& e) {
    if (e.curve) return;
    e.control = {(e.from.x + e.to.x) / 2, (e.from.y + e.to.y) / 2};
    e.curve = true;
}

class Reader {
  public:
    Reader(Stream& s, bool v2, const ShapeLimits& limits, MorphShape& m)
        : s_(s), v2_(v2), limits_(limits), m_(m) {}

    const std::string& error() const { return error_; }

    bool read_styles() {
        uint32_t fills = s_.u8();
        if (fills == 0xFF) fills = s_.u16();
        if (!check_count(fills, kMinMorphFillBytes, "fill")) return false;
        m_.start_fills.reserve(fills);
        m_.end_fills.reserve(fills);
        for (uint32_t i = 0; i < fills; ++i) {
            FillStyle a, b;
            if (!read_fill(a, b)) return false;
            m_.start_fills.push_back(std::move(a));
            m_.end_fills.push_back(std::move(b));
        }
        uint32_t lines = s_.u8();
        if (lines == 0xFF) lines = s_.u16();
        if (!check_count(lines, kMinMorphLineBytes, "line")) return false;
        m_.start_lines.reserve(lines);
        m_.end_lines.reserve(lines);
        for (uint32_t i = 0; i < lines; ++i) {
            LineStyle a, b;
            if (!read_line(a, b)) return false;
            m_.start_lines.push_back(std::move(a));
            m_.end_lines.push_back(std::move(b));
        }
        return true;
    }

    // Walks the start records and pairs each edge with the next edge of the end records,
    // which start at `end_at`; each list's moves move its own pen.
    bool read_edges(size_t end_at) {
        Stream end(s_.data(), s_.version());
        end.seek(end_at);
        const int fill_bits = static_cast<int>(s_.ub(4));
        const int line_bits = static_cast<int>(s_.ub(4));
        const int end_fill_bits = static_cast<int>(end.ub(4));
        const int end_line_bits = static_cast<int>(end.ub(4));
        const auto fills = static_cast<uint32_t>(m_.start_fills.size());
        const auto lines = static_cast<uint32_t>(m_.start_lines.size());
        int64_t x = 0, y = 0, end_x = 0, end_y = 0;
        uint32_t fill0 = 0, fill1 = 0, line = 0;
        // Both loops stop when their stream runs out: every record takes at least six bits.
        for (;;) {
            Record r;
            if (!shape_detail::read_record(s_, fill_bits, line_bits, r))
                return fail("start records end early");
            if (r.kind == Record::Kind::End) return true;
            if (r.kind == Record::Kind::StyleChange) {
                if (r.new_styles) return fail("new styles in a morph shape");
                if (r.move) {
                    x = r.move_x;
                    y = r.move_y;
                }
                if (r.has_fill0) fill0 = r.fill0 <= fills ? r.fill0 : 0;
                if (r.has_fill1) fill1 = r.fill1 <= fills ? r.fill1 : 0;
                if (r.has_line) line = r.line <= lines ? r.line : 0;
                continue;
            }
            if (m_.edges.size() >= limits_.max_edges)
                return fail("more than " + std::to_string(limits_.max_edges) + " edges");
            MorphEdge e;
            e.start = edge_from(r, x, y);
            for (;;) {
                Record er;
                if (!shape_detail::read_record(end, end_fill_bits, end_line_bits, er))
                    return fail("end records end early");
                if (er.kind == Record::Kind::End) return fail("end records have fewer edges");
                if (er.kind != Record::Kind::StyleChange) {
                    e.end = edge_from(er, end_x, end_y);
                    break;
                }
                if (er.new_styles) return fail("new styles in a morph shape");
                if (er.move) {
                    end_x = er.move_x;
                    end_y = er.move_y;
                }
            }
            if (e.start.curve != e.end.curve) {
                make_curve(e.start);
                make_curve(e.end);
            }
            e.fill0 = fill0;
            e.fill1 = fill1;
            e.line = line;
            m_.edges.push_back(e);
        }
    }

    // Where the end records start when the offset does not say: after the start records.
    size_t skip_start_records() {
        Stream copy = s_;
        const int fill_bits = static_cast<int>(copy.ub(4));
        const int line_bits = static_cast<int>(copy.ub(4));
        Record r;
        while (shape_detail::read_record(copy, fill_bits, line_bits, r) &&
               r.kind != Record::Kind::End) {
        }
        return copy.pos();
    }

  private:
    bool fail(std::string why) {
        if (error_.empty()) error_ = std::move(why);
        return false;
    }

    bool check_count(uint32_t n, size_t min_bytes, const char* what) {
        std::string why = shape_detail::style_count_error(
            s_, n, min_bytes, m_.start_fills.size() + m_.start_lines.size(), limits_.max_styles,
            what);
        return why.empty() || fail(std::move(why));
    }

    bool read_fill(FillStyle& a, FillStyle& b) {
        const uint8_t type = s_.u8();
        switch (type) {
        case 0x00:
            a.color = read_rgba(s_);
            b.color = read_rgba(s_);
            break;
        case 0x10:
        case 0x12:
        case 0x13: {
            a.kind = b.kind = type == 0x10   ? FillStyle::Kind::Linear
                              : type == 0x12 ? FillStyle::Kind::Radial
                                             : FillStyle::Kind::Focal;
            a.matrix = read_matrix(s_);
            b.matrix = read_matrix(s_);
            // The high bits may be spread and interpolation; read as pad and plain RGB.
            const uint32_t count = s_.u8() & 0x0Fu;
            for (uint32_t i = 0; i < count && s_.ok(); ++i) {
                GradientStop sa, sb;
                sa.ratio = s_.u8();
                sa.color = read_rgba(s_);
                sb.ratio = s_.u8();
                sb.color = read_rgba(s_);
                a.gradient.stops.push_back(sa);
                b.gradient.stops.push_back(sb);
            }
            if (type == 0x13 && kMorphFocalPoints) {
                a.gradient.focal = std::clamp(s_.s16() / 256.0, -1.0, 1.0);
                b.gradient.focal = std::clamp(s_.s16() / 256.0, -1.0, 1.0);
            }
            if (a.gradient.stops.empty()) { // nothing to paint, as in plain shapes
                a = b = FillStyle{};
                a.color.a = b.color.a = 0;
            }
            break;
        }
        case 0x40:
        case 0x41:
        case 0x42:
        case 0x43:
            a.kind = b.kind = FillStyle::Kind::Bitmap;
            a.bitmap = b.bitmap = s_.u16();
            a.matrix = read_matrix(s_);
            b.matrix = read_matrix(s_);
            a.repeat = b.repeat = (type & 1) == 0;
            a.smooth = b.smooth = type < 0x42;
            break;
        default:
            if (!s_.ok()) break;
            return fail("unknown fill style type " + std::to_string(type));
        }
        return s_.ok() || fail("fill style cut short");
    }

    bool read_line(LineStyle& a, LineStyle& b) {
        const uint16_t start_width = s_.u16();
        const uint16_t end_width = s_.u16();
        LineStyle flags;
        if (v2_ && shape_detail::read_line2_flags(s_, flags)) {
            FillStyle fa, fb;
            if (!read_fill(fa, fb)) return false;
            a = b = flags;
            a.fill = std::move(fa);
            b.fill = std::move(fb);
        } else {
            a = b = flags;
            a.color = read_rgba(s_);
            b.color = read_rgba(s_);
        }
        a.width = start_width;
        b.width = end_width;
        return s_.ok() || fail("line style cut short");
    }

    Stream& s_;
    const bool v2_;
    const ShapeLimits& limits_;
    MorphShape& m_;
    std::string error_;
};

PointF lerp(PointF a, PointF b, double t) {
    return {swf::lerp(a.x, b.x, t), swf::lerp(a.y, b.y, t)};
}

int32_t lerp(int32_t a, int32_t b, double t) {
    return static_cast<int32_t>(std::llround(swf::lerp(a, b, t)));
}

FillStyle lerp(const FillStyle& a, const FillStyle& b, double t) {
    FillStyle out = a;
    out.color = swf::lerp(a.color, b.color, t);
    out.matrix = Matrix::lerp(a.matrix, b.matrix, t);
    out.gradient.focal = swf::lerp(a.gradient.focal, b.gradient.focal, t);
    const size_t n = std::min(a.gradient.stops.size(), b.gradient.stops.size());
    for (size_t i = 0; i < n; ++i) {
        const GradientStop& sa = a.gradient.stops[i];
        const GradientStop& sb = b.gradient.stops[i];
        out.gradient.stops[i] = {static_cast<uint8_t>(std::clamp<long>(
                                     std::lround(swf::lerp(sa.ratio, sb.ratio, t)), 0, 255)),
                                 swf::lerp(sa.color, sb.color, t)};
    }
    return out;
}

LineStyle lerp(const LineStyle& a, const LineStyle& b, double t) {
    LineStyle out = a;
    out.width = swf::lerp(a.width, b.width, t);
    out.color = swf::lerp(a.color, b.color, t);
    if (a.fill && b.fill) out.fill = lerp(*a.fill, *b.fill, t);
    return out;
}

} // namespace

MorphResult decode_morph(uint16_t tag_code, Stream& s, const ShapeLimits& limits) {
    MorphResult out;
    if (tag_code != kDefineMorphShape && tag_code != kDefineMorphShape2) {
        out.error = "tag " + std::to_string(tag_code) + " is not a morph shape";
        return out;
    }
    const bool v2 = tag_code == kDefineMorphShape2;
    out.id = s.u16();
    out.morph.start_bounds = read_rect(s);
    out.morph.end_bounds = read_rect(s);
    if (v2) {
        read_rect(s); // the bounds without strokes
        read_rect(s);
        s.u8(); // scaling-stroke flags: the line styles carry their own
    }
    const uint32_t offset = s.u32();
    const size_t offset_base = s.pos();
    if (!s.ok()) {
        out.error = "morph shape header cut short";
        return out;
    }
    Reader reader(s, v2, limits, out.morph);
    bool ok = reader.read_styles();
    if (ok) {
        // Trust the offset when it points past the styles and inside the tag; some writers
        // leave it 0.
        const size_t start_at = s.pos();
        size_t end_at = offset_base + offset;
        if (offset == 0 || end_at <= start_at || end_at > s.data().size())
            end_at = reader.skip_start_records();
        ok = reader.read_edges(end_at);
    }
    if (!ok) {
        out.error = reader.error();
        out.morph = MorphShape{};
    }
    return out;
}

Shape morph_at(const MorphShape& m, uint16_t ratio) {
    const double t = ratio / 65535.0;
    Shape out;
    const Rect& a = m.start_bounds;
    const Rect& b = m.end_bounds;
    out.bounds = {lerp(a.x_min, b.x_min, t), lerp(a.x_max, b.x_max, t), lerp(a.y_min, b.y_min, t),
                  lerp(a.y_max, b.y_max, t)};
    const size_t fills = std::min(m.start_fills.size(), m.end_fills.size());
    const size_t lines = std::min(m.start_lines.size(), m.end_lines.size());
    out.fill_styles.reserve(fills);
    for (size_t i = 0; i < fills; ++i)
        out.fill_styles.push_back(lerp(m.start_fills[i], m.end_fills[i], t));
    out.line_styles.reserve(lines);
    for (size_t i = 0; i < lines; ++i)
        out.line_styles.push_back(lerp(m.start_lines[i], m.end_lines[i], t));

    shape_detail::OutlineBuilder builder;
    builder.begin_group(0, 0);
    for (const MorphEdge& e : m.edges) {
        Edge at;
        at.from = lerp(e.start.from, e.end.from, t);
        at.to = lerp(e.start.to, e.end.to, t);
        Edge from = e.start, to = e.end;
        if (from.curve != to.curve) {
            make_curve(from);
            make_curve(to);
        }
        at.curve = from.curve;
        if (at.curve) at.control = lerp(from.control, to.control, t);
        builder.add(at, e.fill0 <= fills ? e.fill0 : 0, e.fill1 <= fills ? e.fill1 : 0,
                    e.line <= lines ? e.line : 0);
    }
    builder.finish_group(out.layers);
    return out;
}

} // namespace zefa::swf
