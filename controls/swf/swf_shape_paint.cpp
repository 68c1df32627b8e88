#include "swf/swf_shape_paint.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace zefa {

namespace {

// The gradient square's half width, in its own units.
constexpr double kGradientHalf = 16384;
// Gradient stops closer than the gradient colour table resolves, to keep hard edges hard.
constexpr double kStopGap = 1.0 / 4096;
constexpr size_t kMaxStops = 64;
// Extra stops per pair of stops that stand in for interpolation in linear light.
constexpr int kLinearRgbSteps = 8;

QTransform to_qt(const swf::Matrix& m) {
    return QTransform(m.a, m.b, m.c, m.d, m.tx, m.ty);
}

QColor to_qt(swf::Rgba c) {
    return QColor(c.r, c.g, c.b, c.a);
}

QPointF to_qt(swf::PointF p) {
    return {p.x, p.y};
}

bool invertible(const QTransform& t) {
    const double det = t.determinant();
    return std::isfinite(det) && std::abs(det) > 1e-12;
}

// Only alpha is scaled down: bitmaps then need no transformed copy, the painter's opacity does it.
bool alpha_only(const swf::ColorTransform& cx) {
    return cx.mult[0] == 256 && cx.mult[1] == 256 && cx.mult[2] == 256 && cx.add[0] == 0 &&
           cx.add[1] == 0 && cx.add[2] == 0 && cx.add[3] == 0 && cx.mult[3] >= 0 &&
           cx.mult[3] <= 256;
}

// Qt strokes a subpath that ends where it starts as a loop, with a join there. Stopping short by
// this much (twips) gives it caps instead.
constexpr double kOpenLoopGap = 0.05;

QPainterPath build_path(const swf::Path& path, bool fill, bool open_loops, Qt::FillRule rule) {
    QPainterPath out;
    out.setFillRule(rule);
    for (const swf::Contour& c : path.contours) {
        out.moveTo(to_qt(c.start));
        const bool loop = !c.segments.empty() && c.segments.back().to == c.start;
        QPointF from = to_qt(c.start);
        for (size_t i = 0; i < c.segments.size(); ++i) {
            const swf::Segment& s = c.segments[i];
            QPointF to = to_qt(s.to);
            if (!fill && open_loops && loop && i + 1 == c.segments.size()) {
                const QPointF back = (s.curve ? to_qt(s.control) : from) - to;
                const double length = std::hypot(back.x(), back.y());
                if (length > 0) to += back * std::min(kOpenLoopGap / length, 0.5);
            }
            if (s.curve)
                out.quadTo(to_qt(s.control), to);
            else
                out.lineTo(to);
            from = to;
        }
        if (fill || (loop && !open_loops)) out.closeSubpath();
    }
    return out;
}

double srgb_to_linear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double linear_to_srgb(double c) {
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

QColor mix_linear_light(const QColor& a, const QColor& b, double t) {
    const auto channel = [t](double x, double y) {
        return linear_to_srgb(swf::lerp(srgb_to_linear(x), srgb_to_linear(y), t));
    };
    return QColor::fromRgbF(static_cast<float>(channel(a.redF(), b.redF())),
                            static_cast<float>(channel(a.greenF(), b.greenF())),
                            static_cast<float>(channel(a.blueF(), b.blueF())),
                            static_cast<float>(swf::lerp(a.alphaF(), b.alphaF(), t)));
}

QGradientStops gradient_stops(const swf::Gradient& g, const swf::ColorTransform& cx) {
    const size_t n = std::min(g.stops.size(), kMaxStops);
    std::vector<double> at(n);
    for (size_t i = 0; i < n; ++i)
        at[i] = g.stops[i].ratio / 255.0;
    // Qt keeps one colour per position: a repeated ratio (a hard edge) moves up a hair, a
    // decreasing one is taken as repeated; then everything is pulled back under 1.
    for (size_t i = 1; i < n; ++i)
        at[i] = std::max(at[i], at[i - 1] + kStopGap);
    for (size_t i = n; i-- > 0;)
        at[i] = std::min(at[i], 1 - static_cast<double>(n - 1 - i) * kStopGap);
    QGradientStops stops;
    for (size_t i = 0; i < n; ++i) {
        const QColor color = to_qt(cx.apply(g.stops[i].color));
        if (g.linear_rgb && i > 0) {
            const QColor& previous = stops.back().second;
            const double from = at[i - 1];
            for (int k = 1; k < kLinearRgbSteps; ++k) {
                const double t = static_cast<double>(k) / kLinearRgbSteps;
                stops.append({swf::lerp(from, at[i], t), mix_linear_light(previous, color, t)});
            }
        }
        stops.append({at[i], color});
    }
    return stops;
}

struct Fill {
    QBrush brush;
    double opacity = 1;
    bool smooth = false;
};

QGradient::Spread spread(swf::Gradient::Spread s) {
    switch (s) {
    case swf::Gradient::Spread::Reflect:
        return QGradient::ReflectSpread;
    case swf::Gradient::Spread::Repeat:
        return QGradient::RepeatSpread;
    case swf::Gradient::Spread::Pad:
        break;
    }
    return QGradient::PadSpread;
}

std::optional<Fill> gradient_fill(const swf::FillStyle& f, const swf::ColorTransform& cx) {
    const auto& stops = f.gradient.stops;
    if (stops.empty()) return std::nullopt;
    if (stops.size() == 1) return Fill{QBrush(to_qt(cx.apply(stops[0].color)))};
    QTransform m = to_qt(f.matrix);
    if (!invertible(m)) {
        // A linear gradient only varies along its x axis: any other y axis gives the same colours.
        if (f.kind != swf::FillStyle::Kind::Linear || (m.m11() == 0 && m.m12() == 0))
            return std::nullopt;
        m.setMatrix(m.m11(), m.m12(), 0, -m.m12(), m.m11(), 0, m.dx(), m.dy(), 1);
        if (!invertible(m)) return std::nullopt;
    }
    QBrush brush;
    if (f.kind == swf::FillStyle::Kind::Linear) {
        QLinearGradient g(-kGradientHalf, 0, kGradientHalf, 0);
        g.setStops(gradient_stops(f.gradient, cx));
        g.setSpread(spread(f.gradient.spread));
        brush = QBrush(g);
    } else {
        // A focal point on the circle itself leaves no cone to draw.
        const double focal =
            f.kind == swf::FillStyle::Kind::Focal && std::isfinite(f.gradient.focal)
                ? std::clamp(f.gradient.focal, -0.998, 0.998)
                : 0.0;
        QRadialGradient g(QPointF(0, 0), kGradientHalf, QPointF(focal * kGradientHalf, 0));
        g.setStops(gradient_stops(f.gradient, cx));
        g.setSpread(spread(f.gradient.spread));
        brush = QBrush(g);
    }
    brush.setTransform(m);
    return Fill{brush};
}

// How far a clipped bitmap must be extended for `need` (its pixels) to be covered, with one
// pixel to spare so filtering never reaches round to the opposite edge.
QMargins edge_padding(const QRectF& need, QSize size) {
    const auto grow = [](double beyond) {
        if (!(beyond > -1)) return 0; // also NaN
        return static_cast<int>(std::ceil(std::min(beyond, 1e8))) + 1;
    };
    return QMargins(grow(-need.left()), grow(-need.top()), grow(need.right() - size.width()),
                    grow(need.bottom() - size.height()));
}

QMargins round_up(const QMargins& m, int step) {
    const auto up = [step](int v) { return v == 0 ? 0 : (v + step - 1) / step * step; };
    return QMargins(up(m.left()), up(m.top()), up(m.right()), up(m.bottom()));
}

// `area`: the twips the brush must be right over; `visible`: the twips the device shows.
std::optional<Fill> bitmap_fill(const swf::FillStyle& f, const swf::ColorTransform& cx,
                                ImageCache& images, const QRectF& area, const QRectF& visible,
                                const PaintOptions& o) {
    if (f.bitmap == swf::kNoBitmap) return std::nullopt;
    const QTransform m = to_qt(f.matrix);
    if (!invertible(m)) return std::nullopt;
    Fill fill;
    fill.smooth = f.smooth && o.smooth_bitmaps;
    swf::ColorTransform image_cx = cx;
    if (alpha_only(cx)) {
        if (cx.mult[3] == 0) return std::nullopt;
        fill.opacity = cx.mult[3] / 256.0;
        image_cx = {};
    }
    const QImage* image = images.image(f.bitmap, image_cx);
    if (!image) return std::nullopt;
    QMargins pad;
    if (!f.repeat) {
        // Edge pixels extend outwards: a copy grown by as much as the shape reaches beyond the
        // bitmap; if that is too large, by as much as the device shows of it.
        const QTransform to_pixels = m.inverted();
        const QSize size = image->size();
        pad = edge_padding(to_pixels.mapRect(area), size);
        if (!pad.isNull()) {
            const QImage* grown = images.padded(f.bitmap, image_cx, pad);
            if (!grown) {
                // Rounded so a moving view does not need a new copy every frame.
                pad = round_up(edge_padding(to_pixels.mapRect(area & visible), size), 256);
                grown = images.padded(f.bitmap, image_cx, pad);
            }
            if (!grown) pad = {}; // too large either way: tiles show beyond the bitmap
            image = grown ? grown : images.image(f.bitmap, image_cx);
            if (!image) return std::nullopt;
        }
    }
    fill.brush = QBrush(*image);
    fill.brush.setTransform(QTransform::fromTranslate(-pad.left(), -pad.top()) * m);
    return fill;
}

std::optional<Fill> fill_of(const swf::FillStyle& f, const swf::ColorTransform& cx,
                            ImageCache& images, const QRectF& area, const QRectF& visible,
                            const PaintOptions& o) {
    switch (f.kind) {
    case swf::FillStyle::Kind::Solid: {
        const swf::Rgba c = cx.apply(f.color);
        if (c.a == 0) return std::nullopt;
        return Fill{QBrush(to_qt(c))};
    }
    case swf::FillStyle::Kind::Linear:
    case swf::FillStyle::Kind::Radial:
    case swf::FillStyle::Kind::Focal:
        return gradient_fill(f, cx);
    case swf::FillStyle::Kind::Bitmap:
        return bitmap_fill(f, cx, images, area, visible, o);
    }
    return std::nullopt;
}

Qt::PenCapStyle cap(swf::LineStyle::Cap c) {
    switch (c) {
    case swf::LineStyle::Cap::None:
        return Qt::FlatCap;
    case swf::LineStyle::Cap::Square:
        return Qt::SquareCap;
    case swf::LineStyle::Cap::Round:
        break;
    }
    return Qt::RoundCap;
}

Qt::PenJoinStyle join(swf::LineStyle::Join j) {
    switch (j) {
    case swf::LineStyle::Join::Bevel:
        return Qt::BevelJoin;
    case swf::LineStyle::Join::Miter:
        return Qt::MiterJoin;
    case swf::LineStyle::Join::Round:
        break;
    }
    return Qt::RoundJoin;
}

// Paints with `fill`, at its opacity and smoothing, then puts the painter back.
template <typename Draw> void with_fill(QPainter& p, const Fill& fill, Draw draw) {
    const double opacity = p.opacity();
    const bool smooth = p.testRenderHint(QPainter::SmoothPixmapTransform);
    if (fill.opacity != 1) p.setOpacity(opacity * fill.opacity);
    if (fill.smooth != smooth) p.setRenderHint(QPainter::SmoothPixmapTransform, fill.smooth);
    draw();
    if (fill.opacity != 1) p.setOpacity(opacity);
    if (fill.smooth != smooth) p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

QPainterPath unite(std::vector<QPainterPath> paths) {
    if (paths.empty()) return {};
    // Pairwise, so each union works on paths of similar size.
    while (paths.size() > 1) {
        std::vector<QPainterPath> next;
        next.reserve((paths.size() + 1) / 2);
        for (size_t i = 0; i + 1 < paths.size(); i += 2)
            next.push_back(paths[i].united(paths[i + 1]));
        if (paths.size() % 2) next.push_back(std::move(paths.back()));
        paths = std::move(next);
    }
    return paths.front();
}

} // namespace

ShapePainter::ShapePainter() : ShapePainter(Limits{}) {}

ShapePainter::ShapePainter(Limits limits) : limits_(limits) {}

void ShapePainter::clear() {
    lru_.clear();
    index_.clear();
    elements_ = 0;
}

ShapePainter::Entry& ShapePainter::entry(const swf::Shape& shape, uint64_t key, Entry& transient) {
    if (key != 0) {
        if (const auto it = index_.find(key); it != index_.end()) {
            if (it->second->paths.size() == shape.layers.size()) {
                lru_.splice(lru_.begin(), lru_, it->second);
                return *it->second;
            }
            // The key was reused for another shape.
            elements_ -= it->second->elements;
            lru_.erase(it->second);
            index_.erase(it);
        }
    }
    Entry e;
    e.key = key;
    e.paths.reserve(shape.layers.size());
    const Qt::FillRule rule = shape.winding ? Qt::WindingFill : Qt::OddEvenFill;
    for (const swf::Shape::Layer& layer : shape.layers) {
        const bool open_loops = layer.stroke && layer.style < shape.line_styles.size() &&
                                shape.line_styles[layer.style].no_close;
        e.paths.push_back(build_path(layer.path, !layer.stroke, open_loops, rule));
        e.elements += static_cast<size_t>(e.paths.back().elementCount());
    }
    if (key == 0 || e.elements > limits_.max_elements || limits_.max_shapes == 0) {
        transient = std::move(e);
        return transient;
    }
    lru_.push_front(std::move(e));
    index_[key] = lru_.begin();
    elements_ += lru_.front().elements;
    while (lru_.size() > 1 &&
           (lru_.size() > limits_.max_shapes || elements_ > limits_.max_elements)) {
        elements_ -= lru_.back().elements;
        index_.erase(lru_.back().key);
        lru_.pop_back();
    }
    return lru_.front();
}

void ShapePainter::paint(QPainter& p, const swf::Shape& shape, uint64_t key,
                         const swf::ColorTransform& cx, ImageCache& images, const PaintOptions& o,
                         const std::optional<swf::Rgba>& solid) {
    // Alpha comes out 0 whatever goes in.
    if (cx.mult[3] <= 0 && cx.add[3] <= 0) return;
    if (shape.layers.empty() || !p.isActive()) return;
    Entry transient;
    const Entry& e = entry(shape, key, transient);

    p.save();
    p.setRenderHint(QPainter::Antialiasing, o.antialias);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QTransform to_device = p.combinedTransform();
    const double scale = std::sqrt(std::abs(to_device.determinant()));
    const QRectF visible =
        invertible(to_device)
            ? to_device.inverted().mapRect(QRectF(0, 0, p.device()->width(), p.device()->height()))
            : QRectF();
    for (size_t i = 0; i < shape.layers.size(); ++i) {
        const swf::Shape::Layer& layer = shape.layers[i];
        const QPainterPath& path = e.paths[i];
        if (path.isEmpty()) continue;
        if (!layer.stroke) {
            if (layer.style >= shape.fill_styles.size()) continue;
            std::optional<Fill> fill;
            if (solid) {
                const swf::Rgba c = cx.apply(*solid);
                if (c.a != 0) fill = Fill{QBrush(to_qt(c))};
            } else {
                fill = fill_of(shape.fill_styles[layer.style], cx, images, path.boundingRect(),
                               visible, o);
            }
            if (fill) with_fill(p, *fill, [&] { p.fillPath(path, fill->brush); });
            continue;
        }
        if (layer.style >= shape.line_styles.size()) continue;
        const swf::LineStyle& ls = shape.line_styles[layer.style];
        const double width = std::isfinite(ls.width) ? std::max(ls.width, 0.0) : 0.0;
        std::optional<Fill> fill;
        if (ls.fill) {
            const QRectF area = path.boundingRect().adjusted(-width, -width, width, width);
            fill = fill_of(*ls.fill, cx, images, area, visible, o);
        } else {
            const swf::Rgba c = cx.apply(ls.color);
            if (c.a != 0) fill = Fill{QBrush(to_qt(c))};
        }
        if (!fill) continue;
        QPen pen(fill->brush, width, Qt::SolidLine, cap(ls.start_cap), join(ls.join));
        if (ls.join == swf::LineStyle::Join::Miter)
            pen.setMiterLimit(std::isfinite(ls.miter_limit) ? std::clamp(ls.miter_limit, 1.0, 256.0)
                                                            : 3.0);
        if (ls.no_hscale || ls.no_vscale) {
            // Keeps its width in pixels whatever the scale.
            pen.setWidthF(std::max(width / 20, 1.0));
            pen.setCosmetic(true);
        } else if (width * scale < 1) {
            pen.setWidthF(1);
            pen.setCosmetic(true);
        }
        with_fill(p, *fill, [&] { p.strokePath(path, pen); });
    }
    p.restore();
}

QPainterPath ShapePainter::coverage(const swf::Shape& shape, uint64_t key) {
    Entry transient;
    Entry& e = entry(shape, key, transient);
    if (e.coverage) return *e.coverage;
    std::vector<QPainterPath> fills;
    for (size_t i = 0; i < shape.layers.size(); ++i)
        if (!shape.layers[i].stroke && !e.paths[i].isEmpty()) fills.push_back(e.paths[i]);
    QPainterPath area = unite(std::move(fills));
    if (&e != &transient) {
        // Counted with the shape; it may push older shapes out.
        e.elements += static_cast<size_t>(area.elementCount());
        elements_ += static_cast<size_t>(area.elementCount());
        e.coverage = area;
        while (lru_.size() > 1 && elements_ > limits_.max_elements) {
            elements_ -= lru_.back().elements;
            index_.erase(lru_.back().key);
            lru_.pop_back();
        }
    }
    return area;
}

} // namespace zefa
