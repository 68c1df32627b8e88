// Shapes and bitmaps painted into images at 20 twips a pixel, checked pixel by pixel.

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <map>

#include "swf/swf_image_cache.h"
#include "swf/swf_shape_paint.h"

namespace zefa {
namespace {

using swf::FillStyle;
using swf::LineStyle;
using swf::Shape;
using Kind = FillStyle::Kind;

constexpr swf::Rgba kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kGreen{0, 255, 0, 255};

swf::Segment line_to(double x, double y) {
    return {.control = {}, .to = {x, y}, .curve = false};
}

// Clockwise on screen; `reversed` runs the other way.
swf::Contour rect(double x0, double y0, double x1, double y1, bool reversed = false) {
    if (reversed) return {{x0, y0}, {line_to(x0, y1), line_to(x1, y1), line_to(x1, y0)}};
    return {{x0, y0}, {line_to(x1, y0), line_to(x1, y1), line_to(x0, y1)}};
}

Shape filled(const FillStyle& f, std::vector<swf::Contour> contours) {
    Shape s;
    s.fill_styles = {f};
    s.layers = {{false, 0, {std::move(contours)}}};
    return s;
}

Shape stroked(const LineStyle& l, std::vector<swf::Contour> contours) {
    Shape s;
    s.line_styles = {l};
    s.layers = {{true, 0, {std::move(contours)}}};
    return s;
}

// The gradient square onto twips x0..x1, and as much downwards from y0.
swf::Matrix square_onto(double x0, double x1, double y0 = 0) {
    const double k = (x1 - x0) / 32768;
    return {k, 0, 0, k, (x0 + x1) / 2, y0 + (x1 - x0) / 2};
}

FillStyle solid(swf::Rgba c) {
    FillStyle f;
    f.color = c;
    return f;
}

FillStyle gradient(Kind kind, swf::Matrix m, std::vector<swf::GradientStop> stops) {
    FillStyle f;
    f.kind = kind;
    f.matrix = m;
    f.gradient.stops = std::move(stops);
    return f;
}

FillStyle bitmap(uint16_t id, bool repeat, bool smooth) {
    FillStyle f = solid({});
    f.kind = Kind::Bitmap;
    f.matrix = {100, 0, 0, 100, 200, 200}; // 5 px a bitmap pixel, from 10 px
    f.bitmap = id;
    f.repeat = repeat;
    f.smooth = smooth;
    return f;
}

LineStyle red_line(double width) {
    LineStyle l;
    l.width = width;
    l.color = kRed;
    return l;
}

swf::Bitmap lossless(int width, int height, std::vector<uint32_t> argb) {
    return {.width = width, .height = height, .argb = std::move(argb), .encoded = {}, .alpha = {}};
}
::testing::AssertionResult near(QRgb got, QColor want, int tolerance = 0) {
    const QColor g = QColor::fromRgba(got);
    for (const auto channel : {&QColor::red, &QColor::green, &QColor::blue, &QColor::alpha})
        if (std::abs((g.*channel)() - (want.*channel)()) > tolerance)
            return ::testing::AssertionFailure()
                   << std::hex << "got " << got << " want " << want.rgba();
    return ::testing::AssertionSuccess();
}

swf::Bitmap encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, quality));
    return {.width = image.width(),
            .height = image.height(),
            .argb = {},
            .encoded = {bytes.begin(), bytes.end()},
            .alpha = {}};
}

// Red, green / blue, white.
const swf::Bitmap kFour = lossless(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});

class Bitmaps {
  protected:
    std::map<uint16_t, swf::Bitmap> bitmaps;
    int lookups = 0;
    ImageCache images{[this](uint16_t id) -> const swf::Bitmap* {
        ++lookups;
        const auto it = bitmaps.find(id);
        return it == bitmaps.end() ? nullptr : &it->second;
    }};
};

class ShapePaint : public ::testing::Test, protected Bitmaps {
  protected:
    ShapePainter painter;
    QColor background = Qt::white;

    QImage render(const Shape& s, const swf::ColorTransform& cx = {}, PaintOptions o = {},
                  double scale = 0.05, std::optional<swf::Rgba> glyph = std::nullopt) {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(background);
        QPainter p(&image);
        p.setWorldTransform(QTransform::fromScale(scale, scale));
        painter.paint(p, s, 0, cx, images, o, glyph);
        return image;
    }

    int painted_rows(const QImage& image, int x) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            n += image.pixel(x, y) != background.rgba();
        return n;
    }
};

TEST_F(ShapePaint, SolidSquareCoversExactlyItsPixels) {
    const QImage image = render(filled(solid(kRed), {rect(200, 200, 600, 600)}));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 10 && x < 30 && y >= 10 && y < 30;
            ASSERT_TRUE(near(image.pixel(x, y), inside ? Qt::red : Qt::white)) << x << "," << y;
        }
}

TEST_F(ShapePaint, HolesFollowTheFillRule) {
    // Both contours the same way round: even-odd leaves the hole, non-zero fills it.
    Shape same = filled(solid(kRed), {rect(0, 0, 800, 800), rect(200, 200, 600, 600)});
    EXPECT_TRUE(near(render(same).pixel(20, 20), Qt::white));
    EXPECT_TRUE(near(render(same).pixel(5, 5), Qt::red));
    same.winding = true;
    EXPECT_TRUE(near(render(same).pixel(20, 20), Qt::red));
    Shape opposite = filled(solid(kRed), {rect(0, 0, 800, 800), rect(200, 200, 600, 600, true)});
    opposite.winding = true;
    EXPECT_TRUE(near(render(opposite).pixel(20, 20), Qt::white));
}

TEST_F(ShapePaint, LinearGradientEndsAndSpreads) {
    FillStyle f = gradient(Kind::Linear, square_onto(200, 600), {{0, kRed}, {255, kBlue}});
    const QImage pad = render(filled(f, {rect(0, 0, 800, 800)}));
    EXPECT_TRUE(near(pad.pixel(2, 20), Qt::red));
    EXPECT_TRUE(near(pad.pixel(9, 20), Qt::red, 8));
    EXPECT_TRUE(near(pad.pixel(30, 20), Qt::blue, 8));
    EXPECT_TRUE(near(pad.pixel(38, 20), Qt::blue));
    EXPECT_TRUE(near(pad.pixel(20, 20), QColor(128, 0, 128), 20));

    // 4.5 px past the end: reflected back to 4.5 px before it, or repeated from the start.
    f.gradient.spread = swf::Gradient::Spread::Reflect;
    const QImage reflect = render(filled(f, {rect(0, 0, 800, 800)}));
    EXPECT_TRUE(near(reflect.pixel(34, 20), reflect.pixel(25, 20), 8));
    EXPECT_GT(qBlue(reflect.pixel(34, 20)), 150);
    f.gradient.spread = swf::Gradient::Spread::Repeat;
    const QImage repeat = render(filled(f, {rect(0, 0, 800, 800)}));
    EXPECT_TRUE(near(repeat.pixel(34, 20), repeat.pixel(14, 20), 8));
    EXPECT_GT(qRed(repeat.pixel(34, 20)), 150);
}

TEST_F(ShapePaint, GradientStopsKeepHardEdgesAndLinearLight) {
    // Two stops at one ratio: a sharp change in the middle.
    const QImage edge =
        render(filled(gradient(Kind::Linear, square_onto(0, 800),
                               {{0, kRed}, {128, kRed}, {128, kBlue}, {255, kBlue}}),
                      {rect(0, 0, 800, 800)}));
    EXPECT_TRUE(near(edge.pixel(18, 20), Qt::red, 4));
    EXPECT_TRUE(near(edge.pixel(21, 20), Qt::blue, 4));

    FillStyle mix = gradient(Kind::Linear, square_onto(0, 800), {{0, kRed}, {255, kGreen}});
    EXPECT_TRUE(
        near(render(filled(mix, {rect(0, 0, 800, 800)})).pixel(20, 20), QColor(128, 128, 0), 12));
    // Mixed in linear light, the middle is much brighter in both channels.
    mix.gradient.linear_rgb = true;
    EXPECT_TRUE(
        near(render(filled(mix, {rect(0, 0, 800, 800)})).pixel(20, 20), QColor(188, 188, 0), 12));
}

TEST_F(ShapePaint, RadialFocalAndDegenerateGradients) {
    FillStyle f = gradient(Kind::Radial, square_onto(200, 600, 200),
                           {{0, {255, 255, 255, 255}}, {255, {0, 0, 0, 255}}});
    const QImage radial = render(filled(f, {rect(0, 0, 800, 800)}));
    EXPECT_GT(qRed(radial.pixel(19, 19)), 235);
    EXPECT_LT(qRed(radial.pixel(29, 20)), 40);
    EXPECT_TRUE(near(radial.pixel(36, 20), Qt::black));
    EXPECT_TRUE(near(radial.pixel(20, 36), Qt::black));
    EXPECT_LT(qRed(radial.pixel(25, 20)), 160);
    // Ratio 0 moves half way out along x.
    f.kind = Kind::Focal;
    f.gradient.focal = 0.5;
    const QImage focal = render(filled(f, {rect(0, 0, 800, 800)}));
    EXPECT_GT(qRed(focal.pixel(25, 20)), 200);
    EXPECT_LT(qRed(focal.pixel(14, 20)), qRed(radial.pixel(14, 20)));

    // No stops paint nothing, one stop paints its colour.
    EXPECT_TRUE(near(
        render(filled(gradient(Kind::Linear, {}, {}), {rect(200, 200, 600, 600)})).pixel(20, 20),
        Qt::white));
    EXPECT_TRUE(
        near(render(filled(gradient(Kind::Radial, {}, {{200, kBlue}}), {rect(200, 200, 600, 600)}))
                 .pixel(20, 20),
             Qt::blue));
}

TEST_F(ShapePaint, BitmapPixelsLandWhereTheMatrixPutsThem) {
    bitmaps[3] = kFour;
    background = Qt::black;
    const QImage image = render(filled(bitmap(3, true, false), {rect(200, 200, 400, 400)}));
    EXPECT_TRUE(near(image.pixel(10, 10), Qt::red));
    EXPECT_TRUE(near(image.pixel(14, 14), Qt::red));
    EXPECT_TRUE(near(image.pixel(15, 14), Qt::green));
    EXPECT_TRUE(near(image.pixel(14, 15), Qt::blue));
    EXPECT_TRUE(near(image.pixel(19, 19), Qt::white));
    EXPECT_TRUE(near(image.pixel(20, 19), Qt::black));
    // A missing bitmap paints nothing.
    for (const uint16_t id : {uint16_t{4}, swf::kNoBitmap})
        EXPECT_TRUE(
            near(render(filled(bitmap(id, true, false), {rect(200, 200, 400, 400)})).pixel(12, 12),
                 Qt::black));
}

TEST_F(ShapePaint, RepeatingBitmapsTileAndClippedOnesExtendTheirEdges) {
    bitmaps[3] = kFour;
    const QImage tiled = render(filled(bitmap(3, true, false), {rect(0, 0, 600, 600)}));
    const QImage clipped = render(filled(bitmap(3, false, false), {rect(0, 0, 600, 600)}));
    // Bitmap columns -2, -1 and 2 along its first row, then row 2 along its first column.
    EXPECT_TRUE(near(tiled.pixel(2, 12), Qt::red));
    EXPECT_TRUE(near(tiled.pixel(7, 12), Qt::green));
    EXPECT_TRUE(near(tiled.pixel(22, 12), Qt::red));
    EXPECT_TRUE(near(tiled.pixel(12, 22), Qt::red));
    EXPECT_TRUE(near(clipped.pixel(2, 12), Qt::red));
    EXPECT_TRUE(near(clipped.pixel(7, 12), Qt::red));
    EXPECT_TRUE(near(clipped.pixel(22, 12), Qt::green));
    EXPECT_TRUE(near(clipped.pixel(12, 22), Qt::blue));
    EXPECT_TRUE(near(clipped.pixel(2, 2), Qt::red));
    EXPECT_TRUE(near(clipped.pixel(27, 27), Qt::white));

    // Smoothed, the last column blends into its own extension, not into the first column.
    const QImage smooth = render(filled(bitmap(3, false, true), {rect(0, 0, 600, 600)}));
    EXPECT_TRUE(near(smooth.pixel(19, 12), Qt::green, 6));
    EXPECT_TRUE(near(smooth.pixel(10, 12), Qt::red, 6));
    EXPECT_TRUE(near(smooth.pixel(15, 12), QColor(128, 128, 0), 30));
    PaintOptions low;
    low.smooth_bitmaps = false;
    EXPECT_TRUE(
        near(render(filled(bitmap(3, false, true), {rect(0, 0, 600, 600)}), {}, low).pixel(15, 12),
             Qt::green));
}

TEST_F(ShapePaint, ColourTransformsApplyToFillsAndBitmaps) {
    swf::ColorTransform half;
    half.mult[3] = 128;
    EXPECT_TRUE(near(render(filled(solid(kRed), {rect(200, 200, 600, 600)}), half).pixel(20, 20),
                     QColor(255, 128, 128), 2));

    bitmaps[3] = kFour;
    background = Qt::black;
    const Shape b = filled(bitmap(3, true, false), {rect(200, 200, 400, 400)});
    EXPECT_TRUE(near(render(b, half).pixel(12, 12), QColor(128, 0, 0), 2));
    swf::ColorTransform to_blue; // red out, blue full
    to_blue.mult[0] = 0;
    to_blue.add[2] = 255;
    EXPECT_TRUE(near(render(b, to_blue).pixel(12, 12), Qt::blue));
    EXPECT_TRUE(near(render(b, to_blue).pixel(17, 12), Qt::cyan));

    // A glyph colour replaces every fill, still through the transform.
    const Shape g =
        filled(gradient(Kind::Linear, {}, {{0, kRed}, {255, kBlue}}), {rect(200, 200, 600, 600)});
    EXPECT_TRUE(near(render(g, {}, {}, 0.05, kGreen).pixel(20, 20), Qt::green));
    EXPECT_TRUE(near(render(g, to_blue, {}, 0.05, kGreen).pixel(20, 20), Qt::cyan));
}

TEST_F(ShapePaint, StrokesCoverTheirBandWithTheirCapsAndJoins) {
    LineStyle l = red_line(120); // 6 px
    l.start_cap = l.end_cap = LineStyle::Cap::None;
    const swf::Contour line{{200, 400}, {line_to(600, 400)}};
    const QImage flat = render(stroked(l, {line}));
    EXPECT_EQ(painted_rows(flat, 20), 6);
    for (int y = 17; y < 23; ++y)
        EXPECT_TRUE(near(flat.pixel(20, y), Qt::red)) << y;
    EXPECT_TRUE(near(flat.pixel(9, 20), Qt::white));
    EXPECT_TRUE(near(flat.pixel(10, 20), Qt::red));
    EXPECT_TRUE(near(flat.pixel(30, 20), Qt::white));

    // Back at its start, a stroke joins there unless it is to stay open.
    l.join = LineStyle::Join::Miter;
    swf::Contour square = rect(200, 200, 600, 600);
    square.segments.push_back(line_to(200, 200));
    EXPECT_TRUE(near(render(stroked(l, {square})).pixel(8, 8), Qt::red));
    l.no_close = true;
    EXPECT_TRUE(near(render(stroked(l, {square})).pixel(8, 8), Qt::white));
    EXPECT_TRUE(near(render(stroked(l, {square})).pixel(31, 8), Qt::red));

    l.start_cap = l.end_cap = LineStyle::Cap::Round;
    const QImage round = render(stroked(l, {line}));
    EXPECT_TRUE(near(round.pixel(8, 20), Qt::red));
    EXPECT_TRUE(near(round.pixel(6, 20), Qt::white));

    // Painted with a gradient along it.
    l.fill = gradient(Kind::Linear, square_onto(200, 600), {{0, kRed}, {255, kBlue}});
    const QImage shaded = render(stroked(l, {line}));
    EXPECT_GT(qRed(shaded.pixel(11, 20)), 200);
    EXPECT_GT(qBlue(shaded.pixel(28, 20)), 200);
}

TEST_F(ShapePaint, ThinAndNonScalingStrokesKeepTheirPixelWidth) {
    // On a pixel's middle row: a 1 px line covers it fully, a thinner one only partly.
    for (const double width : {0.0, 10.0}) {
        const QImage image = render(stroked(red_line(width), {{{200, 410}, {line_to(600, 410)}}}));
        EXPECT_TRUE(near(image.pixel(20, 20), Qt::red)) << width;
        EXPECT_EQ(painted_rows(image, 20), 1) << width;
    }
    // At 1/100 px a twip, 100 twips is 1 px, unless the width is kept at its 5 px.
    PaintOptions aliased;
    aliased.antialias = false;
    LineStyle l = red_line(100);
    const swf::Contour line{{1000, 2050}, {line_to(3000, 2050)}};
    EXPECT_EQ(painted_rows(render(stroked(l, {line}), {}, aliased, 0.01), 20), 1);
    l.no_vscale = true;
    EXPECT_EQ(painted_rows(render(stroked(l, {line}), {}, aliased, 0.01), 20), 5);
}

TEST_F(ShapePaint, AntialiasingOffLeavesOnlyPureColours) {
    const Shape triangle = filled(solid(kRed), {{{0, 0}, {line_to(800, 0), line_to(0, 700)}}});
    const auto mixed = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += !near(image.pixel(x, y), Qt::red) && !near(image.pixel(x, y), Qt::white);
        return n;
    };
    PaintOptions aliased;
    aliased.antialias = false;
    EXPECT_EQ(mixed(render(triangle, {}, aliased)), 0);
    EXPECT_GT(mixed(render(triangle)), 10);
}

TEST_F(ShapePaint, CachesPathsByKeyWithinItsBound) {
    ShapePainter small(ShapePainter::Limits{.max_shapes = 2, .max_elements = 1000});
    const Shape left = filled(solid(kRed), {rect(0, 0, 200, 800)});
    const Shape right = filled(solid(kRed), {rect(600, 0, 800, 800)});
    const auto red_left = [&](uint64_t key, const Shape& s) {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setWorldTransform(QTransform::fromScale(0.05, 0.05));
        small.paint(p, s, key, {}, images, {});
        return near(image.pixel(5, 5), Qt::red);
    };
    EXPECT_FALSE(red_left(0, right));
    EXPECT_EQ(small.cached_shapes(), 0u);
    EXPECT_TRUE(red_left(1, left));
    EXPECT_TRUE(red_left(1, right)); // the key's paths, not the shape's
    EXPECT_TRUE(red_left(2, left));
    EXPECT_TRUE(red_left(1, right)); // 1 used last, so 2 goes next
    EXPECT_TRUE(red_left(3, left));
    EXPECT_EQ(small.cached_shapes(), 2u);
    EXPECT_TRUE(red_left(1, right));
    EXPECT_FALSE(red_left(2, right));
    small.clear();
    EXPECT_FALSE(red_left(1, right));
}

TEST_F(ShapePaint, CoverageIsTheUnionOfTheFills) {
    Shape s;
    s.fill_styles = {solid(kRed), solid(kBlue)};
    s.line_styles = {LineStyle{}};
    s.layers = {{false, 0, {{rect(0, 0, 400, 400), rect(100, 100, 200, 200)}}},
                {false, 1, {{rect(300, 300, 600, 600)}}},
                {true, 0, {{{{700, 700}, {line_to(800, 800)}}}}}};
    for (const uint64_t key : {0, 5}) {
        const QPainterPath area = painter.coverage(s, key);
        EXPECT_TRUE(area.contains(QPointF(50, 50)));
        EXPECT_FALSE(area.contains(QPointF(150, 150))); // the hole
        EXPECT_TRUE(area.contains(QPointF(350, 350)));  // both fills
        EXPECT_TRUE(area.contains(QPointF(500, 500)));
        EXPECT_FALSE(area.contains(QPointF(750, 750))); // only a stroke
    }
}

class ImageCacheDecoding : public ::testing::Test, protected Bitmaps {
  protected:
    static QRgb raw(const QImage* image, int x, int y) {
        return reinterpret_cast<const QRgb*>(image->constScanLine(y))[x];
    }
};

TEST_F(ImageCacheDecoding, LosslessPngAndJpegComePremultiplied) {
    bitmaps[1] = lossless(2, 1, {0x80FF0000, 0xFF00FF00});
    const QImage* lossless = images.image(1, {});
    ASSERT_NE(lossless, nullptr);
    EXPECT_EQ(lossless->format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(raw(lossless, 0, 0), 0x80800000u); // colour no higher than alpha
    EXPECT_EQ(raw(lossless, 1, 0), 0xFF00FF00u);

    QImage png(3, 2, QImage::Format_ARGB32);
    png.fill(Qt::blue);
    png.setPixel(1, 1, qRgba(255, 0, 0, 128));
    bitmaps[2] = encoded(png, "PNG");
    const QImage* p = images.image(2, {});
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->size(), QSize(3, 2));
    EXPECT_EQ(raw(p, 0, 0), 0xFF0000FFu);
    EXPECT_TRUE(near(raw(p, 1, 1), QColor(128, 0, 0, 128), 1));

    QImage jpeg(16, 16, QImage::Format_RGB32);
    jpeg.fill(QColor(200, 40, 40));
    bitmaps[3] = encoded(jpeg, "JPEG", 95);
    const QImage* j = images.image(3, {});
    ASSERT_NE(j, nullptr);
    EXPECT_TRUE(near(raw(j, 8, 8), QColor(200, 40, 40), 6));
    bitmaps[4] = bitmaps[3];
    bitmaps[4].alpha.assign(16 * 16, 128);
    const QImage* a = images.image(4, {});
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(near(raw(a, 8, 8), QColor(100, 20, 20, 128), 4));
}

TEST_F(ImageCacheDecoding, RefusesBadDataOnceAndAsksForMissingOnesAgain) {
    bitmaps[1] = lossless(8, 8, {});
    bitmaps[1].encoded = {0xFF, 0xD8, 0xFF, 0xE0, 0x12};
    EXPECT_EQ(images.image(1, {}), nullptr);
    const int asked = lookups;
    EXPECT_EQ(images.image(1, {}), nullptr);
    EXPECT_EQ(lookups, asked);

    QImage png(4, 4, QImage::Format_ARGB32);
    png.fill(Qt::red);
    bitmaps[2] = encoded(png, "PNG");
    bitmaps[2].width = 2; // smaller than the image really is
    bitmaps[3] = encoded(png, "PNG");
    bitmaps[3].encoded[0] = 'x'; // no known signature
    bitmaps[4] = {};
    bitmaps[5] = lossless(2, 2, {0xFF000000}); // too few pixels
    for (const uint16_t id : {2, 3, 4, 5, int{swf::kNoBitmap}})
        EXPECT_EQ(images.image(id, {}), nullptr) << id;

    EXPECT_EQ(images.image(9, {}), nullptr);
    bitmaps[9] = kFour; // defined later
    EXPECT_NE(images.image(9, {}), nullptr);
}

TEST_F(ImageCacheDecoding, DerivedCopiesWorkOnStraightColourAndStayBounded) {
    ImageCache small(
        [this](uint16_t id) { return &bitmaps.at(id); },
        {.max_decoded_bytes = 1 << 20, .max_derived_bytes = 3000, .max_padded_pixels = 16});
    bitmaps[1] = lossless(2, 1, {0x80800000, 0xFF00FF00});
    swf::ColorTransform opaque_blue;
    opaque_blue.mult[3] = 512;
    opaque_blue.add[2] = 255;
    const QImage* t = small.image(1, opaque_blue);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(raw(t, 0, 0), 0xFFFF00FFu);
    EXPECT_EQ(raw(t, 1, 0), 0xFF00FFFFu);
    EXPECT_EQ(small.image(1, opaque_blue), t);
    EXPECT_EQ(raw(small.image(1, {}), 0, 0), 0x80800000u);
    for (int i = 0; i < 10; ++i) {
        swf::ColorTransform cx;
        cx.add[0] = i + 1;
        ASSERT_NE(small.image(1, cx), nullptr);
        EXPECT_LE(small.derived_bytes(), 3000u);
    }

    const QImage* grown = small.padded(1, {}, QMargins(2, 0, 1, 1));
    ASSERT_NE(grown, nullptr);
    ASSERT_EQ(grown->size(), QSize(5, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(raw(grown, x, y), x < 3 ? 0x80800000u : 0xFF00FF00u) << x << "," << y;
    EXPECT_EQ(small.padded(1, {}, QMargins(4, 4, 4, 4)), nullptr); // over the pixel bound
}

} // namespace
} // namespace zefa
