// VELMO costs the player feels: PLY until prerolled, the per-tick poll, building a shuffle order.
#include "velmo.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

std::string media(const char* name) {
    return std::string(VELMO_BENCH_MEDIA_DIR) + "/" + name;
}

// PLY returns once the graph has prerolled (or refused the file); the teardown is not timed.
void BM_PlyUntilPrerolled(benchmark::State& state, const char* file, int32_t expected) {
    const std::string path = media(file);
    if (PLY(0, path.c_str()) != expected) state.SkipWithError("unexpected PLY result");
    DS_STOP();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PLY(0, path.c_str()));
        state.PauseTiming();
        DS_STOP();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_PlyUntilPrerolled, avi_mpeg4_mp3, "clip.avi", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlyUntilPrerolled, mpg_mpeg2_mp2, "clip.mpg", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlyUntilPrerolled, mov_h264_mp3, "clip.mov", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlyUntilPrerolled, mp4_h264_aac, "clip.mp4", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlyUntilPrerolled, ogg_theora_vorbis, "clip.ogg", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlyUntilPrerolled, avi_640x480, "clip640.avi", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlyUntilPrerolled, wav, "clip.wav", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlyUntilPrerolled, mp3, "clip.mp3", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlyUntilPrerolled, garbage_rejected, "garbage.avi", VELMO_E_UNSUPPORTED)
    ->Unit(benchmark::kMillisecond);

// What the main loop does on every 50 ms tick while a medium plays.
void BM_EndAndPosWhilePlaying(benchmark::State& state) {
    if (PLY(0, media("far_keys.mp4").c_str()) != 1) state.SkipWithError("PLY failed");
    DS_RUN();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DS_END());
        benchmark::DoNotOptimize(DS_POS());
    }
    DS_STOP();
}
BENCHMARK(BM_EndAndPosWhilePlaying)->MinTime(2.0);

void BM_IniRandMillion(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(DS_INI_RAND(1'000'000, 0));
    DS_RAND_FREE();
}
BENCHMARK(BM_IniRandMillion)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    unsetenv("DISPLAY"); // headless: video into a fakesink, as in the tests
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
