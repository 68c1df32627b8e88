// The layout pass with the line mask: windowed, and full screen on a 1920 x 1080 screen with
// scan lines and masks (one region rectangle per row).

#include <benchmark/benchmark.h>

#include "harness.h"

using namespace zefa;

static void layout(benchmark::State& state, int32_t view) {
    test::Harness h;
    h.start();
    h.screen.size = {1920, 1080};
    Player& p = h.p();
    p.sh.engine_kind = kEngineLibrary;
    p.sh.video_size = {720, 480};
    p.cfg.FullZoom = 6;
    p.cfg.ScanLine = 1;
    p.cfg.MaskMode = 1;
    for (auto _ : state) {
        p.Vewset(view);
        benchmark::DoNotOptimize(h.win.child_regions[Child::Panel1].rects.data());
    }
}

static void BM_LayoutWindowed(benchmark::State& state) {
    layout(state, kViewReturn);
}
BENCHMARK(BM_LayoutWindowed);

static void BM_LayoutFullScreen(benchmark::State& state) {
    layout(state, kViewFull);
}
BENCHMARK(BM_LayoutFullScreen);

BENCHMARK_MAIN();
