// Morph shapes decoded from tag data written here and drawn at several ratios: paired edges
// with their own pens, interpolated styles, and damaged data refused.

#include <gtest/gtest.h>

#include "shape_writer.h"
#include "swf/swf_morph.h"
#include "swf_writer.h"

namespace zefa::swf {
namespace {

using test::MorphBuilder;

constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 55};
constexpr uint16_t kHalf = 32768;
constexpr double kHalfT = 32768 / 65535.0;

MorphResult decode(const std::string& data, uint16_t code, const ShapeLimits& limits = {}) {
    Stream s(test::as_bytes(data));
    return decode_morph(code, s, limits);
}

MorphShape decoded(const MorphBuilder& b, uint16_t code = test::kDefineMorphShape) {
    MorphResult r = decode(b.bytes(code), code);
    EXPECT_EQ(r.error, "");
    return std::move(r.morph);
}

// A square growing from (0,0)-(100,100) to (100,100)-(300,300), filled and outlined.
MorphBuilder growing_square() {
    MorphBuilder b(9);
    const uint32_t fill = b.fill_solid(kRed, kBlue);
    const uint32_t line = b.line(20, 60, kBlue, kRed);
    b.start().set_fills(0, fill).set_line(line).move_to(0, 0).line_to(100, 0).line_to(100, 100);
    b.start().line_to(0, 100).line_to(0, 0);
    b.end().move_to(100, 100).line_to(300, 100).line_to(300, 300).line_to(100, 300);
    b.end().line_to(100, 100);
    return b;
}

void expect_near(PointF p, double x, double y) {
    EXPECT_NEAR(p.x, x, 0.01);
    EXPECT_NEAR(p.y, y, 0.01);
}

void expect_consistent(const Shape& s) {
    for (const Shape::Layer& l : s.layers)
        EXPECT_LT(l.style, l.stroke ? s.line_styles.size() : s.fill_styles.size());
}

TEST(MorphShape, StartHalfwayAndEnd) {
    for (uint16_t code : {test::kDefineMorphShape, test::kDefineMorphShape2}) {
        SCOPED_TRACE(code);
        const MorphResult r = decode(growing_square().bytes(code), code);
        ASSERT_EQ(r.error, "");
        EXPECT_EQ(r.id, 9);
        const double ts[] = {0, kHalfT, 1};
        const uint16_t ratios[] = {0, kHalf, 65535};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(ratios[i]);
            const double t = ts[i];
            const Shape s = morph_at(r.morph, ratios[i]);
            ASSERT_EQ(s.layers.size(), 2u);
            EXPECT_FALSE(s.layers[0].stroke);
            EXPECT_TRUE(s.layers[1].stroke);
            const Contour& c = s.layers[0].path.contours.at(0);
            ASSERT_EQ(c.segments.size(), 4u);
            EXPECT_EQ(c.segments.back().to, c.start); // interpolated ends still meet
            expect_near(c.start, 100 * t, 100 * t);
            expect_near(c.segments[1].to, 100 + 200 * t, 100 + 200 * t);
            EXPECT_NEAR(s.bounds.x_max, 100 + 200 * t, 0.5);
            const Rgba fill = s.fill_styles.at(0).color;
            EXPECT_NEAR(fill.r, 255 * (1 - t), 1);
            EXPECT_NEAR(fill.b, 255 * t, 1);
            EXPECT_NEAR(fill.a, 255 - 200 * t, 1);
            EXPECT_NEAR(s.line_styles.at(0).width, 20 + 40 * t, 1e-9);
        }
        EXPECT_EQ(morph_at(r.morph, 0).fill_styles[0].color, kRed);
        EXPECT_EQ(morph_at(r.morph, 65535).fill_styles[0].color, kBlue);
    }
}

TEST(MorphShape, StraightPairedWithCurveBendsFromTheMiddle) {
    MorphBuilder b;
    const uint32_t line = b.line(20, 20, kRed, kRed);
    b.start().set_line(line).move_to(0, 0).line_to(100, 0).curve_to(150, 50, 100, 100);
    b.end().move_to(0, 0).curve_to(50, 80, 100, 0).line_to(100, 100);
    const MorphShape m = decoded(b);
    ASSERT_EQ(m.edges.size(), 2u);
    const auto segments = [&](uint16_t ratio) {
        return morph_at(m, ratio).layers.at(0).path.contours.at(0).segments;
    };
    EXPECT_EQ(segments(0)[0], (Segment{{50, 0}, {100, 0}, true}));
    EXPECT_EQ(segments(65535)[0], (Segment{{50, 80}, {100, 0}, true}));
    expect_near(segments(kHalf)[0].control, 50, 80 * kHalfT);
    // The curve that straightens: at the end its control is the line's middle.
    EXPECT_EQ(segments(0)[1], (Segment{{150, 50}, {100, 100}, true}));
    EXPECT_EQ(segments(65535)[1], (Segment{{100, 50}, {100, 100}, true}));
}

TEST(MorphShape, EachListMovesItsOwnPen) {
    MorphBuilder b;
    const uint32_t line = b.line(20, 20, kRed, kRed);
    // The start jumps before its second edge; the end has no move there and goes on from
    // where it was. The end moves before the third edge where the start does not.
    b.start().set_line(line).move_to(0, 0).line_to(10, 0).move_to(500, 500).line_to(510, 500);
    b.start().line_to(520, 500);
    b.end().move_to(0, 1000).line_to(10, 1000).line_to(20, 1000).move_to(0, 2000).line_to(10, 2000);
    const MorphShape m = decoded(b);
    ASSERT_EQ(m.edges.size(), 3u);
    EXPECT_EQ(m.edges[1].start.from, (PointF{500, 500}));
    EXPECT_EQ(m.edges[1].end.from, (PointF{10, 1000}));
    EXPECT_EQ(m.edges[2].start.from, (PointF{510, 500}));
    EXPECT_EQ(m.edges[2].end.from, (PointF{0, 2000}));
}

TEST(MorphShape, StylesInterpolate) {
    MorphBuilder b;
    const Matrix from{1, 0, 0, 1, 0, 0}, to{3, 0.5, 0, 2, 2000, -400};
    b.fill_linear(from, to, {{0, kRed, 100, kBlue}, {255, kBlue, 155, kRed}});
    b.fill_bitmap(4, from, to, false, false);
    test::MorphLine l2;
    l2.start_width = 0;
    l2.end_width = 100;
    l2.start_cap = 2;
    l2.join = 2;
    l2.miter_limit = 4;
    l2.no_close = true;
    l2.fill = test::MorphFill{};
    l2.fill->type = 0x12;
    l2.fill->end_matrix = to;
    l2.fill->stops = {{0, kRed, 255, kRed}};
    b.line(l2);
    b.start().set_fills(0, 1).set_line(1).move_to(0, 0).line_to(10, 0).line_to(0, 10);
    b.start().set_fills(0, 2).line_to(0, 0);
    b.end().move_to(0, 0).line_to(10, 0).line_to(0, 10).line_to(0, 0);
    const Shape s = morph_at(decoded(b, test::kDefineMorphShape2), kHalf);
    ASSERT_EQ(s.fill_styles.size(), 2u);
    const FillStyle& g = s.fill_styles[0];
    EXPECT_EQ(g.kind, FillStyle::Kind::Linear);
    EXPECT_NEAR(g.matrix.a, 1 + 2 * kHalfT, 1e-9);
    EXPECT_NEAR(g.matrix.b, 0.5 * kHalfT, 1e-9);
    EXPECT_NEAR(g.matrix.tx, 2000 * kHalfT, 1e-6);
    ASSERT_EQ(g.gradient.stops.size(), 2u);
    EXPECT_EQ(g.gradient.stops[0].ratio, 50);
    EXPECT_EQ(g.gradient.stops[1].ratio, 205);
    EXPECT_NEAR(g.gradient.stops[1].color.r, 128, 1);
    const FillStyle& bitmap = s.fill_styles[1];
    EXPECT_EQ(bitmap.kind, FillStyle::Kind::Bitmap);
    EXPECT_EQ(bitmap.bitmap, 4);
    EXPECT_FALSE(bitmap.repeat || bitmap.smooth);
    EXPECT_NEAR(bitmap.matrix.d, 1 + kHalfT, 1e-9);
    ASSERT_EQ(s.line_styles.size(), 1u);
    const LineStyle& line = s.line_styles[0];
    EXPECT_NEAR(line.width, 50, 0.01);
    EXPECT_EQ(line.start_cap, LineStyle::Cap::Square);
    EXPECT_EQ(line.join, LineStyle::Join::Miter);
    EXPECT_EQ(line.miter_limit, 4);
    EXPECT_TRUE(line.no_close);
    ASSERT_TRUE(line.fill);
    EXPECT_EQ(line.fill->kind, FillStyle::Kind::Radial);
    EXPECT_NEAR(line.fill->matrix.a, 1 + 2 * kHalfT, 1e-9);
    // The second fill's one edge is not a closed region of its own: closed with a line.
    ASSERT_EQ(s.layers.size(), 3u);
    EXPECT_EQ(s.layers[1].path.contours.at(0).segments.size(), 2u);
}

TEST(MorphHostile, EdgeCountsOffsetsAndCuts) {
    // Fewer end edges: refused. More: the extra ones are ignored.
    MorphBuilder fewer = growing_square();
    fewer.end() = test::Records{};
    fewer.end().move_to(0, 0).line_to(10, 0);
    EXPECT_NE(decode(fewer.bytes(46), 46).error, "");
    MorphBuilder more = growing_square();
    more.end().line_to(5, 5);
    EXPECT_EQ(decode(more.bytes(46), 46).morph.edges.size(), 4u);

    // A missing or wrong offset: the end records are found after the start records.
    const MorphShape right = decoded(growing_square());
    for (uint32_t offset : {0u, 1u, 100000u}) {
        MorphBuilder b = growing_square();
        b.offset(offset);
        const MorphShape m = decoded(b);
        EXPECT_EQ(m.edges, right.edges) << offset;
    }

    const std::string data = growing_square().bytes(84);
    // Cuts are refused, unless all they lose is the end records' closing record (the start
    // records say when to stop).
    const MorphShape whole = decode(data, 84).morph;
    size_t accepted = 0;
    for (size_t n = 0; n < data.size(); ++n) {
        const MorphResult cut = decode(data.substr(0, n), 84);
        if (!cut.error.empty()) continue;
        ++accepted;
        EXPECT_EQ(n, data.size() - 1);
        EXPECT_EQ(cut.morph.edges, whole.edges);
    }
    EXPECT_LE(accepted, 1u);
    ShapeLimits limits;
    limits.max_edges = 3;
    EXPECT_NE(decode(data, 84, limits).error, "");
    limits.max_edges = 4;
    EXPECT_EQ(decode(data, 84, limits).error, "");
    EXPECT_NE(decode(data, 32).error, ""); // not a morph tag
}

TEST(MorphHostile, StopCountsIndicesAndNewStyles) {
    for (uint8_t count : {0, 15, 255}) {
        SCOPED_TRACE(int(count));
        MorphBuilder b;
        test::MorphFill f;
        f.type = 0x10;
        for (int i = 0; i < count; ++i)
            f.stops.push_back({uint8_t(i), kRed, uint8_t(255 - i), kBlue});
        b.fill(f);
        b.start().set_fills(0, 1).move_to(0, 0).line_to(10, 0).line_to(0, 10).line_to(0, 0);
        b.end().move_to(0, 0).line_to(10, 0).line_to(0, 10).line_to(0, 0);
        const MorphResult r = decode(b.bytes(46), 46);
        if (count == 255) { // read as 15 and the rest misread: whatever comes, it is bounded
            if (r.error.empty()) expect_consistent(morph_at(r.morph, kHalf));
            for (const FillStyle& s : r.morph.end_fills)
                EXPECT_LE(s.gradient.stops.size(), 15u);
            continue;
        }
        ASSERT_EQ(r.error, "");
        const Shape s = morph_at(r.morph, kHalf);
        ASSERT_EQ(s.fill_styles.size(), 1u);
        EXPECT_EQ(s.fill_styles[0].gradient.stops.size(), count);
        if (count == 0) {
            EXPECT_EQ(s.fill_styles[0].color.a, 0);
        }
        EXPECT_EQ(s.layers.size(), 1u);
    }

    MorphBuilder beyond;
    beyond.fill_solid(kRed, kRed);
    beyond.start().set_fills(4, 0).set_line(3).move_to(0, 0).line_to(10, 0).line_to(0, 10);
    beyond.end().move_to(0, 0).line_to(10, 0).line_to(0, 10);
    const MorphShape m = decoded(beyond);
    EXPECT_EQ(m.edges.at(0).fill0, 0u);
    EXPECT_EQ(m.edges.at(0).line, 0u);
    EXPECT_TRUE(morph_at(m, 0).layers.empty());

    MorphBuilder restyled = growing_square();
    restyled.start().new_styles();
    restyled.start().line_to(7, 7);
    restyled.end().line_to(7, 7);
    EXPECT_NE(decode(restyled.bytes(46), 46).error, "");
}

} // namespace
} // namespace zefa::swf
