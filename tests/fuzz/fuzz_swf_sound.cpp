// Any bytes as the data of every sound tag, and as sample data of every format: read into
// values that stay inside the data, decoded to no more samples than asked for, never a crash.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_check.h"
#include "swf/swf_sound.h"

namespace {

using namespace zefa::swf;
using zefa::test::check;

// Small caps: a mutated count must not make every run decode megabytes.
constexpr size_t kCap = 1u << 12;

bool inside(std::span<const uint8_t> part, std::span<const uint8_t> whole) {
    return part.empty() || (part.data() >= whole.data() &&
                            part.data() + part.size() <= whole.data() + whole.size());
}

void check_samples(const std::vector<int16_t>& samples, const SoundFormat& f, size_t cap) {
    const size_t channels = size_t(f.channels());
    check(samples.size() % channels == 0, "samples not whole frames");
    check(samples.size() <= cap * channels, "decoded past the cap");
}

void check_info(const SoundInfo& info) {
    check(info.loops >= 1, "loop count 0");
    check(info.envelope.size() <= kMaxEnvelopePoints, "envelope past its limit");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);

    Stream define(bytes);
    const SoundDefResult def = decode_define_sound(define);
    if (def.ok()) {
        check(inside(def.sound.data, bytes), "sound data outside the tag");
        const std::optional<Pcm> pcm = decode_sound(def.sound, kCap);
        check(pcm.has_value() == def.sound.format.decodable(), "decoded a format it cannot");
        if (pcm) {
            check(pcm->frames() <= kCap, "sound past the cap");
            if (def.sound.sample_count > 0)
                check(pcm->frames() <= def.sound.sample_count, "sound past its count");
            Stream rest(bytes);
            if (const std::optional<SoundInfo> info = decode_sound_info(rest)) {
                check_info(*info);
                Pcm shaped = *pcm;
                apply_sound_info(shaped, *info);
                check(shaped.frames() <= pcm->frames(), "shaping made the sound longer");
                check(shaped.channels == pcm->channels || shaped.channels == 2, "channels");
            }
        }
    } else {
        check(def.sound.data.empty(), "a refused sound kept data");
    }

    Stream start(bytes);
    if (const std::optional<SoundStart> s = decode_start_sound(start)) check_info(s->info);

    for (uint16_t code : {kTagSoundStreamHead, kTagSoundStreamHead2}) {
        Stream head(bytes);
        if (const std::optional<StreamHead> h = decode_stream_head(code, head)) {
            check(h->format.code < 16, "format code");
            if (h->format.code != kSoundMp3) check(h->latency_seek == 0, "latency for non-MP3");
        }
    }

    // Every format code, size and type on the same bytes as one stream block (the rate
    // changes nothing here).
    const size_t cap = size % 64 == 0 ? 0 : std::min<size_t>(kCap, size * 4 + 1);
    for (int b = 0; b < 64; ++b) {
        const SoundFormat f =
            SoundFormat::from_byte(static_cast<uint8_t>((b & 0x3c) << 2 | (b & 3)));
        // ADPCM is 16-bit whatever the size bit says: one decode of the two is enough.
        if (f.code == kSoundAdpcm && !f.sixteen_bit) continue;
        const std::optional<StreamBlock> block = decode_stream_block(f, bytes);
        if (!block) {
            check(f.code == kSoundMp3 && size < 4, "a block refused for nothing");
            continue;
        }
        check(inside(block->data, bytes), "block data outside the tag");
        const std::vector<int16_t> samples = decode_samples(f, block->data, cap);
        check_samples(samples, f, cap);
        if (!f.decodable()) check(samples.empty(), "decoded a format it cannot");
    }

    // A capped ADPCM decode is the start of a longer one.
    for (bool stereo : {false, true}) {
        const std::vector<int16_t> whole = decode_adpcm(bytes, stereo, kCap);
        const std::vector<int16_t> part = decode_adpcm(bytes, stereo, std::min(size / 3, kCap));
        check(part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin()),
              "capped ADPCM differs from the whole");
    }
    return 0;
}
