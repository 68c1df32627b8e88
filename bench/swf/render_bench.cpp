// Drawing a busy movie: a 550 x 400 stage with 200 shapes (curved, some stroked), 10 gradient
// fills, 2 bitmap fills, one shape turning and one sprite that moves a shape, at 1x and scaled
// to a 1920 x 1200 screen, whole frames and only what changed; and one tick of its player.
// `render_bench --write FILE` writes the movie for measuring the whole player on it.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <random>

#include "asset_writer.h"
#include "shape_writer.h"
#include "swf/swf_renderer.h"
#include "swf/swf_stage.h"
#include "swf_writer.h"
#include "timeline_writer.h"

namespace {

using namespace zefa;
using namespace zefa::test;

swf::Rgba colour(std::mt19937& rng) {
    return {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
            255};
}

std::string busy_movie() {
    std::mt19937 rng(16);
    SwfWriter w;
    w.stage(0, 550 * 20, 0, 400 * 20).rate(24 << 8).background(0xFFFFFF);
    std::vector<swf::Rgba> pixels(64 * 64);
    for (swf::Rgba& p : pixels)
        p = colour(rng);
    w.tag(kDefineBitsLossless2, define_bits_lossless(500, 64, 64, pixels, true));
    w.tag(kDefineBitsLossless, define_bits_lossless(501, 64, 64, pixels, false));
    for (uint16_t id = 1; id <= 200; ++id) {
        ShapeBuilder s(id);
        uint32_t fill;
        if (id <= 10) {
            const double k = (40 + rng() % 60) / 32768.0 * 20;
            fill = id % 2
                       ? s.fill_linear({k, 0, 0, k, 0, 0}, {{0, colour(rng)}, {255, colour(rng)}})
                       : s.fill_radial({k, 0, 0, k, 0, 0},
                                       {{0, colour(rng)}, {128, colour(rng)}, {255, colour(rng)}});
        } else if (id <= 12) {
            fill = s.fill_bitmap(static_cast<uint16_t>(500 + id - 11), {20, 0, 0, 20, 0, 0}, true,
                                 true);
        } else {
            fill = s.fill_solid(colour(rng));
        }
        const uint32_t line = id % 3 == 0 ? s.line(40, colour(rng)) : 0;
        s.set_fills(0, fill).set_line(line).move_to(-800, -800);
        s.curve_to(0, -1400, 800, -800).line_to(1000, 0).curve_to(1200, 900, 800, 800);
        s.line_to(-800, 800).curve_to(-1300, 0, -800, -800);
        w.tag(kDefineShape3, s.bytes(kDefineShape3));
    }
    std::vector<std::pair<uint16_t, std::string>> frames;
    for (int f = 0; f < 24; ++f) {
        PlaceFields p =
            PlaceFields(1).with_matrix(swf::Matrix{1, 0, 0, 1, f * 200.0, 0}).moving(f > 0);
        if (f == 0) p.character = 1;
        frames.emplace_back(kPlaceObject2, place2(p));
        frames.emplace_back(kShowFrame, "");
    }
    w.tag(kDefineSprite, sprite(300, frames));
    for (uint16_t d = 1; d <= 200; ++d) {
        const double s = 0.5 + (rng() % 100) / 100.0;
        const swf::Matrix m{s, 0, 0, s, double(rng() % 11000), double(rng() % 8000)};
        w.tag(kPlaceObject2, place2(PlaceFields(d).with_character(d).with_matrix(m)));
    }
    w.tag(kPlaceObject2, place2(PlaceFields(201).with_character(300).with_matrix(
                             swf::Matrix{1, 0, 0, 1, 2000, 4000})));
    for (int f = 0; f < 240; ++f) {
        // The movie's own frames rotate one shape, so every frame changes something.
        const double a = f * 0.05;
        w.tag(kPlaceObject2,
              place2(PlaceFields(100)
                         .with_matrix(swf::Matrix{std::cos(a), std::sin(a), -std::sin(a),
                                                  std::cos(a), 5500, 4000})
                         .moving()));
        if (f == 239) w.tag(kDoAction, do_action({action_goto(0), action_play()})); // a banner
        w.show_frames(1);
    }
    return w.end().cws();
}

struct Loaded {
    swf::Movie movie;
    swf::MovieDef def;
    std::unique_ptr<swf::MoviePlayer> player;
    std::unique_ptr<SwfRenderer> renderer;
};

Loaded& loaded() {
    static Loaded* l = [] {
        auto* out = new Loaded;
        const std::string bytes = busy_movie();
        out->movie = swf::read_movie(as_bytes(bytes)).movie;
        out->def = swf::MovieDef::build(out->movie);
        out->player = std::make_unique<swf::MoviePlayer>(out->def, nullptr);
        out->renderer = std::make_unique<SwfRenderer>(out->def);
        out->player->play();
        return out;
    }();
    return *l;
}

// A tick, then the frame drawn as the stage draws it: the whole picture (`whole`), or only
// where something changed since the last frame.
void render(benchmark::State& state, int width, int height, bool whole) {
    Loaded& l = loaded();
    StageScene scene;
    scene.loaded = true;
    scene.width = 550;
    scene.height = 400;
    const QTransform t = SwfStage::twips_to_view(scene, width, height);
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    double pixels = 0;
    for (auto _ : state) {
        l.player->tick();
        const QRect dirty =
            whole ? image.rect() : l.renderer->changes(l.player->root(), t, image.rect());
        QPainter p(&image);
        p.setClipRect(dirty);
        p.fillRect(dirty, Qt::white);
        l.renderer->render(p, l.player->root(), t, PaintOptions{}, dirty);
        pixels += double(dirty.width()) * dirty.height();
    }
    state.counters["objects"] = static_cast<double>(l.player->objects());
    state.counters["painted_share"] = pixels / (double(state.iterations()) * width * height);
}

void BM_Render1x(benchmark::State& state) {
    render(state, 550, 400, true);
}
void BM_Render1xChanged(benchmark::State& state) {
    render(state, 550, 400, false);
}
void BM_RenderFullScreen(benchmark::State& state) {
    render(state, 1920, 1200, true);
}
void BM_RenderFullScreenChanged(benchmark::State& state) {
    render(state, 1920, 1200, false);
}
void BM_Tick(benchmark::State& state) {
    Loaded& l = loaded();
    for (auto _ : state)
        l.player->tick();
}

} // namespace

BENCHMARK(BM_Render1x)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Render1xChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderFullScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderFullScreenChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        write_file(argv[2], busy_movie());
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
