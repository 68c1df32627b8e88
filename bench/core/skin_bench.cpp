// The panel redraw with Default01 while a medium plays and the title scrolls (it runs on nearly
// every 50 ms tick), and a whole skin load with its outline for each bundled skin. Pictures are
// decoded by the test fakes' BMP reader; in the program Qt decodes them.

#include <benchmark/benchmark.h>
#include <filesystem>

#include "harness.h"

using namespace zefa;

namespace {

// A harness whose program folder holds the bundled skin of that name.
std::unique_ptr<test::Harness> with_skin(const std::string& name) {
    auto h = std::make_unique<test::Harness>();
    h->images.pictures.clear();
    const std::string to = h->dir.str() + "Skin/" + name + "/";
    std::filesystem::create_directories(to);
    for (const char* file : {"main.da1", "main.bmp"})
        std::filesystem::copy_file(std::string(ZEFA_SKIN_DIR) + "/" + name + "/" + file, to + file);
    return h;
}

const char* const kSkins[] = {"Default01", "Default02"};

} // namespace

static void BM_PutChDefault01(benchmark::State& state) {
    auto h = with_skin("Default01");
    Player& p = h->p();
    p.load_skin("Default01");
    p.title_layout("A rather long file name of a medium (1080p).mp4");
    p.list.play_state = 1;
    p.list.entry_count = 12;
    p.list.current_entry = 4;
    p.sh.paused = 0;
    p.sh.engine_kind = kEngineLibrary;
    p.sh.media_len = 6300000;
    p.cfg.Volume = 75;
    int32_t t = 0;
    for (auto _ : state) {
        p.sh.media_pos = t += 50;
        p.sh.title_offset = (p.sh.title_offset + 2) % 300;
        p.put_ch();
    }
    benchmark::DoNotOptimize(h->win.panel_draws);
}
BENCHMARK(BM_PutChDefault01);

static void BM_LoadSkin(benchmark::State& state) {
    const std::string name = kSkins[state.range(0)];
    auto h = with_skin(name);
    for (auto _ : state)
        h->p().load_skin(name);
    state.SetLabel(name);
}
BENCHMARK(BM_LoadSkin)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

static void BM_W_MK0(benchmark::State& state) {
    const std::string name = kSkins[state.range(0)];
    auto h = with_skin(name);
    h->p().load_skin(name);
    for (auto _ : state)
        h->p().W_MK0();
    state.SetLabel(name + ", " + std::to_string(h->win.regions[Win::Panel].rects.size()) +
                   " outline rectangles");
}
BENCHMARK(BM_W_MK0)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
