// Reading a large movie (about 10 MB uncompressed, 100 000 tags) in each container.

#include <benchmark/benchmark.h>
#include <random>

#include "swf_writer.h"

namespace {

using namespace zefa;

// Tags of 40 to 160 bytes of text-like data (compresses about as well as real tag data),
// a frame after every ten.
const test::SwfWriter& large_movie() {
    static const test::SwfWriter w = [] {
        test::SwfWriter out;
        std::mt19937 rng(7);
        std::string data;
        for (int i = 0; i < 100'000; ++i) {
            data.resize(40 + rng() % 121);
            for (char& c : data)
                c = static_cast<char>('a' + rng() % 16);
            out.tag(static_cast<uint16_t>(2 + rng() % 90), data);
            if (i % 10 == 9) out.show_frames(1);
        }
        return out.end();
    }();
    return w;
}

void read_container(benchmark::State& state, swf::Compression c) {
    const std::string file = large_movie().file(c);
    const size_t body = large_movie().body().size();
    for (auto _ : state) {
        const swf::ReadResult r = swf::read_movie(test::as_bytes(file));
        if (!r.ok() || r.movie.frame_count != 10'000) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(r.movie.tags.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * (body + 8)));
    state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}

void BM_ReadFws(benchmark::State& state) {
    read_container(state, swf::Compression::None);
}
void BM_ReadCws(benchmark::State& state) {
    read_container(state, swf::Compression::Zlib);
}
void BM_ReadZws(benchmark::State& state) {
    read_container(state, swf::Compression::Lzma);
}

} // namespace

BENCHMARK(BM_ReadFws)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCws)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadZws)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
