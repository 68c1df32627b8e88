// Shapes decoded from tag data written here: fill outlines built from edges in any order and
// direction, style groups, strokes, the style records of every shape version, and damaged
// data refused within the limits.

#include <gtest/gtest.h>

#include <cmath>

#include "shape_writer.h"
#include "swf/swf_shape.h"
#include "swf_writer.h"

namespace zefa::swf {
namespace {

using test::Fill;
using test::Line;
using test::ShapeBuilder;
using test::Stop;

constexpr Rgba kRed{255, 0, 0, 128};
constexpr Rgba kBlue{0, 0, 255, 255};
constexpr uint16_t kAllShapes[] = {test::kDefineShape, test::kDefineShape2, test::kDefineShape3,
                                   test::kDefineShape4};

ShapeLimits edge_limit(size_t n) {
    ShapeLimits l;
    l.max_edges = n;
    return l;
}

ShapeLimits style_limit(size_t n) {
    ShapeLimits l;
    l.max_styles = n;
    return l;
}

ShapeResult decode(const std::string& data, uint16_t code, const ShapeLimits& limits = {}) {
    Stream s(test::as_bytes(data));
    return decode_shape(code, s, limits);
}

Shape decoded(const ShapeBuilder& b, uint16_t code = test::kDefineShape3) {
    ShapeResult r = decode(b.bytes(code), code);
    EXPECT_EQ(r.error, "");
    return std::move(r.shape);
}

// Twice the signed area of a contour's polygon of end points: positive runs clockwise on
// screen (y down), which is what a fill on the right of every edge gives.
double area(const Contour& c) {
    double sum = 0;
    PointF p = c.start;
    for (const Segment& s : c.segments) {
        sum += p.x * s.to.y - s.to.x * p.y;
        p = s.to;
    }
    return sum;
}

bool closed(const Contour& c) {
    return !c.segments.empty() && c.segments.back().to == c.start;
}

// Every layer's style inside the arrays.
void expect_consistent(const Shape& s) {
    for (const Shape::Layer& l : s.layers) {
        EXPECT_LT(l.style, l.stroke ? s.line_styles.size() : s.fill_styles.size());
        EXPECT_FALSE(l.path.empty());
    }
}

TEST(ShapeFill, SquaresEitherWayRoundCloseWithTheirFill) {
    for (uint16_t code : kAllShapes) {
        SCOPED_TRACE(code);
        ShapeBuilder cw = ShapeBuilder::rect(7, 0, 0, 100, 100, kRed);
        ShapeBuilder ccw(8);
        const uint32_t f = ccw.fill_solid(kRed);
        ccw.set_fills(f, 0).move_to(0, 0).line_to(0, 100).line_to(100, 100).line_to(100, 0);
        ccw.line_to(0, 0);
        for (const ShapeBuilder* b : {&cw, &ccw}) {
            const ShapeResult r = decode(b->bytes(code), code);
            ASSERT_EQ(r.error, "");
            const Shape& s = r.shape;
            ASSERT_EQ(s.layers.size(), 1u);
            EXPECT_FALSE(s.layers[0].stroke);
            EXPECT_EQ(s.layers[0].style, 0u);
            ASSERT_EQ(s.layers[0].path.contours.size(), 1u);
            const Contour& c = s.layers[0].path.contours[0];
            EXPECT_EQ(c.segments.size(), 4u);
            EXPECT_TRUE(closed(c));
            EXPECT_EQ(area(c), 2 * 100 * 100);
            const bool alpha = code == test::kDefineShape3 || code == test::kDefineShape4;
            EXPECT_EQ(s.fill_styles.at(0).color, (Rgba{255, 0, 0, uint8_t(alpha ? 128 : 255)}));
            EXPECT_EQ(s.bounds.x_max, 100);
            EXPECT_FALSE(s.winding);
        }
        EXPECT_EQ(decode(cw.bytes(code), code).id, 7);
    }
}

TEST(ShapeFill, HoleComesOutAgainstTheOutline) {
    ShapeBuilder b;
    const uint32_t f = b.fill_solid(kRed);
    b.set_fills(0, f).move_to(0, 0).line_to(300, 0).line_to(300, 300).line_to(0, 300);
    b.line_to(0, 0);
    // The hole traced the same way round: the fill is now on the left.
    b.set_fills(f, 0).move_to(100, 100).line_to(200, 100).line_to(200, 200).line_to(100, 200);
    b.line_to(100, 100);
    const Shape s = decoded(b);
    ASSERT_EQ(s.layers.size(), 1u);
    const auto& contours = s.layers[0].path.contours;
    ASSERT_EQ(contours.size(), 2u);
    EXPECT_EQ(area(contours[0]), 2 * 300 * 300);
    EXPECT_EQ(area(contours[1]), -2 * 100 * 100);
    EXPECT_TRUE(closed(contours[1]));
}

TEST(ShapeFill, AdjacentFillsShareAnEdge) {
    ShapeBuilder b;
    const uint32_t left = b.fill_solid(kRed), right = b.fill_solid(kBlue);
    b.set_fills(0, left).move_to(0, 0).line_to(100, 0);
    b.set_fills(right, left).line_to(100, 100);
    b.set_fills(0, left).line_to(0, 100).line_to(0, 0);
    b.set_fills(0, right).move_to(100, 0).line_to(200, 0).line_to(200, 100).line_to(100, 100);
    const Shape s = decoded(b);
    ASSERT_EQ(s.layers.size(), 2u);
    for (uint32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(s.layers[i].style, i);
        ASSERT_EQ(s.layers[i].path.contours.size(), 1u);
        const Contour& c = s.layers[i].path.contours[0];
        EXPECT_EQ(c.segments.size(), 4u);
        EXPECT_TRUE(closed(c));
        EXPECT_EQ(area(c), 2 * 100 * 100);
    }
    // The right square has the shared edge walking up it.
    EXPECT_EQ(s.layers[1].path.contours[0].start, (PointF{100, 100}));
    EXPECT_EQ(s.layers[1].path.contours[0].segments[0].to, (PointF{100, 0}));
}

TEST(ShapeFill, ScrambledAndUnfinishedEdgesStillChain) {
    ShapeBuilder b;
    const uint32_t f = b.fill_solid(kRed), g = b.fill_solid(kBlue);
    // A square's sides out of order, two of them written backwards.
    b.set_fills(0, f).move_to(100, 100).line_to(0, 100);
    b.set_fills(f, 0).move_to(100, 0).line_to(0, 0);
    b.set_fills(0, f).move_to(100, 0).line_to(100, 100);
    b.set_fills(f, 0).move_to(0, 0).line_to(0, 100);
    // Three sides of a square, last first, with the fourth missing.
    b.set_fills(0, g).move_to(300, 100).line_to(200, 100);
    b.move_to(300, 0).line_to(300, 100);
    b.move_to(200, 0).line_to(300, 0);
    const Shape s = decoded(b);
    ASSERT_EQ(s.layers.size(), 2u);
    for (const Shape::Layer& l : s.layers) {
        ASSERT_EQ(l.path.contours.size(), 1u);
        const Contour& c = l.path.contours[0];
        EXPECT_EQ(c.segments.size(), 4u);
        EXPECT_TRUE(closed(c));
        EXPECT_EQ(area(c), 2 * 100 * 100);
    }
    EXPECT_EQ(s.layers[1].path.contours[0].start, (PointF{200, 0}));
}

TEST(ShapeFill, CurvesKeepTheirControlPointBothWays) {
    ShapeBuilder b;
    const uint32_t f = b.fill_solid(kRed);
    const uint32_t l = b.line(20, kBlue);
    b.set_fills(0, f).set_line(l).move_to(0, 0).curve_to(50, -50, 100, 0).line_to(0, 0);
    b.set_fills(f, 0).set_line(0).move_to(0, 200).curve_to(50, 250, 100, 200).line_to(0, 200);
    const Shape s = decoded(b);
    ASSERT_EQ(s.layers.size(), 2u);
    const auto& contours = s.layers[0].path.contours;
    ASSERT_EQ(contours.size(), 2u);
    EXPECT_EQ(contours[0].segments[0], (Segment{{50, -50}, {100, 0}, true}));
    EXPECT_FALSE(contours[0].segments[1].curve);
    // Reversed for the fill on its left: the curve back to its start, the same control.
    EXPECT_EQ(contours[1].start, (PointF{100, 200}));
    EXPECT_EQ(contours[1].segments[0], (Segment{{50, 250}, {0, 200}, true}));
    ASSERT_TRUE(s.layers[1].stroke);
    EXPECT_EQ(s.layers[1].path.contours[0].segments[0], contours[0].segments[0]);
}

TEST(ShapeGroups, NewStylesKeepTheirOwnStylesAndOrder) {
    for (uint16_t code : kAllShapes) {
        SCOPED_TRACE(code);
        ShapeBuilder b;
        b.fill_solid(kRed);
        const uint32_t line = b.line(40, kBlue);
        b.set_fills(0, 1).set_line(line).move_to(0, 0).line_to(10, 0).line_to(10, 10);
        b.line_to(0, 0);
        b.new_styles();
        const uint32_t green = b.fill_solid({0, 255, 0, 255});
        const uint32_t white = b.fill_solid({255, 255, 255, 255});
        b.move_to(50, 50).line_to(60, 50).line_to(50, 60); // nothing selected in this group yet
        b.set_fills(0, white).move_to(100, 0).line_to(110, 0).line_to(110, 10).line_to(100, 0);
        b.set_fills(0, green).move_to(200, 0).line_to(210, 0).line_to(210, 10).line_to(200, 0);
        const Shape s = decoded(b, code);
        ASSERT_EQ(s.fill_styles.size(), 3u);
        EXPECT_EQ(s.fill_styles[1].color, (Rgba{0, 255, 0, 255}));
        ASSERT_EQ(s.layers.size(), 4u);
        EXPECT_EQ(s.layers[0].style, 0u);
        EXPECT_TRUE(s.layers[1].stroke);
        EXPECT_EQ(s.layers[1].path.contours[0].segments.size(), 3u); // not the second group's
        // The second group's fills in style order, each with its own square.
        EXPECT_EQ(s.layers[2].style, 1u);
        EXPECT_EQ(s.layers[2].path.contours[0].start.x, 200);
        EXPECT_EQ(s.layers[3].style, 2u);
        EXPECT_EQ(s.layers[3].path.contours[0].start.x, 100);
        expect_consistent(s);
    }
}

TEST(ShapeGroups, IndicesInTheNewStylesRecordMeanTheNewStyles) {
    test::BitWriter w;
    w.u16(1).rect(0, 10, 0, 10).u8(1).u8(0).rgb(kRed).u8(0).ub(1, 4).ub(0, 4);
    // New styles, fill1 and a move in one record; fill1 is written with the old width.
    w.ub(0, 1).ub(0b10101, 5).ub(5, 5).sb(0, 5).sb(0, 5).ub(1, 1);
    w.u8(2).u8(0).rgb(kBlue).u8(0).rgb({0, 255, 0, 255}).u8(0).ub(2, 4).ub(0, 4);
    w.ub(0b11, 2).ub(3, 4).ub(0b00, 2).sb(10, 5);          // right
    w.ub(0b11, 2).ub(3, 4).ub(0b01, 2).sb(10, 5);          // down
    w.ub(0b11, 2).ub(3, 4).ub(1, 1).sb(-10, 5).sb(-10, 5); // back
    w.ub(0, 6);
    const ShapeResult r = decode(w.data(), test::kDefineShape2);
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.shape.fill_styles.size(), 3u);
    ASSERT_EQ(r.shape.layers.size(), 1u);
    EXPECT_EQ(r.shape.layers[0].style, 1u);
    EXPECT_EQ(r.shape.layers[0].path.contours.at(0).segments.size(), 3u);
}

TEST(ShapeStyles, StrokesContinueWhereTheyEnded) {
    ShapeBuilder b;
    const uint32_t thin = b.line(20, kRed), thick = b.line(100, kBlue);
    b.set_line(thick).move_to(0, 0).line_to(10, 0);
    b.set_line(thin).line_to(20, 0);
    b.set_line(thick).line_to(30, 0).line_to(40, 0);
    b.move_to(0, 50).line_to(10, 50);
    const Shape s = decoded(b);
    ASSERT_EQ(s.line_styles.size(), 2u);
    EXPECT_EQ(s.line_styles[1].width, 100);
    EXPECT_EQ(s.line_styles[1].color, kBlue);
    EXPECT_EQ(s.line_styles[1].start_cap, LineStyle::Cap::Round);
    ASSERT_EQ(s.layers.size(), 2u);
    EXPECT_EQ(s.layers[0].style, 0u);
    EXPECT_EQ(s.layers[0].path.contours.size(), 1u);
    // 0-10 and 20-40 are apart; 20-30-40 is one run; the move starts another.
    const auto& thick_path = s.layers[1].path.contours;
    ASSERT_EQ(thick_path.size(), 3u);
    EXPECT_EQ(thick_path[1].start, (PointF{20, 0}));
    EXPECT_EQ(thick_path[1].segments.size(), 2u);
    EXPECT_FALSE(closed(thick_path[2]));
}

TEST(ShapeStyles, LineStyle2ReadsCapsJoinsFlagsAndFill) {
    ShapeBuilder b;
    Line plain;
    plain.width = 60;
    plain.color = kRed;
    plain.start_cap = 1;
    plain.end_cap = 2;
    plain.join = 2;
    plain.miter_limit = 2.5;
    plain.no_hscale = plain.no_close = true;
    Line filled;
    filled.join = 1;
    filled.no_vscale = true;
    filled.fill = Fill::linear({}, {{0, kRed}, {255, kBlue}});
    b.line(plain);
    b.line(filled);
    b.set_line(2).move_to(0, 0).line_to(10, 10);
    const Shape s = decoded(b, test::kDefineShape4);
    ASSERT_EQ(s.line_styles.size(), 2u);
    const LineStyle& a = s.line_styles[0];
    EXPECT_EQ(a.width, 60);
    EXPECT_EQ(a.color, kRed);
    EXPECT_EQ(a.start_cap, LineStyle::Cap::None);
    EXPECT_EQ(a.end_cap, LineStyle::Cap::Square);
    EXPECT_EQ(a.join, LineStyle::Join::Miter);
    EXPECT_EQ(a.miter_limit, 2.5);
    EXPECT_TRUE(a.no_hscale && a.no_close && !a.no_vscale && !a.fill);
    const LineStyle& c = s.line_styles[1];
    EXPECT_EQ(c.join, LineStyle::Join::Bevel);
    EXPECT_TRUE(c.no_vscale && !c.no_close);
    ASSERT_TRUE(c.fill);
    EXPECT_EQ(c.fill->kind, FillStyle::Kind::Linear);
    EXPECT_EQ(c.fill->gradient.stops.size(), 2u);
    ASSERT_EQ(s.layers.size(), 1u);
    EXPECT_EQ(s.layers[0].style, 1u);
}

TEST(ShapeStyles, GradientsReadStopsSpreadAndFocus) {
    const Matrix m{0.5, 0, 0, 0.25, 1000, -200};
    std::vector<Stop> fifteen;
    for (int i = 0; i < 15; ++i)
        fifteen.push_back({uint8_t(i * 17), {uint8_t(i), 0, 0, 255}});
    ShapeBuilder b;
    b.fill_linear(m, {{0, kRed}, {128, {0, 255, 0, 10}}, {255, kBlue}}, 1);
    Fill repeating = Fill::radial(m, fifteen, 2);
    repeating.interpolation = 1;
    b.fill(repeating);
    b.fill_focal(m, {{0, kRed}, {255, kBlue}}, -0.5);
    b.fill_focal(m, {{0, kRed}}, 3.0);
    b.fill_linear(m, {});
    for (uint16_t code : {test::kDefineShape3, test::kDefineShape4}) {
        SCOPED_TRACE(code);
        const Shape s = decoded(b, code);
        ASSERT_EQ(s.fill_styles.size(), 5u);
        const FillStyle& linear = s.fill_styles[0];
        EXPECT_EQ(linear.kind, FillStyle::Kind::Linear);
        EXPECT_EQ(linear.matrix, m);
        ASSERT_EQ(linear.gradient.stops.size(), 3u);
        EXPECT_EQ(linear.gradient.stops[1], (GradientStop{128, {0, 255, 0, 10}}));
        const FillStyle& radial = s.fill_styles[1];
        EXPECT_EQ(radial.kind, FillStyle::Kind::Radial);
        EXPECT_EQ(radial.gradient.stops.size(), 15u);
        EXPECT_EQ(radial.gradient.stops[14].ratio, 238);
        // Spread and interpolation only mean something from DefineShape4 on.
        const bool v4 = code == test::kDefineShape4;
        EXPECT_EQ(linear.gradient.spread, v4 ? Gradient::Spread::Reflect : Gradient::Spread::Pad);
        EXPECT_EQ(radial.gradient.spread, v4 ? Gradient::Spread::Repeat : Gradient::Spread::Pad);
        EXPECT_EQ(radial.gradient.linear_rgb, v4);
        EXPECT_EQ(s.fill_styles[2].kind, FillStyle::Kind::Focal);
        EXPECT_EQ(s.fill_styles[2].gradient.focal, -0.5);
        EXPECT_EQ(s.fill_styles[3].gradient.focal, 1.0);
        // No stops: nothing to paint.
        EXPECT_EQ(s.fill_styles[4].kind, FillStyle::Kind::Solid);
        EXPECT_EQ(s.fill_styles[4].color.a, 0);
    }
}

TEST(ShapeStyles, BitmapFillsReadRepeatAndSmoothing) {
    const Matrix m{20, 0, 0, 20, 5, 5};
    ShapeBuilder b;
    b.fill_bitmap(3, m, true, true);
    b.fill_bitmap(4, m, false, true);
    b.fill_bitmap(5, m, true, false);
    b.fill_bitmap(kNoBitmap, m, false, false);
    const Shape s = decoded(b);
    ASSERT_EQ(s.fill_styles.size(), 4u);
    const bool repeat[] = {true, false, true, false}, smooth[] = {true, true, false, false};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(s.fill_styles[i].kind, FillStyle::Kind::Bitmap);
        EXPECT_EQ(s.fill_styles[i].matrix, m);
        EXPECT_EQ(s.fill_styles[i].repeat, repeat[i]) << i;
        EXPECT_EQ(s.fill_styles[i].smooth, smooth[i]) << i;
    }
    EXPECT_EQ(s.fill_styles[0].bitmap, 3);
    EXPECT_EQ(s.fill_styles[3].bitmap, kNoBitmap);
}

TEST(ShapeStyles, ExtendedCounts) {
    // DefineShape2 on: 0xFF then the count. DefineShape: 0xFF is 255 fills; its line count
    // is read extended like the others'.
    for (uint16_t code : kAllShapes) {
        SCOPED_TRACE(code);
        ShapeBuilder b;
        const int fills = code == test::kDefineShape ? 255 : 300;
        for (int i = 0; i < fills; ++i)
            b.fill_solid({uint8_t(i), 0, 0, 255});
        for (int i = 0; i < 256; ++i)
            b.line(uint16_t(i), kBlue);
        b.set_fills(0, uint32_t(fills)).set_line(256).move_to(0, 0).line_to(10, 0);
        b.line_to(0, 10).line_to(0, 0);
        const Shape s = decoded(b, code);
        EXPECT_EQ(s.fill_styles.size(), size_t(fills));
        EXPECT_EQ(s.line_styles.size(), 256u);
        ASSERT_EQ(s.layers.size(), 2u);
        EXPECT_EQ(s.layers[0].style, uint32_t(fills - 1));
        EXPECT_EQ(s.layers[1].style, 255u);
        EXPECT_EQ(s.line_styles[255].width, 255);
    }
}

TEST(ShapeStyles, WindingFlagOnlyInDefineShape4) {
    ShapeBuilder b = ShapeBuilder::rect(1, 0, 0, 10, 10, kRed);
    EXPECT_FALSE(decoded(b, test::kDefineShape4).winding);
    b.winding(true);
    EXPECT_TRUE(decoded(b, test::kDefineShape4).winding);
    EXPECT_FALSE(decoded(b, test::kDefineShape3).winding);
}

TEST(ShapeGlyph, OneBlackFillAndNoStrokes) {
    test::Records r;
    r.set_fills(1, 0).move_to(0, 0).line_to(500, 0).line_to(500, -700).line_to(0, -700);
    r.line_to(0, 0);
    r.set_fills(0, 2).set_line(1).move_to(0, 100).line_to(100, 100).line_to(0, 0);
    test::Records second;
    second.set_fills(0, 1).move_to(0, 0).line_to(10, 0).line_to(0, 10);
    const std::string data = test::glyph_bytes(r) + test::glyph_bytes(second);
    Stream s(test::as_bytes(data));
    const std::optional<Shape> g = decode_glyph(s);
    ASSERT_TRUE(g);
    ASSERT_EQ(g->fill_styles.size(), 1u);
    EXPECT_EQ(g->fill_styles[0].color, (Rgba{0, 0, 0, 255}));
    ASSERT_EQ(g->layers.size(), 1u); // index 2 and line 1 are beyond the styles
    EXPECT_EQ(area(g->layers[0].path.contours.at(0)), 2 * 500 * 700);
    // It stops at its own end: the next glyph follows.
    const std::optional<Shape> next = decode_glyph(s);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->layers.at(0).path.contours.at(0).segments.size(), 3u);
    EXPECT_TRUE(s.at_end());

    test::Records restyled;
    restyled.set_fills(0, 1).move_to(0, 0).line_to(10, 0).new_styles().line_to(0, 0);
    const std::string restyled_data = test::glyph_bytes(restyled);
    Stream bad(test::as_bytes(restyled_data));
    EXPECT_FALSE(decode_glyph(bad));
}

TEST(ShapeHostile, EdgeLimitAndCutRecords) {
    ShapeBuilder b;
    b.set_fills(0, b.fill_solid(kRed)).move_to(0, 0);
    for (int i = 1; i <= 12; ++i)
        b.line_to(i * 10, i % 2 ? 5 : 0);
    const std::string data = b.bytes(test::kDefineShape3);
    EXPECT_EQ(decode(data, test::kDefineShape3, edge_limit(12)).error, "");
    const ShapeResult over = decode(data, test::kDefineShape3, edge_limit(11));
    EXPECT_NE(over.error, "");
    EXPECT_TRUE(over.shape.layers.empty() && over.shape.fill_styles.empty());
    // Every cut of the tag, down to nothing, is refused.
    for (size_t n = 0; n < data.size(); ++n) {
        const ShapeResult cut = decode(data.substr(0, n), test::kDefineShape3);
        EXPECT_NE(cut.error, "") << n;
        EXPECT_TRUE(cut.shape.layers.empty()) << n;
    }
    // A glyph whose records stop early as well.
    test::Records r;
    r.set_fills(0, 1).move_to(0, 0).line_to(1000, 0).line_to(0, 1000);
    const std::string glyph = test::glyph_bytes(r);
    Stream s(test::as_bytes(std::string_view(glyph).substr(0, glyph.size() - 1)));
    EXPECT_FALSE(decode_glyph(s));
}

TEST(ShapeHostile, IndicesBeyondTheStylesDrawNothing) {
    ShapeBuilder b;
    b.fill_solid(kRed);
    b.line(20, kRed);
    b.set_fills(3, 9).set_line(2).move_to(0, 0).line_to(10, 0).line_to(0, 10).line_to(0, 0);
    b.set_fills(1, 15).set_line(7).line_to(10, 10).line_to(20, 0);
    const Shape s = decoded(b);
    // Only the second run's fill0 exists.
    ASSERT_EQ(s.layers.size(), 1u);
    EXPECT_EQ(s.layers[0].path.contours.at(0).segments.size(), 3u); // closed by a line
    expect_consistent(s);
}

TEST(ShapeHostile, WideFieldsStyleCountsAndUnknownTypes) {
    // A move written with 31-bit fields and bounds that need 31 bits.
    ShapeBuilder wide;
    wide.set_fills(0, wide.fill_solid(kRed)).records().move_bits(31);
    wide.move_to(-1'000'000'000, 1'000'000'000).line_to(-1'000'000'000 + 10, 1'000'000'000);
    wide.bounds(-1'000'000'000, 1'000'000'000, -1, 1);
    const Shape s = decoded(wide);
    EXPECT_EQ(s.bounds.x_min, -1'000'000'000);
    EXPECT_EQ(s.layers.at(0).path.contours.at(0).start, (PointF{-1e9, 1e9}));

    // Counts larger than the data or the limit, and a fill type that does not exist.
    test::BitWriter huge;
    huge.u16(1).rect(0, 10, 0, 10).u8(0xFF).u16(0xFFFF).u8(0).u8(0);
    EXPECT_NE(decode(huge.data(), test::kDefineShape3).error, "");
    ShapeBuilder many;
    for (int i = 0; i < 11; ++i)
        many.fill_solid(kRed);
    EXPECT_EQ(decode(many.bytes(32), 32, style_limit(11)).error, "");
    EXPECT_NE(decode(many.bytes(32), 32, style_limit(10)).error, "");
    ShapeBuilder unknown;
    Fill nonsense;
    nonsense.type = 0x20;
    unknown.fill(nonsense);
    EXPECT_NE(decode(unknown.bytes(32), 32).error, "");
    EXPECT_NE(decode(many.bytes(32), 46).error, ""); // not a shape tag
}

} // namespace
} // namespace zefa::swf
