#include "shape_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zefa::test {

namespace {

void write_fill(BitWriter& w, const Fill& f, bool rgba) {
    auto color = [&](swf::Rgba c) {
        if (rgba)
            w.rgba(c);
        else
            w.rgb(c);
    };
    w.u8(f.type);
    switch (f.type) {
    case 0x10:
    case 0x12:
    case 0x13:
        if (f.stops.size() > 15) throw std::invalid_argument("more than 15 gradient stops");
        w.matrix(f.matrix);
        w.ub(f.spread, 2).ub(f.interpolation, 2).ub(static_cast<uint32_t>(f.stops.size()), 4);
        for (const Stop& s : f.stops) {
            w.u8(s.ratio);
            color(s.color);
        }
        if (f.type == 0x13) w.u16(static_cast<uint16_t>(std::lround(f.focal * 256)));
        break;
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
        w.u16(f.bitmap);
        w.matrix(f.matrix);
        break;
    default:
        color(f.color);
        break;
    }
}

void write_line2_flags(BitWriter& w, uint8_t start_cap, uint8_t join, bool fill, bool no_h,
                       bool no_v, bool hinting, bool no_close, uint8_t end_cap, double miter) {
    w.ub(start_cap, 2).ub(join, 2).ub(fill, 1).ub(no_h, 1).ub(no_v, 1).ub(hinting, 1).ub(0, 5);
    w.ub(no_close, 1).ub(end_cap, 2);
    if (join == 2) w.u16(static_cast<uint16_t>(std::lround(miter * 256)));
}

void write_line(BitWriter& w, const Line& l, bool rgba, bool line2) {
    w.u16(l.width);
    if (!line2) {
        if (rgba)
            w.rgba(l.color);
        else
            w.rgb(l.color);
        return;
    }
    write_line2_flags(w, l.start_cap, l.join, l.fill.has_value(), l.no_hscale, l.no_vscale,
                      l.pixel_hinting, l.no_close, l.end_cap, l.miter_limit);
    if (l.fill)
        write_fill(w, *l.fill, true);
    else
        w.rgba(l.color);
}

void write_count(BitWriter& w, size_t n, bool extended) {
    if (n >= 255 && extended) {
        w.u8(0xFF).u16(static_cast<uint32_t>(n));
    } else {
        if (n > 255) throw std::invalid_argument("too many styles for this tag");
        w.u8(static_cast<uint32_t>(n));
    }
}

void write_morph_fill(BitWriter& w, const MorphFill& f) {
    w.u8(f.type);
    switch (f.type) {
    case 0x10:
    case 0x12:
    case 0x13:
        w.matrix(f.start_matrix);
        w.matrix(f.end_matrix);
        w.u8(f.count_byte.value_or(static_cast<uint8_t>(f.stops.size())));
        for (const MorphStop& s : f.stops)
            w.u8(s.start_ratio).rgba(s.start_color).u8(s.end_ratio).rgba(s.end_color);
        break;
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
        w.u16(f.bitmap);
        w.matrix(f.start_matrix);
        w.matrix(f.end_matrix);
        break;
    default:
        w.rgba(f.start_color).rgba(f.end_color);
        break;
    }
}

void write_morph_line(BitWriter& w, const MorphLine& l, bool line2) {
    w.u16(l.start_width).u16(l.end_width);
    if (line2)
        write_line2_flags(w, l.start_cap, l.join, l.fill.has_value(), l.no_hscale, l.no_vscale,
                          false, l.no_close, l.end_cap, l.miter_limit);
    if (line2 && l.fill)
        write_morph_fill(w, *l.fill);
    else
        w.rgba(l.start_color).rgba(l.end_color);
}

std::array<int32_t, 4> bounds_of(const Records& r) {
    int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool any = false;
    r.extend(x0, x1, y0, y1, any);
    return {x0, x1, y0, y1};
}

} // namespace

int unsigned_width(uint32_t v) {
    int n = 0;
    for (; v; v >>= 1)
        ++n;
    return n;
}

std::string glyph_bytes(const Records& r) {
    const auto [max_fill, max_line] = r.max_indices(0);
    const int fb = std::max(1, unsigned_width(max_fill));
    const int lb = unsigned_width(max_line);
    BitWriter w;
    w.ub(static_cast<uint32_t>(fb), 4).ub(static_cast<uint32_t>(lb), 4);
    r.write(w, fb, lb, [](BitWriter&, size_t) { return std::pair<int, int>{0, 0}; });
    return w.data();
}

// Records

Records& Records::move_to(int32_t x, int32_t y) {
    ops_.push_back({Op::Move, x, y});
    return *this;
}

Records& Records::line_to(int32_t x, int32_t y) {
    ops_.push_back({Op::Straight, x, y});
    return *this;
}

Records& Records::curve_to(int32_t cx, int32_t cy, int32_t x, int32_t y) {
    ops_.push_back({Op::Curve, cx, cy, x, y});
    return *this;
}

Records& Records::set_fills(uint32_t fill0, uint32_t fill1) {
    return set_fill0(fill0).set_fill1(fill1);
}

Records& Records::set_fill0(uint32_t n) {
    ops_.push_back({Op::Fill0, static_cast<int32_t>(n)});
    return *this;
}

Records& Records::set_fill1(uint32_t n) {
    ops_.push_back({Op::Fill1, static_cast<int32_t>(n)});
    return *this;
}

Records& Records::set_line(uint32_t n) {
    ops_.push_back({Op::Line, static_cast<int32_t>(n)});
    return *this;
}

Records& Records::move_bits(int bits) {
    ops_.push_back({Op::MoveBits, bits});
    return *this;
}

Records& Records::edge_bits(int bits) {
    ops_.push_back({Op::EdgeBits, bits});
    return *this;
}

Records& Records::new_styles() {
    ops_.push_back({Op::NewStyles});
    return *this;
}

std::pair<uint32_t, uint32_t> Records::max_indices(size_t group) const {
    size_t g = 0;
    uint32_t fill = 0, line = 0;
    for (const Op& op : ops_) {
        if (op.kind == Op::NewStyles) ++g;
        if (g != group) continue;
        const auto v = static_cast<uint32_t>(op.a);
        if (op.kind == Op::Fill0 || op.kind == Op::Fill1) fill = std::max(fill, v);
        if (op.kind == Op::Line) line = std::max(line, v);
    }
    return {fill, line};
}

void Records::extend(int32_t& x_min, int32_t& x_max, int32_t& y_min, int32_t& y_max,
                     bool& any) const {
    auto add = [&](int32_t x, int32_t y) {
        x_min = any ? std::min(x_min, x) : x;
        x_max = any ? std::max(x_max, x) : x;
        y_min = any ? std::min(y_min, y) : y;
        y_max = any ? std::max(y_max, y) : y;
        any = true;
    };
    for (const Op& op : ops_) {
        if (op.kind == Op::Move || op.kind == Op::Straight || op.kind == Op::Curve) add(op.a, op.b);
        if (op.kind == Op::Curve) add(op.c, op.d);
    }
}

void Records::write(BitWriter& w, int fill_bits, int line_bits, const GroupWriter& group) const {
    int min_move_bits = 0, min_edge_bits = 0;
    int32_t x = 0, y = 0;
    size_t g = 0;
    struct Pending {
        bool any = false, move = false, fill0 = false, fill1 = false, line = false;
        int32_t mx = 0, my = 0;
        uint32_t f0 = 0, f1 = 0, l = 0;
    } p;
    auto flush = [&] {
        if (!p.any) return;
        w.ub(0, 2).ub(p.line, 1).ub(p.fill1, 1).ub(p.fill0, 1).ub(p.move, 1);
        if (p.move) {
            const int n = std::max(
                {min_move_bits, BitWriter::signed_width(p.mx), BitWriter::signed_width(p.my)});
            w.ub(static_cast<uint32_t>(n), 5).sb(p.mx, n).sb(p.my, n);
        }
        if (p.fill0) w.ub(p.f0, fill_bits);
        if (p.fill1) w.ub(p.f1, fill_bits);
        if (p.line) w.ub(p.l, line_bits);
        p = Pending{};
    };
    auto edge_width = [&](std::initializer_list<int32_t> deltas) {
        int n = std::max(2, min_edge_bits + 2);
        for (int32_t d : deltas)
            n = std::max(n, BitWriter::signed_width(d));
        if (n > 17) throw std::invalid_argument("edge too long for one record");
        return n;
    };
    for (const Op& op : ops_) {
        switch (op.kind) {
        case Op::Move:
            if (p.move) flush();
            p.any = p.move = true;
            p.mx = x = op.a;
            p.my = y = op.b;
            break;
        case Op::Fill0:
            if (p.fill0) flush();
            p.any = p.fill0 = true;
            p.f0 = static_cast<uint32_t>(op.a);
            break;
        case Op::Fill1:
            if (p.fill1) flush();
            p.any = p.fill1 = true;
            p.f1 = static_cast<uint32_t>(op.a);
            break;
        case Op::Line:
            if (p.line) flush();
            p.any = p.line = true;
            p.l = static_cast<uint32_t>(op.a);
            break;
        case Op::MoveBits:
            min_move_bits = op.a;
            break;
        case Op::EdgeBits:
            min_edge_bits = op.a;
            break;
        case Op::NewStyles: {
            flush();
            w.ub(0, 1).ub(1, 1).ub(0, 4);
            const auto [fb, lb] = group(w, ++g);
            fill_bits = fb;
            line_bits = lb;
            w.ub(static_cast<uint32_t>(fb), 4).ub(static_cast<uint32_t>(lb), 4);
            break;
        }
        case Op::Straight: {
            flush();
            const int32_t dx = op.a - x, dy = op.b - y;
            const int n = edge_width({dx, dy});
            w.ub(1, 1).ub(1, 1).ub(static_cast<uint32_t>(n - 2), 4);
            if (dx != 0 && dy != 0)
                w.ub(1, 1).sb(dx, n).sb(dy, n);
            else if (dy != 0)
                w.ub(0, 1).ub(1, 1).sb(dy, n);
            else
                w.ub(0, 1).ub(0, 1).sb(dx, n);
            x = op.a;
            y = op.b;
            break;
        }
        case Op::Curve: {
            flush();
            const int32_t cdx = op.a - x, cdy = op.b - y, adx = op.c - op.a, ady = op.d - op.b;
            const int n = edge_width({cdx, cdy, adx, ady});
            w.ub(1, 1).ub(0, 1).ub(static_cast<uint32_t>(n - 2), 4);
            w.sb(cdx, n).sb(cdy, n).sb(adx, n).sb(ady, n);
            x = op.c;
            y = op.d;
            break;
        }
        }
    }
    flush();
    w.ub(0, 6);
}

// Fill

Fill Fill::solid(swf::Rgba c) {
    Fill f;
    f.color = c;
    return f;
}

Fill Fill::linear(const swf::Matrix& m, std::vector<Stop> stops, uint8_t spread) {
    Fill f;
    f.type = 0x10;
    f.matrix = m;
    f.stops = std::move(stops);
    f.spread = spread;
    return f;
}

Fill Fill::radial(const swf::Matrix& m, std::vector<Stop> stops, uint8_t spread) {
    Fill f = linear(m, std::move(stops), spread);
    f.type = 0x12;
    return f;
}

Fill Fill::focal_radial(const swf::Matrix& m, std::vector<Stop> stops, double focal) {
    Fill f = linear(m, std::move(stops));
    f.type = 0x13;
    f.focal = focal;
    return f;
}

Fill Fill::bitmap_fill(uint16_t id, const swf::Matrix& m, bool repeat, bool smooth) {
    Fill f;
    f.type = static_cast<uint8_t>(0x40 | (repeat ? 0 : 1) | (smooth ? 0 : 2));
    f.matrix = m;
    f.bitmap = id;
    return f;
}

// ShapeBuilder

ShapeBuilder ShapeBuilder::rect(uint16_t id, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                swf::Rgba color) {
    ShapeBuilder b(id);
    const uint32_t fill = b.fill_solid(color);
    b.set_fills(0, fill).move_to(x0, y0).line_to(x1, y0).line_to(x1, y1).line_to(x0, y1);
    b.line_to(x0, y0);
    return b;
}

ShapeBuilder& ShapeBuilder::id(uint16_t id) {
    id_ = id;
    return *this;
}

ShapeBuilder& ShapeBuilder::bounds(int32_t x_min, int32_t x_max, int32_t y_min, int32_t y_max) {
    bounds_ = {x_min, x_max, y_min, y_max};
    return *this;
}

ShapeBuilder& ShapeBuilder::winding(bool on) {
    winding_ = on;
    return *this;
}

uint32_t ShapeBuilder::fill(const Fill& f) {
    groups_.back().fills.push_back(f);
    return static_cast<uint32_t>(groups_.back().fills.size());
}

uint32_t ShapeBuilder::line(const Line& l) {
    groups_.back().lines.push_back(l);
    return static_cast<uint32_t>(groups_.back().lines.size());
}

uint32_t ShapeBuilder::line(uint16_t width, swf::Rgba c) {
    Line l;
    l.width = width;
    l.color = c;
    return line(l);
}

ShapeBuilder& ShapeBuilder::move_to(int32_t x, int32_t y) {
    records_.move_to(x, y);
    return *this;
}

ShapeBuilder& ShapeBuilder::line_to(int32_t x, int32_t y) {
    records_.line_to(x, y);
    return *this;
}

ShapeBuilder& ShapeBuilder::curve_to(int32_t cx, int32_t cy, int32_t x, int32_t y) {
    records_.curve_to(cx, cy, x, y);
    return *this;
}

ShapeBuilder& ShapeBuilder::set_fills(uint32_t fill0, uint32_t fill1) {
    records_.set_fills(fill0, fill1);
    return *this;
}

ShapeBuilder& ShapeBuilder::set_line(uint32_t n) {
    records_.set_line(n);
    return *this;
}

ShapeBuilder& ShapeBuilder::new_styles() {
    records_.new_styles();
    groups_.emplace_back();
    return *this;
}

std::string ShapeBuilder::bytes(uint16_t tag_code) const {
    const bool rgba = tag_code == kDefineShape3 || tag_code == kDefineShape4;
    const bool line2 = tag_code == kDefineShape4;
    BitWriter w;
    w.u16(id_);
    const auto b = bounds_.value_or(bounds_of(records_));
    w.rect(b[0], b[1], b[2], b[3]);
    if (tag_code == kDefineShape4) {
        w.rect(b[0], b[1], b[2], b[3]);
        w.u8(winding_ ? 0x04 : 0x00);
    }
    auto write_group = [&](BitWriter& out, size_t g) -> std::pair<int, int> {
        static const Group empty;
        const Group& group = g < groups_.size() ? groups_[g] : empty;
        write_count(out, group.fills.size(), tag_code != kDefineShape);
        for (const Fill& f : group.fills)
            write_fill(out, f, rgba);
        write_count(out, group.lines.size(), true);
        for (const Line& l : group.lines)
            write_line(out, l, rgba, line2);
        const auto [max_fill, max_line] = records_.max_indices(g);
        const int fb =
            unsigned_width(std::max(max_fill, static_cast<uint32_t>(group.fills.size())));
        const int lb =
            unsigned_width(std::max(max_line, static_cast<uint32_t>(group.lines.size())));
        if (fb > 15 || lb > 15) throw std::invalid_argument("style index too wide");
        return {fb, lb};
    };
    const auto [fb, lb] = write_group(w, 0);
    w.ub(static_cast<uint32_t>(fb), 4).ub(static_cast<uint32_t>(lb), 4);
    records_.write(w, fb, lb, write_group);
    return w.data();
}

// MorphBuilder

uint32_t MorphBuilder::fill(const MorphFill& f) {
    fills_.push_back(f);
    return static_cast<uint32_t>(fills_.size());
}

uint32_t MorphBuilder::fill_solid(swf::Rgba start, swf::Rgba end) {
    MorphFill f;
    f.start_color = start;
    f.end_color = end;
    return fill(f);
}

uint32_t MorphBuilder::fill_linear(const swf::Matrix& start, const swf::Matrix& end,
                                   std::vector<MorphStop> stops) {
    MorphFill f;
    f.type = 0x10;
    f.start_matrix = start;
    f.end_matrix = end;
    f.stops = std::move(stops);
    return fill(f);
}

uint32_t MorphBuilder::fill_radial(const swf::Matrix& start, const swf::Matrix& end,
                                   std::vector<MorphStop> stops) {
    MorphFill f;
    f.type = 0x12;
    f.start_matrix = start;
    f.end_matrix = end;
    f.stops = std::move(stops);
    return fill(f);
}

uint32_t MorphBuilder::fill_bitmap(uint16_t id, const swf::Matrix& start, const swf::Matrix& end,
                                   bool repeat, bool smooth) {
    MorphFill f;
    f.type = static_cast<uint8_t>(0x40 | (repeat ? 0 : 1) | (smooth ? 0 : 2));
    f.start_matrix = start;
    f.end_matrix = end;
    f.bitmap = id;
    return fill(f);
}

uint32_t MorphBuilder::line(const MorphLine& l) {
    lines_.push_back(l);
    return static_cast<uint32_t>(lines_.size());
}

uint32_t MorphBuilder::line(uint16_t start_width, uint16_t end_width, swf::Rgba start,
                            swf::Rgba end) {
    MorphLine l;
    l.start_width = start_width;
    l.end_width = end_width;
    l.start_color = start;
    l.end_color = end;
    return line(l);
}

MorphBuilder& MorphBuilder::offset(uint32_t bytes) {
    offset_ = bytes;
    return *this;
}

std::string MorphBuilder::bytes(uint16_t tag_code) const {
    const bool v2 = tag_code == kDefineMorphShape2;
    BitWriter w;
    w.u16(id_);
    const auto s = bounds_of(start_);
    const auto e = bounds_of(end_);
    w.rect(s[0], s[1], s[2], s[3]);
    w.rect(e[0], e[1], e[2], e[3]);
    if (v2) {
        w.rect(s[0], s[1], s[2], s[3]);
        w.rect(e[0], e[1], e[2], e[3]);
        w.u8(0x01);
    }
    BitWriter body;
    write_count(body, fills_.size(), true);
    for (const MorphFill& f : fills_)
        write_morph_fill(body, f);
    write_count(body, lines_.size(), true);
    for (const MorphLine& l : lines_)
        write_morph_line(body, l, v2);
    const auto [max_fill, max_line] = start_.max_indices(0);
    const int fb = unsigned_width(std::max(max_fill, static_cast<uint32_t>(fills_.size())));
    const int lb = unsigned_width(std::max(max_line, static_cast<uint32_t>(lines_.size())));
    body.ub(static_cast<uint32_t>(fb), 4).ub(static_cast<uint32_t>(lb), 4);
    const auto no_groups = [](BitWriter&, size_t) { return std::pair<int, int>{0, 0}; };
    start_.write(body, fb, lb, no_groups);
    body.align();
    const auto end_at = static_cast<uint32_t>(body.size());
    body.ub(0, 8);
    end_.write(body, 0, 0, no_groups);
    w.u32(offset_.value_or(end_at));
    w.bytes(body.data());
    return w.data();
}

} // namespace zefa::test
