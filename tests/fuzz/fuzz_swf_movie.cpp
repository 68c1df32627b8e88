// Any bytes as a whole movie, decoded and played: a whole file, or the tag stream of an
// uncompressed movie with a small stage. Every definition the decoders refuse is skipped, the
// player runs ticks, jumps and stops, and nothing it holds passes the limits.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "swf/swf_player.h"

namespace {

using namespace zefa::swf;
using zefa::test::check;

const Limits kRead{.max_file_length = 4u << 20, .max_tags = 1u << 14};

// Sound calls are counted and their blocks checked to lie inside the movie.
struct Sink final : SoundEvents {
    const Movie* movie = nullptr;
    size_t calls = 0;
    void stream_block(uint32_t, const StreamHead&, std::span<const uint8_t> block) override {
        const uint8_t* begin = movie->body.data();
        check(block.data() >= begin && block.data() + block.size() <= begin + movie->body.size(),
              "a stream block outside the movie");
        ++calls;
    }
    void stream_stop(uint32_t) override { ++calls; }
    void start_sound(const SoundDef&, const SoundInfo&) override { ++calls; }
    void stop_all() override { ++calls; }
};

void play(const Movie& movie) {
    DictionaryLimits dl;
    dl.max_edges = 200'000;
    dl.max_bitmap_pixels = 1 << 20;
    dl.max_controls = 100'000;
    const MovieDef def = MovieDef::build(movie, dl);
    check(def.reasons().size() <= dl.max_reasons, "too many reasons kept");
    Sink sink;
    sink.movie = &movie;
    PlayerLimits pl;
    pl.max_objects = 2000;
    pl.max_level = 8;
    MoviePlayer p(def, &sink, pl);
    const int32_t total = p.total();
    p.play();
    for (int i = 0; i < 40; ++i) {
        p.tick();
        if (i == 20) p.goto_frame(total / 2);
        if (i == 25) p.play();
        check(p.objects() <= pl.max_objects, "display objects past the limit");
        check(total == 0 || (p.frame() >= 0 && p.frame() < total), "frame outside the movie");
    }
    p.goto_frame(-5);
    check(p.frame() == 0, "a jump before the start lands on frame 0");
}

std::string fws(const std::string& tags) {
    // 5-bit rectangle of zeros, 12 fps, no frame count: the tags decide.
    std::string body("\x00\x00\x0c\x00\x00", 5);
    body += tags;
    std::string h = "FWS";
    h.push_back(10);
    const uint32_t n = static_cast<uint32_t>(body.size() + 8);
    for (int i = 0; i < 4; ++i)
        h.push_back(static_cast<char>(n >> (8 * i)));
    return h + body;
}

void run(const std::string& bytes) {
    const ReadResult r =
        read_movie({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, kRead);
    if (r.ok()) play(r.movie);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kRead.max_file_length) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    run(bytes);
    // A mutated uncompressed movie mostly no longer matches its stated length; with the length
    // put right its tags reach the decoders.
    if (bytes.size() >= 8 && bytes.compare(0, 3, "FWS") == 0) {
        std::string fixed = bytes;
        for (int i = 0; i < 4; ++i)
            fixed[4 + i] = static_cast<char>(fixed.size() >> (8 * i));
        run(fixed);
    }
    run(fws(bytes));
    return 0;
}
