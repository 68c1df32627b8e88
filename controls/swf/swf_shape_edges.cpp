#include "swf/swf_shape_edges.h"

#include <algorithm>
#include <numeric>

namespace zefa::swf::shape_detail {

std::string style_count_error(const Stream& s, uint32_t n, size_t min_bytes, size_t used,
                              size_t max_styles, const char* what) {
    if (!s.ok()) return std::string(what) + " style count cut short";
    if (n > s.remaining() / min_bytes)
        return std::to_string(n) + " " + what + " styles do not fit in the tag";
    if (used + n > max_styles) return "more than " + std::to_string(max_styles) + " styles";
    return {};
}

namespace {

bool point_less(PointF a, PointF b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

Segment segment(const Edge& e) {
    return e.curve ? Segment{e.control, e.to, true} : Segment{{}, e.to, false};
}

Edge reversed(const Edge& e) {
    return {e.to, e.control, e.from, e.curve};
}

// Items sorted by a start point, and for each run of equal starts the first one not yet taken,
// so that finding an untaken item at a point costs O(log n) plus what it skips once.
class StartIndex {
  public:
    template <class StartOf> StartIndex(size_t n, StartOf start_of) : order_(n), cursor_(n) {
        std::iota(order_.begin(), order_.end(), 0u);
        std::stable_sort(order_.begin(), order_.end(), [&](uint32_t a, uint32_t b) {
            return point_less(start_of(a), start_of(b));
        });
        starts_.reserve(n);
        for (uint32_t i : order_)
            starts_.push_back(start_of(i));
        std::iota(cursor_.begin(), cursor_.end(), size_t{0});
    }

    // The first item starting at p for which taken(i) is false and i != except, or -1.
    template <class Taken> int64_t find(PointF p, Taken taken, int64_t except = -1) {
        const size_t first = static_cast<size_t>(
            std::lower_bound(starts_.begin(), starts_.end(), p, point_less) - starts_.begin());
        if (first == starts_.size() || !(starts_[first] == p)) return -1;
        size_t c = cursor_[first];
        while (c < starts_.size() && starts_[c] == p && taken(order_[c]))
            ++c;
        cursor_[first] = c; // everything before c is taken for good
        for (; c < starts_.size() && starts_[c] == p; ++c) {
            if (taken(order_[c])) continue;
            if (order_[c] != except) return order_[c];
        }
        return -1;
    }

  private:
    std::vector<uint32_t> order_;
    std::vector<PointF> starts_;
    std::vector<size_t> cursor_;
};

PointF contour_end(const Contour& c) {
    return c.segments.empty() ? c.start : c.segments.back().to;
}

} // namespace

bool read_record(Stream& s, int fill_bits, int line_bits, Record& r) {
    r = Record{};
    if (s.bit()) {
        const bool straight = s.bit();
        const int n = static_cast<int>(s.ub(4)) + 2;
        if (straight) {
            r.kind = Record::Kind::Straight;
            if (s.bit()) {
                r.dx = s.sb(n);
                r.dy = s.sb(n);
            } else if (s.bit()) {
                r.dy = s.sb(n);
            } else {
                r.dx = s.sb(n);
            }
        } else {
            r.kind = Record::Kind::Curve;
            r.dx = s.sb(n);
            r.dy = s.sb(n);
            r.anchor_dx = s.sb(n);
            r.anchor_dy = s.sb(n);
        }
        return s.ok();
    }
    const uint32_t flags = s.ub(5);
    if (flags == 0) return s.ok(); // the end record (or zeros read past the end)
    r.kind = Record::Kind::StyleChange;
    r.new_styles = flags & 0x10;
    r.has_line = flags & 0x08;
    r.has_fill1 = flags & 0x04;
    r.has_fill0 = flags & 0x02;
    r.move = flags & 0x01;
    if (r.move) {
        const int bits = static_cast<int>(s.ub(5));
        r.move_x = s.sb(bits);
        r.move_y = s.sb(bits);
    }
    if (r.has_fill0) r.fill0 = s.ub(fill_bits);
    if (r.has_fill1) r.fill1 = s.ub(fill_bits);
    if (r.has_line) r.line = s.ub(line_bits);
    return s.ok();
}

bool read_line2_flags(Stream& s, LineStyle& l) {
    auto cap = [](uint32_t v) {
        return v == 1   ? LineStyle::Cap::None
               : v == 2 ? LineStyle::Cap::Square
                        : LineStyle::Cap::Round;
    };
    const uint32_t start_cap = s.ub(2);
    const uint32_t join = s.ub(2);
    const bool has_fill = s.bit();
    l.no_hscale = s.bit();
    l.no_vscale = s.bit();
    s.ub(6); // pixel hinting, reserved
    l.no_close = s.bit();
    l.start_cap = cap(start_cap);
    l.end_cap = cap(s.ub(2));
    l.join = join == 1   ? LineStyle::Join::Bevel
             : join == 2 ? LineStyle::Join::Miter
                         : LineStyle::Join::Round;
    if (join == 2) l.miter_limit = s.u16() / 256.0;
    return has_fill;
}

Path chain_fill(const std::vector<Edge>& edges) {
    const size_t n = edges.size();
    std::vector<bool> used(n);
    StartIndex by_start(n, [&](uint32_t i) { return edges[i].from; });
    auto taken = [&](uint32_t i) { return static_cast<bool>(used[i]); };

    std::vector<Contour> contours;
    for (uint32_t first = 0; first < n; ++first) {
        if (used[first]) continue;
        Contour c;
        c.start = edges[first].from;
        int64_t e = first;
        while (e >= 0) { // each turn takes one more edge
            used[static_cast<size_t>(e)] = true;
            const Edge& edge = edges[static_cast<size_t>(e)];
            c.segments.push_back(segment(edge));
            if (edge.to == c.start) break;
            e = by_start.find(edge.to, taken);
        }
        contours.push_back(std::move(c));
    }

    // A contour that stops short may go on where another one starts (its edges came earlier
    // in the list): link them as chains first and copy each segment once at the end.
    const size_t m = contours.size();
    std::vector<uint32_t> open;
    for (uint32_t k = 0; k < m; ++k)
        if (!(contour_end(contours[k]) == contours[k].start)) open.push_back(k);
    std::vector<bool> absorbed(m);
    std::vector<int64_t> next(m, -1);
    std::vector<uint32_t> tail(m);
    std::iota(tail.begin(), tail.end(), 0u);
    StartIndex open_by_start(open.size(), [&](uint32_t i) { return contours[open[i]].start; });
    std::vector<uint32_t> open_slot(m);
    for (uint32_t i = 0; i < open.size(); ++i)
        open_slot[open[i]] = i;
    auto open_taken = [&](uint32_t i) { return static_cast<bool>(absorbed[open[i]]); };
    for (uint32_t k : open) {
        if (absorbed[k]) continue;
        for (;;) { // each turn absorbs one more contour
            const PointF end = contour_end(contours[tail[k]]);
            if (end == contours[k].start) break;
            const int64_t slot = open_by_start.find(end, open_taken, open_slot[k]);
            if (slot < 0) break;
            const uint32_t b = open[static_cast<size_t>(slot)];
            absorbed[b] = true;
            next[tail[k]] = b;
            tail[k] = tail[b];
        }
    }

    Path path;
    for (uint32_t k = 0; k < m; ++k) {
        if (absorbed[k]) continue;
        Contour c = std::move(contours[k]);
        for (int64_t j = next[k]; j >= 0; j = next[static_cast<size_t>(j)]) {
            auto& more = contours[static_cast<size_t>(j)].segments;
            c.segments.insert(c.segments.end(), more.begin(), more.end());
        }
        if (!(contour_end(c) == c.start)) c.segments.push_back({{}, c.start, false});
        path.contours.push_back(std::move(c));
    }
    return path;
}

Path chain_stroke(const std::vector<Edge>& edges) {
    Path path;
    for (const Edge& e : edges) {
        if (path.contours.empty() || !(contour_end(path.contours.back()) == e.from))
            path.contours.push_back({e.from, {}});
        path.contours.back().segments.push_back(segment(e));
    }
    return path;
}

void OutlineBuilder::begin_group(uint32_t fill_base, uint32_t line_base) {
    edges_.clear();
    fills_.clear();
    lines_.clear();
    fill_base_ = fill_base;
    line_base_ = line_base;
}

void OutlineBuilder::add(const Edge& e, uint32_t fill0, uint32_t fill1, uint32_t line) {
    if (fill0 == fill1 && line == 0) return; // inside one fill and not stroked
    const uint32_t i = static_cast<uint32_t>(edges_.size());
    edges_.push_back(e);
    if (fill0 != fill1) {
        if (fill1) fills_.push_back({fill1, i, false});
        if (fill0) fills_.push_back({fill0, i, true});
    }
    if (line) lines_.push_back({line, i, false});
}

void OutlineBuilder::finish_group(std::vector<Shape::Layer>& layers) {
    auto by_style = [](const Ref& a, const Ref& b) { return a.style < b.style; };
    auto emit = [&](std::vector<Ref>& refs, bool stroke) {
        std::stable_sort(refs.begin(), refs.end(), by_style);
        std::vector<Edge> run;
        for (size_t i = 0; i < refs.size();) {
            const uint32_t style = refs[i].style;
            run.clear();
            for (; i < refs.size() && refs[i].style == style; ++i) {
                const Edge& e = edges_[refs[i].edge];
                run.push_back(refs[i].reversed ? reversed(e) : e);
            }
            Path path = stroke ? chain_stroke(run) : chain_fill(run);
            if (path.empty()) continue;
            const uint32_t base = stroke ? line_base_ : fill_base_;
            layers.push_back({stroke, base + style - 1, std::move(path)});
        }
    };
    emit(fills_, false);
    emit(lines_, true);
    begin_group(fill_base_, line_base_);
}

} // namespace zefa::swf::shape_detail
