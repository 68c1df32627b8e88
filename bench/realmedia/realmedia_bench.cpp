// What the player waits for from the RealMedia control: a clip from set_source and play to
// OnPresentationOpened, and a seek from the call to OnPostSeek. Measured twice: through the
// control as the shell sees it (events go out on the 50 ms pump, which dominates), and on the
// console pumped every millisecond (what the pipeline itself takes).
#include "realmedia/console.h"
#include "realmedia/realmedia_console.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace {

std::string media(const char* name) {
    return std::string(REALMEDIA_BENCH_MEDIA_DIR) + "/" + name;
}

class Counter final : public zefa::RealPlayerEvents {
  public:
    int opened = 0, seeks = 0;
    void RealAudio1PositionChange(int32_t, int32_t) override {}
    void RealAudio1PresentationOpened() override { ++opened; }
    void RealAudio1PresentationClosed() override {}
    void RealAudio1OpenFailed() override {}
    void RealAudio1PostSeek(int32_t, int32_t) override { ++seeks; }
};

// Runs the event loop until pred holds; false after 10 s.
template <typename Pred> bool pump_until(Pred pred) {
    for (int waited = 0; !pred(); ++waited) {
        if (waited > 10000) return false;
        QTest::qWait(1);
    }
    return true;
}

void BM_PlayUntilOpened(benchmark::State& state, const char* file) {
    zefa::RealMediaConsole console;
    Counter events;
    console.picture().set_events(&events);
    const std::string path = media(file);
    for (auto _ : state) {
        const int before = events.opened;
        console.transport().set_source(path);
        console.transport().play();
        if (!pump_until([&] { return events.opened > before; })) state.SkipWithError("not opened");
        state.PauseTiming();
        console.picture().set_source("nil");
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_PlayUntilOpened, rm_rv10_ac3, "clip.rm")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PlayUntilOpened, avi_mpeg4_mp3, "clip.avi")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Paused half a second in, then sought to 2 s: a refused seek on RealMedia without an index
// (restart and decode up to the target) against a real seek on AVI.
void BM_SeekUntilLanded(benchmark::State& state, const char* file) {
    zefa::RealMediaConsole console;
    Counter events;
    console.picture().set_events(&events);
    console.transport().set_source(media(file));
    console.transport().play();
    if (!pump_until([&] { return events.opened > 0 && console.picture().position() > 500; }))
        state.SkipWithError("not playing");
    console.transport().pause();
    int32_t target = 2000;
    for (auto _ : state) {
        const int before = events.seeks;
        console.picture().seek(target);
        if (!pump_until([&] { return events.seeks > before; })) state.SkipWithError("no landing");
        target = target == 2000 ? 1000 : 2000;
    }
}
BENCHMARK_CAPTURE(BM_SeekUntilLanded, rm_refused, "clip.rm")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SeekUntilLanded, avi, "clip.avi")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

using zefa::realmedia::Console;
using zefa::realmedia::Event;

class NoPicture final : public zefa::realmedia::PictureSurface {
  public:
    unsigned long window() override { return 0; }
    void show_picture(bool) override {}
};

// Pumps every millisecond until an event of this kind; false after 10 s.
bool pump_console_until(Console& console, Event::Kind kind) {
    for (int waited = 0; waited < 10000; ++waited) {
        console.pump();
        const std::vector<Event> events = console.take_events();
        if (std::any_of(events.begin(), events.end(),
                        [&](const Event& e) { return e.kind == kind; }))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

void BM_ConsolePlayUntilOpened(benchmark::State& state, const char* file) {
    NoPicture picture;
    Console console(picture);
    const std::string path = media(file);
    for (auto _ : state) {
        console.set_source(path);
        console.play();
        if (!pump_console_until(console, Event::Kind::PresentationOpened))
            state.SkipWithError("not opened");
        state.PauseTiming();
        console.set_source("nil");
        console.take_events();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_ConsolePlayUntilOpened, rm_rv10_ac3, "clip.rm")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ConsolePlayUntilOpened, avi_mpeg4_mp3, "clip.avi")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ConsoleSeekUntilLanded(benchmark::State& state, const char* file) {
    NoPicture picture;
    Console console(picture);
    console.set_source(media(file));
    console.play();
    if (!pump_console_until(console, Event::Kind::PresentationOpened))
        state.SkipWithError("not opened");
    console.pause();
    int32_t target = 2000;
    for (auto _ : state) {
        console.seek(target);
        if (!pump_console_until(console, Event::Kind::PostSeek)) state.SkipWithError("no landing");
        target = target == 2000 ? 1000 : 2000;
    }
}
BENCHMARK_CAPTURE(BM_ConsoleSeekUntilLanded, rm_refused, "clip.rm")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ConsoleSeekUntilLanded, avi, "clip.avi")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("DISPLAY");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
