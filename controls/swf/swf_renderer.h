#pragma once

// Draws a playing movie with QPainter: the display tree from the main timeline down, each
// object through its parents' matrices and colour transforms, masks cutting the depths they
// cover, shapes and bitmaps through the shape painter, text through glyphs or system fonts.

#include <QPainter>
#include <QRect>
#include <QTransform>
#include <cstdint>
#include <unordered_map>

#include "swf/swf_image_cache.h"
#include "swf/swf_player.h"
#include "swf/swf_shape_paint.h"

namespace zefa {

class SwfRenderer {
  public:
    // The definition must outlive the renderer.
    explicit SwfRenderer(const swf::MovieDef& def);

    // Paints the display tree under `root`; `twips_to_device` maps the movie's twips (stage
    // origin included) to the painter's device pixels. The caller clips to the stage and
    // paints the background. Only what may show inside `area` (device pixels) is drawn.
    void render(QPainter& p, const swf::TimelineState& root, const QTransform& twips_to_device,
                const PaintOptions& options, const QRect& area);

    // The device pixels whose picture changed since the last call: every drawn object that
    // appeared, went or changed (character, matrix, colour transform, ratio, visibility), old
    // and new places both. A new transform changes everything (`everything` is returned).
    QRect changes(const swf::TimelineState& root, const QTransform& twips_to_device,
                  const QRect& everything);

  private:
    struct Context;
    // What decides an object's pixels, for telling frames apart.
    struct Drawn {
        uint16_t character = 0;
        swf::Matrix world;
        swf::ColorTransform cx;
        uint16_t ratio = 0;
        QRect bounds;
        bool operator==(const Drawn&) const = default;
    };
    using Snapshot = std::unordered_map<uint64_t, Drawn>; // by the object's place in the tree
    void collect(const swf::TimelineState& t, const swf::Matrix& world,
                 const swf::ColorTransform& cx, uint64_t place, Snapshot& out);
    // Where a character may paint, in device pixels; empty for nothing drawable.
    QRect device_bounds(uint16_t id, const swf::DisplayObject* object, const swf::Matrix& world,
                        const QTransform& device, int level);
    QRectF twips_bounds(uint16_t id, const swf::DisplayObject* object, int level);

    void draw_list(Context& c, const swf::TimelineState& t, const swf::Matrix& world,
                   const swf::ColorTransform& cx);
    void draw_character(Context& c, uint16_t id, const swf::DisplayObject* object,
                        const swf::Matrix& world, const swf::ColorTransform& cx, int level);
    void draw_static(Context& c, const swf::Timeline& t, const swf::Matrix& world,
                     const swf::ColorTransform& cx, int level);
    void draw_text(Context& c, const swf::Text& text, const swf::Matrix& world,
                   const swf::ColorTransform& cx);
    // The area a mask object covers, in device pixels.
    void add_coverage(Context& c, uint16_t id, const swf::DisplayObject* object,
                      const swf::Matrix& world, QPainterPath& out, int level);
    void set_world(Context& c, const swf::Matrix& world);

    const swf::MovieDef& def_;
    ImageCache images_;
    ShapePainter shapes_;
    std::unordered_map<uint16_t, QRectF> shape_bounds_; // shapes and morphs, from their edges
    Snapshot last_;
    QTransform last_device_;
};

} // namespace zefa
