// The playlist at 100,000 entries: a dropped folder tree becoming the sorted list, loading and
// saving zefa.hen, the copy into the playlist window and the sort, in the C locale (byte
// order) and in collating locales.

#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdlib>
#include <random>

#include "harness.h"
#include "media_tree.h"

using namespace zefa;

namespace {

using bench::kTreeFiles;
using bench::media_tree;
using bench::media_tree_files;

const char* const kLocales[] = {"C", "C.UTF-8", "en_US.UTF-8"};

// Sets LC_COLLATE for one benchmark; false when the locale is not to be had.
bool use_locale(benchmark::State& state) {
    setenv("LOCPATH", ZEFA_TEST_LOCPATH, 1);
    const char* name = kLocales[state.range(0)];
    state.SetLabel(name);
    if (std::setlocale(LC_COLLATE, name)) return true;
    state.SkipWithError("locale not available");
    return false;
}

void BM_DropTree100k(benchmark::State& state) {
    if (!use_locale(state)) return;
    const std::string root = media_tree();
    test::Harness h;
    apply_setting_defaults(h.p().cfg, DefaultPhase::Startup);
    for (auto _ : state) {
        h.p().files_dropped(Win::Main, {root});
        if (h.p().list.entry_count != kTreeFiles) state.SkipWithError("count");
    }
    state.SetItemsProcessed(state.iterations() * kTreeFiles);
}
BENCHMARK(BM_DropTree100k)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sort100k(benchmark::State& state) {
    if (!use_locale(state)) return;
    std::vector<std::string> entries = media_tree_files();
    std::shuffle(entries.begin(), entries.end(), std::mt19937(7));
    test::Harness h;
    for (auto _ : state) {
        state.PauseTiming();
        h.p().list.ListBox1 = entries;
        state.ResumeTiming();
        h.p().sort(0, static_cast<int32_t>(entries.size()));
    }
}
BENCHMARK(BM_Sort100k)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HenSave100k(benchmark::State& state) {
    test::Harness h;
    h.p().list.ListBox1 = media_tree_files();
    for (auto _ : state)
        if (!h.p().HEN_LOAD(1, h.dir.str() + "zefa.hen")) state.SkipWithError("save failed");
}
BENCHMARK(BM_HenSave100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HenLoad100k(benchmark::State& state) {
    test::Harness h;
    h.p().list.ListBox1 = media_tree_files();
    h.p().HEN_LOAD(1, h.dir.str() + "zefa.hen");
    for (auto _ : state) {
        h.p().HEN_LOAD(0, h.dir.str() + "zefa.hen");
        if (h.p().list.entry_count != kTreeFiles) state.SkipWithError("count");
    }
}
BENCHMARK(BM_HenLoad100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyLst100k(benchmark::State& state) {
    test::Harness h;
    h.p().list.ListBox1 = media_tree_files();
    for (auto _ : state)
        h.p().copy_lst();
}
BENCHMARK(BM_CopyLst100k)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
