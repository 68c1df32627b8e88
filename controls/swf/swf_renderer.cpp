#include "swf/swf_renderer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "swf/swf_text_paint.h"

namespace zefa {

namespace {

// Static drawings (button states, sprites inside them) nest only this deep.
constexpr int kMaxStaticLevel = 8;

// Cache keys: shapes by id, glyphs by font and index. A morph at a ratio is built for the one
// paint (key 0): a tween would fill the cache with ratios and push the static shapes out.
constexpr uint64_t kTransient = 0;
uint64_t shape_key(uint16_t id) {
    return uint64_t{1} << 48 | id;
}
uint64_t glyph_key(uint16_t font, size_t index) {
    return uint64_t{3} << 48 | uint64_t{font} << 32 | (index & 0xffffffffu);
}

QTransform to_qt(const swf::Matrix& m) {
    return QTransform(m.a, m.b, m.c, m.d, m.tx, m.ty);
}

} // namespace

struct SwfRenderer::Context {
    QPainter& p;
    QTransform device;
    PaintOptions options;
    QRect area; // device pixels to paint
};

namespace {

// Antialiased edges, hairlines and pixel rounding reach this far past a path's bounds.
constexpr int kEdgeMargin = 2;

uint64_t mix(uint64_t place, uint64_t step) {
    return (place ^ step) * 0x100000001b3ull + 0x9e3779b97f4a7c15ull;
}

// The box of every point and control point of a shape, widened by its widest stroke and by a
// twip, so that even a straight line has an area (Qt drops empty rectangles from unions).
QRectF edge_box(const swf::Shape& s) {
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    const auto add = [&](swf::PointF p) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    };
    for (const swf::Shape::Layer& l : s.layers)
        for (const swf::Contour& c : l.path.contours) {
            add(c.start);
            for (const swf::Segment& g : c.segments) {
                if (g.curve) add(g.control);
                add(g.to);
            }
        }
    if (x0 > x1) return {};
    double grow = 1;
    for (const swf::LineStyle& l : s.line_styles)
        if (std::isfinite(l.width)) grow = std::max(grow, l.width / 2 + 1);
    return QRectF(QPointF(x0 - grow, y0 - grow), QPointF(x1 + grow, y1 + grow));
}

} // namespace

SwfRenderer::SwfRenderer(const swf::MovieDef& def)
    : def_(def), images_([&def](uint16_t id) { return def.get<swf::Bitmap>(id); }) {}

void SwfRenderer::render(QPainter& p, const swf::TimelineState& root,
                         const QTransform& twips_to_device, const PaintOptions& options,
                         const QRect& area) {
    Context c{p, twips_to_device, options, area};
    p.save();
    p.setRenderHint(QPainter::Antialiasing, options.antialias);
    p.setRenderHint(QPainter::SmoothPixmapTransform, options.smooth_bitmaps);
    draw_list(c, root, swf::Matrix{}, swf::ColorTransform{});
    p.restore();
}

void SwfRenderer::set_world(Context& c, const swf::Matrix& world) {
    c.p.setWorldTransform(to_qt(world) * c.device);
}

void SwfRenderer::draw_list(Context& c, const swf::TimelineState& t, const swf::Matrix& world,
                            const swf::ColorTransform& cx) {
    struct Mask {
        uint16_t until;
        QPainterPath area; // device pixels
    };
    std::vector<Mask> masks;
    bool clipped = false;
    const auto apply_masks = [&] {
        if (clipped) c.p.restore();
        clipped = !masks.empty();
        if (!clipped) return;
        c.p.save();
        c.p.setWorldTransform(QTransform());
        for (const Mask& m : masks)
            c.p.setClipPath(m.area, Qt::IntersectClip);
    };
    for (const auto& [depth, o] : t.list) {
        const size_t before = masks.size();
        std::erase_if(masks, [d = depth](const Mask& m) { return d > m.until; });
        if (masks.size() != before) apply_masks();
        const swf::Matrix w = o.matrix.then(world);
        if (o.clip_depth > 0) {
            Mask m{o.clip_depth, {}};
            m.area.setFillRule(Qt::WindingFill);
            add_coverage(c, o.character, &o, w, m.area, t.level);
            masks.push_back(std::move(m));
            apply_masks();
            continue;
        }
        if (!o.visible) continue;
        draw_character(c, o.character, &o, w, o.cxform.then(cx), t.level);
    }
    if (clipped) c.p.restore();
}

void SwfRenderer::draw_character(Context& c, uint16_t id, const swf::DisplayObject* object,
                                 const swf::Matrix& world, const swf::ColorTransform& cx,
                                 int level) {
    const swf::Character* ch = def_.character(id);
    if (!ch) return;
    const bool leaf = !std::holds_alternative<swf::Sprite>(*ch) || !object || !object->sprite;
    if (leaf && !c.area.intersects(device_bounds(id, object, world, c.device, level))) return;
    if (const auto* shape = std::get_if<swf::Shape>(ch)) {
        set_world(c, world);
        shapes_.paint(c.p, *shape, shape_key(id), cx, images_, c.options);
    } else if (const auto* morph = std::get_if<swf::MorphShape>(ch)) {
        const uint16_t ratio = object ? object->ratio : 0;
        set_world(c, world);
        shapes_.paint(c.p, swf::morph_at(*morph, ratio), kTransient, cx, images_, c.options);
    } else if (std::holds_alternative<swf::Bitmap>(*ch)) {
        // A bitmap placed on its own: its pixels at 20 twips each.
        if (const QImage* image = images_.image(id, cx)) {
            set_world(c, swf::Matrix{20, 0, 0, 20, 0, 0}.then(world));
            c.p.drawImage(QPointF(0, 0), *image);
        }
    } else if (const auto* text = std::get_if<swf::Text>(ch)) {
        draw_text(c, *text, world, cx);
    } else if (const auto* edit = std::get_if<swf::EditText>(ch)) {
        set_world(c, world);
        paint_edit_text(c.p, *edit, edit->has_font ? def_.get<swf::Font>(edit->font) : nullptr, cx);
    } else if (const auto* button = std::get_if<swf::Button>(ch)) {
        if (level >= kMaxStaticLevel) return;
        for (const swf::ButtonRecord& r : button->up)
            draw_character(c, r.character, nullptr, r.matrix.then(world), r.cxform.then(cx),
                           level + 1);
    } else if (const auto* sprite = std::get_if<swf::Sprite>(ch)) {
        if (object && object->sprite)
            draw_list(c, *object->sprite, world, cx);
        else if (level < kMaxStaticLevel)
            draw_static(c, sprite->timeline, world, cx, level + 1);
    }
}

// A sprite without a running timeline (inside a button): its first frame as placed.
void SwfRenderer::draw_static(Context& c, const swf::Timeline& t, const swf::Matrix& world,
                              const swf::ColorTransform& cx, int level) {
    if (t.frames.empty()) return;
    swf::TimelineState still;
    still.def = &t;
    still.level = level;
    for (const swf::Control& ctl : t.frames.front()) {
        const auto* p = std::get_if<swf::Place>(&ctl);
        if (!p || !p->character) continue;
        swf::DisplayObject& o = still.list[p->depth];
        o.character = *p->character;
        if (p->matrix) o.matrix = *p->matrix;
        if (p->cxform) o.cxform = *p->cxform;
        if (p->ratio) o.ratio = *p->ratio;
        if (p->clip_depth) o.clip_depth = *p->clip_depth;
    }
    draw_list(c, still, world, cx);
}

void SwfRenderer::draw_text(Context& c, const swf::Text& text, const swf::Matrix& world,
                            const swf::ColorTransform& cx) {
    const swf::Matrix text_world = text.matrix.then(world);
    for (const swf::TextRun& run : text.runs) {
        const swf::Font* font = def_.get<swf::Font>(run.font);
        if (!font || font->em <= 0) continue;
        const double scale = static_cast<double>(run.height) / font->em;
        const swf::Rgba colour = cx.apply(run.color);
        for (const swf::TextGlyph& g : run.glyphs) {
            if (g.index >= font->glyphs.size()) continue;
            set_world(c, swf::Matrix{scale, 0, 0, scale, g.x, g.y}.then(text_world));
            shapes_.paint(c.p, font->glyphs[g.index], glyph_key(run.font, g.index),
                          swf::ColorTransform{}, images_, c.options, colour);
        }
    }
}

void SwfRenderer::add_coverage(Context& c, uint16_t id, const swf::DisplayObject* object,
                               const swf::Matrix& world, QPainterPath& out, int level) {
    const swf::Character* ch = def_.character(id);
    if (!ch || level > kMaxStaticLevel + 32) return;
    const QTransform to_device = to_qt(world) * c.device;
    if (const auto* shape = std::get_if<swf::Shape>(ch)) {
        out.addPath(to_device.map(shapes_.coverage(*shape, shape_key(id))));
    } else if (const auto* morph = std::get_if<swf::MorphShape>(ch)) {
        const uint16_t ratio = object ? object->ratio : 0;
        out.addPath(to_device.map(shapes_.coverage(swf::morph_at(*morph, ratio), kTransient)));
    } else if (const auto* text = std::get_if<swf::Text>(ch)) {
        const swf::Matrix text_world = text->matrix.then(world);
        for (const swf::TextRun& run : text->runs) {
            const swf::Font* font = def_.get<swf::Font>(run.font);
            if (!font || font->em <= 0) continue;
            const double scale = static_cast<double>(run.height) / font->em;
            for (const swf::TextGlyph& g : run.glyphs) {
                if (g.index >= font->glyphs.size()) continue;
                const QTransform m =
                    to_qt(swf::Matrix{scale, 0, 0, scale, g.x, g.y}.then(text_world)) * c.device;
                out.addPath(
                    m.map(shapes_.coverage(font->glyphs[g.index], glyph_key(run.font, g.index))));
            }
        }
    } else if (const auto* edit = std::get_if<swf::EditText>(ch)) {
        const swf::Rect& b = edit->bounds;
        QPainterPath r;
        r.addRect(QRectF(b.x_min, b.y_min, double(b.width()), double(b.height())));
        out.addPath(to_device.map(r));
    } else if (std::holds_alternative<swf::Sprite>(*ch) && object && object->sprite) {
        for (const auto& [depth, o] : object->sprite->list)
            if (o.clip_depth == 0)
                add_coverage(c, o.character, &o, o.matrix.then(world), out, level + 1);
    } else if (const auto* button = std::get_if<swf::Button>(ch)) {
        for (const swf::ButtonRecord& r : button->up)
            add_coverage(c, r.character, nullptr, r.matrix.then(world), out, level + 1);
    }
}

QRectF SwfRenderer::twips_bounds(uint16_t id, const swf::DisplayObject* object, int level) {
    const swf::Character* ch = def_.character(id);
    if (!ch || level > kMaxStaticLevel + 32) return {};
    if (std::holds_alternative<swf::Shape>(*ch) || std::holds_alternative<swf::MorphShape>(*ch)) {
        const auto cached = shape_bounds_.find(id);
        if (cached != shape_bounds_.end()) return cached->second;
        QRectF r;
        if (const auto* shape = std::get_if<swf::Shape>(ch)) {
            r = edge_box(*shape);
        } else {
            // Every point between the two lies in the box of both ends.
            const auto& m = std::get<swf::MorphShape>(*ch);
            r = edge_box(swf::morph_at(m, 0)).united(edge_box(swf::morph_at(m, 65535)));
        }
        return shape_bounds_[id] = r;
    }
    if (const auto* b = std::get_if<swf::Bitmap>(ch))
        return QRectF(0, 0, b->width * 20.0, b->height * 20.0);
    if (const auto* text = std::get_if<swf::Text>(ch)) {
        const swf::Rect& b = text->bounds;
        QRectF r(b.x_min, b.y_min, double(b.width()), double(b.height()));
        // Declared bounds may be wrong; each glyph's em box around its origin is not.
        const QTransform m = to_qt(text->matrix);
        for (const swf::TextRun& run : text->runs)
            for (const swf::TextGlyph& g : run.glyphs)
                r |= m.mapRect(QRectF(g.x - run.height, g.y - 2.0 * run.height, 4.0 * run.height,
                                      3.0 * run.height));
        return r;
    }
    if (const auto* edit = std::get_if<swf::EditText>(ch)) {
        const swf::Rect& b = edit->bounds;
        return QRectF(b.x_min, b.y_min, double(b.width()), double(b.height()));
    }
    if (const auto* button = std::get_if<swf::Button>(ch)) {
        QRectF r;
        for (const swf::ButtonRecord& rec : button->up)
            r |= to_qt(rec.matrix).mapRect(twips_bounds(rec.character, nullptr, level + 1));
        return r;
    }
    if (const auto* sprite = std::get_if<swf::Sprite>(ch)) {
        QRectF r;
        if (object && object->sprite) {
            for (const auto& [depth, o] : object->sprite->list)
                r |= to_qt(o.matrix).mapRect(twips_bounds(o.character, &o, level + 1));
        } else if (!sprite->timeline.frames.empty()) {
            for (const swf::Control& ctl : sprite->timeline.frames.front())
                if (const auto* p = std::get_if<swf::Place>(&ctl); p && p->character)
                    r |= to_qt(p->matrix.value_or(swf::Matrix{}))
                             .mapRect(twips_bounds(*p->character, nullptr, level + 1));
        }
        return r;
    }
    return {};
}

QRect SwfRenderer::device_bounds(uint16_t id, const swf::DisplayObject* object,
                                 const swf::Matrix& world, const QTransform& device, int level) {
    const QRectF r = twips_bounds(id, object, level);
    if (r.isNull() || !r.isValid()) return {};
    const QRectF mapped = (to_qt(world) * device).mapRect(r);
    // Far off the screen: nothing to draw there, and no overflow turning it into pixels.
    if (!(std::abs(mapped.left()) < 1e7 && std::abs(mapped.right()) < 1e7 &&
          std::abs(mapped.top()) < 1e7 && std::abs(mapped.bottom()) < 1e7))
        return mapped.isValid() ? QRect(-10'000'000, -10'000'000, 20'000'000, 20'000'000) : QRect();
    return mapped.toAlignedRect().adjusted(-kEdgeMargin, -kEdgeMargin, kEdgeMargin, kEdgeMargin);
}

void SwfRenderer::collect(const swf::TimelineState& t, const swf::Matrix& world,
                          const swf::ColorTransform& cx, uint64_t place, Snapshot& out) {
    for (const auto& [depth, o] : t.list) {
        if (!o.visible && o.clip_depth == 0) continue;
        const swf::Matrix w = o.matrix.then(world);
        const swf::ColorTransform ocx = o.cxform.then(cx);
        const uint64_t here = mix(place, depth);
        if (o.sprite) {
            collect(*o.sprite, w, ocx, here, out); // a sprite mask too: its parts are its area
            continue;
        }
        out[here] = Drawn{o.character, w, ocx, o.ratio,
                          device_bounds(o.character, &o, w, last_device_, t.level)};
    }
}

QRect SwfRenderer::changes(const swf::TimelineState& root, const QTransform& twips_to_device,
                           const QRect& everything) {
    const bool moved = twips_to_device != last_device_;
    last_device_ = twips_to_device;
    Snapshot now;
    collect(root, swf::Matrix{}, swf::ColorTransform{}, 0, now);
    QRect dirty;
    if (moved) {
        dirty = everything;
    } else {
        for (const auto& [place, d] : now) {
            const auto before = last_.find(place);
            if (before == last_.end())
                dirty |= d.bounds;
            else if (!(before->second == d))
                dirty |= d.bounds | before->second.bounds;
        }
        for (const auto& [place, d] : last_)
            if (!now.contains(place)) dirty |= d.bounds;
    }
    last_ = std::move(now);
    return dirty & everything;
}

} // namespace zefa
