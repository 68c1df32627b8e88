// The control drawing movies written here, pixel by pixel on its stage under Qt's offscreen
// platform: placement under every Scale mode, fills, masks, colour transforms, morphs,
// sprites, text and buttons, transparency and quality.

#include <QImage>
#include <gtest/gtest.h>

#include "asset_writer.h"
#include "shape_writer.h"
#include "swf/swf_control.h"
#include "swf/swf_renderer.h"
#include "swf_writer.h"
#include "timeline_writer.h"

namespace zefa {
namespace {

using namespace std::chrono_literals;
using namespace test;
using swf::Matrix;
using swf::Rgba;

constexpr Rgba kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kGreen{0, 255, 0, 255};

Matrix at(double x_px, double y_px) {
    return Matrix{1, 0, 0, 1, x_px * 20, y_px * 20};
}

// A square of `px` pixels from the origin.
std::string square(uint16_t id, int px, Rgba c) {
    return ShapeBuilder::rect(id, 0, 0, px * 20, px * 20, c).bytes(kDefineShape3);
}

// A 100 x 100 pixel white stage.
SwfWriter stage() {
    SwfWriter w;
    w.stage(0, 2000, 0, 2000).background(0xFFFFFF).rate(10 << 8);
    return w;
}

class Render : public ::testing::Test {
  protected:
    std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
    SwfControl flash{[this] { return now; }};

    void load(const SwfWriter& w, const char* name) {
        const std::string path = ::testing::TempDir() + name;
        write_file(path, w.fws());
        flash.set_movie(path);
        ASSERT_TRUE(flash.load_error().empty()) << flash.load_error();
        flash.play();
    }

    QImage painted(int w = 100, int h = 100) {
        flash.widget()->resize(w, h);
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::magenta); // never painted by the stage
        flash.widget()->render(&image);
        return image;
    }
};

// Pixels of `image` equal to `c`, inside `r` and outside it.
std::pair<int, int> count(const QImage& image, QRgb c, QRect r) {
    int in = 0, out = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == c) (r.contains(x, y) ? in : out)++;
    return {in, out};
}

TEST_F(Render, ASquareLandsWhereItsMatrixSaysInEveryScaleMode) {
    SwfWriter w = stage();
    w.tag(kDefineShape3, square(1, 20, kRed));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(1).with_matrix(at(40, 20))))
        .show_frames(1);
    load(w.end(), "render_scale.swf");
    flash.set_quality2("Low"); // exact edges
    const struct {
        const char* scale;
        QRect red;
    } cases[] = {
        {"ShowAll", QRect(90, 20, 20, 20)},  // 1:1, centred across
        {"NoBorder", QRect(80, 0, 40, 30)},  // 2:1, 50 pixels cut at the top
        {"ExactFit", QRect(80, 20, 40, 20)}, // 2 across, 1 down
        {"NoScale", QRect(90, 20, 20, 20)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        flash.set_scale(c.scale);
        const auto [in, out] = count(painted(200, 100), qRgb(255, 0, 0), c.red);
        EXPECT_EQ(in, c.red.width() * c.red.height());
        EXPECT_EQ(out, 0);
    }
}

TEST_F(Render, HolesGradientsAndBitmapFills) {
    SwfWriter w = stage();
    ShapeBuilder ring(1);
    const uint32_t red = ring.fill_solid(kRed);
    ring.set_fills(0, red).move_to(0, 0).line_to(600, 0).line_to(600, 600).line_to(0, 600).line_to(
        0, 0);
    ring.move_to(200, 200).line_to(200, 400).line_to(400, 400).line_to(400, 200).line_to(200, 200);
    w.tag(kDefineShape3, ring.bytes(kDefineShape3));
    // Red to blue across 40 pixels: the gradient square scaled to 800 twips.
    ShapeBuilder grad(2);
    const double k = 800.0 / 32768.0;
    const uint32_t g = grad.fill_linear(Matrix{k, 0, 0, k, 400, 0}, {{0, kRed}, {255, kBlue}});
    grad.set_fills(0, g).move_to(0, 0).line_to(800, 0).line_to(800, 200).line_to(0, 200).line_to(0,
                                                                                                 0);
    w.tag(kDefineShape3, grad.bytes(kDefineShape3));
    // A 2 x 2 bitmap at 10 pixels a pixel.
    w.tag(kDefineBitsLossless2,
          define_bits_lossless(9, 2, 2, {kRed, kGreen, kBlue, Rgba{0, 0, 0, 255}}, true));
    ShapeBuilder pic(3);
    const uint32_t b = pic.fill_bitmap(9, Matrix{200, 0, 0, 200, 0, 0}, false, false);
    pic.set_fills(0, b).move_to(0, 0).line_to(400, 0).line_to(400, 400).line_to(0, 400).line_to(0,
                                                                                                0);
    w.tag(kDefineShape3, pic.bytes(kDefineShape3));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(1).with_matrix(at(0, 0))))
        .tag(kPlaceObject2, place2(PlaceFields(2).with_character(2).with_matrix(at(50, 0))))
        .tag(kPlaceObject2, place2(PlaceFields(3).with_character(3).with_matrix(at(50, 50))))
        .show_frames(1);
    load(w.end(), "render_fills.swf");
    const QImage image = painted();
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(15, 15), qRgb(255, 255, 255)) << "the hole";
    EXPECT_EQ(image.pixel(25, 25), qRgb(255, 0, 0));
    const QColor left = image.pixelColor(51, 5), right = image.pixelColor(88, 5);
    EXPECT_GT(left.red(), 230);
    EXPECT_LT(left.blue(), 25);
    EXPECT_GT(right.blue(), 230);
    EXPECT_LT(right.red(), 25);
    EXPECT_EQ(image.pixel(55, 55), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(65, 55), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(55, 65), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(65, 65), qRgb(0, 0, 0));
}

TEST_F(Render, ColourTransformsAndClipMasks) {
    SwfWriter w = stage();
    w.tag(kDefineShape3, square(1, 40, kBlue)).tag(kDefineShape3, square(2, 20, kGreen));
    w.tag(kDefineShape3, square(3, 20, kRed));
    swf::ColorTransform half;
    half.mult[3] = 128;
    // Depth 1 masks depths 2 and 3 to its 20 x 20 pixels; depth 4 is not masked.
    w.tag(kPlaceObject2,
          place2(PlaceFields(1).with_character(2).with_matrix(at(0, 0)).with_clip_depth(3)))
        .tag(kPlaceObject2, place2(PlaceFields(2).with_character(1).with_matrix(at(0, 0))))
        .tag(kPlaceObject2, place2(PlaceFields(4).with_character(1).with_matrix(at(50, 0))))
        .tag(kPlaceObject2,
             place2(PlaceFields(5).with_character(3).with_matrix(at(0, 60)).with_cxform(half)))
        .show_frames(1);
    load(w.end(), "render_mask.swf");
    const QImage image = painted();
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 255)) << "inside the mask";
    EXPECT_EQ(image.pixel(30, 30), qRgb(255, 255, 255)) << "cut by the mask";
    EXPECT_EQ(image.pixel(85, 30), qRgb(0, 0, 255)) << "above the mask's depths";
    EXPECT_NE(image.pixel(10, 10), qRgb(0, 255, 0)) << "the mask itself is not drawn";
    const QColor blended = image.pixelColor(10, 70);
    EXPECT_EQ(blended.red(), 255);
    EXPECT_NEAR(blended.green(), 127, 3) << "half red over white";
}

TEST_F(Render, AMorphFollowsItsRatio) {
    SwfWriter w = stage();
    MorphBuilder m(1);
    const uint32_t f = m.fill_solid(kRed, kBlue);
    m.start()
        .set_fills(0, f)
        .move_to(0, 0)
        .line_to(400, 0)
        .line_to(400, 400)
        .line_to(0, 400)
        .line_to(0, 0);
    m.end().move_to(1200, 0).line_to(1600, 0).line_to(1600, 400).line_to(1200, 400).line_to(1200,
                                                                                            0);
    w.tag(kDefineMorphShape, m.bytes(kDefineMorphShape));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(1).with_ratio(0))).show_frames(1);
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_ratio(32768).moving())).show_frames(1);
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_ratio(65535).moving())).show_frames(1);
    load(w.end(), "render_morph.swf");
    flash.goto_frame(0);
    EXPECT_EQ(painted().pixel(10, 10), qRgb(255, 0, 0));
    flash.goto_frame(1);
    QImage image = painted();
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 255, 255));
    const QColor mid = image.pixelColor(40, 10);
    EXPECT_NEAR(mid.red(), 127, 3);
    EXPECT_NEAR(mid.blue(), 128, 3);
    flash.goto_frame(2);
    image = painted();
    EXPECT_EQ(image.pixel(70, 10), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(50, 10), qRgb(255, 255, 255));
}

TEST_F(Render, ASpriteMovesOnItsOwnWhileTheMovieStops) {
    SwfWriter w = stage();
    w.tag(kDefineShape3, square(1, 10, kRed));
    w.tag(
        kDefineSprite,
        sprite(2, {{kPlaceObject2, place2(PlaceFields(1).with_character(1).with_matrix(at(0, 0)))},
                   {kShowFrame, ""},
                   {kPlaceObject2, place2(PlaceFields(1).with_matrix(at(30, 0)).moving())},
                   {kShowFrame, ""},
                   {kPlaceObject2, place2(PlaceFields(1).with_matrix(at(60, 0)).moving())},
                   {kShowFrame, ""}}));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(2).with_matrix(at(0, 50))))
        .tag(kDoAction, do_action({action_stop()}))
        .show_frames(1);
    w.show_frames(1);
    load(w.end(), "render_sprite.swf");
    std::vector<int> red_at;
    for (int i = 0; i < 4; ++i) {
        const QImage image = painted();
        int x = -1;
        for (int px : {5, 35, 65})
            if (image.pixel(px, 55) == qRgb(255, 0, 0)) x = px;
        red_at.push_back(x);
        now += 100ms;
    }
    EXPECT_EQ(red_at, (std::vector<int>{5, 35, 65, 5}));
    EXPECT_EQ(flash.frame_num(), 0) << "the movie itself stopped on its first frame";
}

TEST_F(Render, TextGlyphsAndButtonsAreDrawn) {
    SwfWriter w = stage();
    FontFields font;
    font.id = 1;
    font.glyphs = {glyph_square(0, -1024, 1024)}; // a full em above the baseline
    font.codes = {'A'};
    w.tag(48, define_font2(font));
    // Two glyphs 20 pixels high, 30 pixels apart, baseline at 20 pixels.
    w.tag(11, define_text(2, {0, 2000, 0, 2000}, Matrix{},
                          {{.font = 1,
                            .height = 400,
                            .color = kBlue,
                            .x = 0,
                            .y = 400,
                            .glyphs = {{0, 600}, {0, 600}}}}));
    w.tag(kDefineShape3, square(3, 10, kRed));
    w.tag(7, define_button(4, {{.states = kButtonUp, .character = 3, .matrix = at(0, 0)},
                               {.states = kButtonOver, .character = 3, .matrix = at(20, 0)}}));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(2).with_matrix(at(0, 0))))
        .tag(kPlaceObject2, place2(PlaceFields(2).with_character(4).with_matrix(at(0, 60))))
        .show_frames(1);
    load(w.end(), "render_text.swf");
    for (const std::string& r : flash.definition()->reasons())
        ADD_FAILURE() << r;
    const QImage image = painted();
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(25, 10), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(40, 10), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(5, 65), qRgb(255, 0, 0)) << "the up state";
    EXPECT_EQ(image.pixel(25, 65), qRgb(255, 255, 255)) << "not the over state";
}

TEST_F(Render, TransparentModeAndLowQuality) {
    SwfWriter w = stage();
    ShapeBuilder tri(1);
    const uint32_t f = tri.fill_solid(kRed);
    tri.set_fills(0, f).move_to(0, 0).line_to(2000, 0).line_to(0, 1000).line_to(0, 0);
    w.tag(kDefineShape3, tri.bytes(kDefineShape3));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(1))).show_frames(1);
    load(w.end(), "render_quality.swf");
    const auto mixed = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) != qRgb(255, 0, 0) &&
                     image.pixel(x, y) != qRgb(255, 255, 255);
        return n;
    };
    EXPECT_GT(mixed(painted()), 50) << "antialiased edge at High";
    flash.set_quality2("Low");
    EXPECT_EQ(mixed(painted()), 0);
    flash.set_wmode("Transparent");
    EXPECT_EQ(painted().pixel(90, 90), qRgb(0, 0, 0)) << "no background colour";
    EXPECT_EQ(painted().pixel(5, 5), qRgb(255, 0, 0));
}

// Painting only the area `changes` names, frame after frame, ends with the same picture as
// painting everything: moving, turning, fading, morphing, appearing and going objects, and a
// mask that moves.
TEST(RenderChanges, RepaintingOnlyWhatChangedGivesTheWholePicture) {
    SwfWriter w = stage();
    w.tag(kDefineShape3, square(1, 10, kRed)).tag(kDefineShape3, square(2, 30, kBlue));
    MorphBuilder m(3);
    const uint32_t f = m.fill_solid(kGreen, kBlue);
    m.start().set_fills(0, f).move_to(0, 0).line_to(200, 0).line_to(0, 200).line_to(0, 0);
    m.end().move_to(0, 0).line_to(600, 0).line_to(0, 600).line_to(0, 0);
    w.tag(kDefineMorphShape, m.bytes(kDefineMorphShape));
    w.tag(kDefineSprite,
          sprite(4, {{kPlaceObject2, place2(PlaceFields(1).with_character(1))},
                     {kShowFrame, ""},
                     {kPlaceObject2, place2(PlaceFields(1).with_matrix(at(15, 0)).moving())},
                     {kShowFrame, ""}}));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(2).with_matrix(at(60, 60))))
        .tag(kPlaceObject2, place2(PlaceFields(2).with_character(4).with_matrix(at(5, 5))))
        .tag(kPlaceObject2, place2(PlaceFields(3).with_character(3).with_ratio(0)))
        .tag(kPlaceObject2,
             place2(PlaceFields(5).with_character(2).with_matrix(at(0, 40)).with_clip_depth(6)))
        .tag(kPlaceObject2, place2(PlaceFields(6).with_character(2).with_matrix(at(10, 50))))
        .show_frames(1);
    for (int i = 1; i < 8; ++i) {
        swf::ColorTransform fade;
        fade.mult[3] = 256 - 30 * i;
        const double a = i * 0.3;
        w.tag(kPlaceObject2, place2(PlaceFields(1)
                                        .with_matrix(Matrix{std::cos(a), std::sin(a), -std::sin(a),
                                                            std::cos(a), 1200.0 + 40 * i, 1200})
                                        .with_cxform(fade)
                                        .moving()))
            .tag(kPlaceObject2, place2(PlaceFields(3).with_ratio(uint16_t(9000 * i)).moving()))
            .tag(kPlaceObject2, place2(PlaceFields(5).with_matrix(at(4 * i, 40)).moving()));
        if (i == 3) w.tag(kRemoveObject2, remove2(2));
        if (i == 5)
            w.tag(kPlaceObject2, place2(PlaceFields(7).with_character(1).with_matrix(at(80, 5))));
        w.show_frames(1);
    }
    const std::string bytes = w.end().fws();
    swf::ReadResult r = swf::read_movie(as_bytes(bytes));
    ASSERT_TRUE(r.ok());
    const swf::MovieDef def = swf::MovieDef::build(r.movie);
    swf::MoviePlayer player(def, nullptr);
    SwfRenderer incremental(def), whole(def);
    StageScene scene;
    scene.width = scene.height = 100;
    const QTransform t = SwfStage::twips_to_view(scene, 100, 100);
    const auto paint = [&](SwfRenderer& with, QImage& image, const QRect& area) {
        QPainter p(&image);
        p.setClipRect(area);
        p.fillRect(area, Qt::white);
        with.render(p, player.root(), t, PaintOptions{}, area);
    };
    QImage kept(100, 100, QImage::Format_ARGB32_Premultiplied);
    const QRect all = kept.rect();
    EXPECT_EQ(incremental.changes(player.root(), t, all), all) << "the first picture is new";
    paint(incremental, kept, all);
    EXPECT_TRUE(incremental.changes(player.root(), t, all).isEmpty()) << "nothing moved";
    player.play();
    int partial = 0;
    for (int i = 1; i < 8; ++i) {
        player.tick();
        const QRect dirty = incremental.changes(player.root(), t, all);
        partial += dirty != all;
        paint(incremental, kept, dirty);
        QImage fresh(100, 100, QImage::Format_ARGB32_Premultiplied);
        paint(whole, fresh, all);
        ASSERT_EQ(kept, fresh) << "frame " << i << ", repainted " << dirty.x() << "," << dirty.y()
                               << " " << dirty.width() << "x" << dirty.height();
    }
    EXPECT_EQ(partial, 7) << "no frame needed the whole stage";
}

} // namespace
} // namespace zefa
