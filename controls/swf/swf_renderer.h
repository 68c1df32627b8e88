#pragma once

// Draws a playing movie with QPainter: the display tree from the main timeline down, each
// object through its parents' matrices and colour transforms, masks cutting the depths they
// cover, shapes and bitmaps through the shape painter, text through glyphs or system fonts.

#include <QPainter>
#include <QTransform>
#include <cstdint>

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
    // paints the background.
    void render(QPainter& p, const swf::TimelineState& root, const QTransform& twips_to_device,
                const PaintOptions& options);

  private:
    struct Context;
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
};

} // namespace zefa
