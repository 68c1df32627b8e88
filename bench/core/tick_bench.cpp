// The cost of one main-loop tick of the core (fakes for the desktop and the engines), in the
// windowed view with the library engine, in full screen with the volume gesture, and with a
// volume key held.

#include <benchmark/benchmark.h>

#include "harness.h"

using namespace zefa;

static void BM_TickWindowed(benchmark::State& state) {
    test::Harness h;
    h.start();
    h.p().sh.engine_kind = kEngineLibrary;
    for (auto _ : state)
        h.p().Timer1Timer();
}
BENCHMARK(BM_TickWindowed);

static void BM_TickFullScreen(benchmark::State& state) {
    test::Harness h;
    h.start();
    h.p().sh.engine_kind = kEngineLibrary;
    h.p().sh.view_mode = kViewFull;
    h.p().sh.info_kind = 7;
    for (auto _ : state) {
        h.p().sh.info_countdown = 5;
        h.p().Timer1Timer();
    }
}
BENCHMARK(BM_TickFullScreen);

// A held volume key: the keyboard poll steps the volume and forces an executor pass with the
// info box on every tick.
static void BM_TickVolumeKeyHeld(benchmark::State& state) {
    test::Harness h;
    h.start();
    h.p().sh.engine_kind = kEngineLibrary;
    h.p().sh.view_mode = kViewFull;
    h.input.down = {vk::M};
    for (auto _ : state) {
        h.p().cfg.Volume = 50;
        h.p().Timer1Timer();
    }
}
BENCHMARK(BM_TickVolumeKeyHeld);

BENCHMARK_MAIN();
