#include "swf/swf_sound.h"

#include <algorithm>
#include <array>

namespace zefa::swf {
namespace {

constexpr std::array<int, 4> kRates{5512, 11025, 22050, 44100};

// ADPCM reads bit fields across packets and needs to know exactly how many bits are left,
// which the tag stream does not say.
class Bits {
  public:
    explicit Bits(std::span<const uint8_t> data) : data_(data) {}
    size_t left() const { return data_.size() * 8 - pos_; }
    // The caller checks left() first.
    uint32_t ub(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++pos_)
            v = v << 1 | ((data_[pos_ >> 3] >> (7 - (pos_ & 7))) & 1u);
        return v;
    }
    int32_t sb(int n) {
        uint32_t v = ub(n);
        if (n > 0 && n < 32 && (v >> (n - 1)) & 1u) v |= ~0u << n;
        return static_cast<int32_t>(v);
    }

  private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

constexpr std::array<int, 89> kSteps{
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// Index changes by the code's magnitude bits, for 2 to 5 bits per code.
constexpr int kIndex2[] = {-1, 2};
constexpr int kIndex3[] = {-1, -1, 2, 4};
constexpr int kIndex4[] = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kIndex5[] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};
constexpr const int* kIndexTables[] = {kIndex2, kIndex3, kIndex4, kIndex5};

struct AdpcmChannel {
    int sample = 0;
    int index = 0;

    int16_t decode(uint32_t code, int n) {
        const int step = kSteps[static_cast<size_t>(index)];
        int diff = step >> (n - 1);
        for (int k = n - 2; k >= 0; --k)
            if (code & (1u << k)) diff += step >> (n - 2 - k);
        sample += (code & (1u << (n - 1))) ? -diff : diff;
        sample = std::clamp(sample, -32768, 32767);
        const uint32_t magnitude = code & ((1u << (n - 1)) - 1);
        index = std::clamp(index + kIndexTables[n - 2][magnitude], 0, 88);
        return static_cast<int16_t>(sample);
    }
};

} // namespace

SoundFormat SoundFormat::from_byte(uint8_t b) {
    SoundFormat f;
    f.code = static_cast<uint8_t>(b >> 4);
    f.rate = kRates[(b >> 2) & 3];
    f.sixteen_bit = (b & 2) != 0;
    f.stereo = (b & 1) != 0;
    return f;
}

SoundDefResult decode_define_sound(Stream& s) {
    SoundDefResult r;
    r.sound.id = s.u16();
    r.sound.format = SoundFormat::from_byte(s.u8());
    r.sound.sample_count = s.u32();
    if (!s.ok()) {
        r.error = "DefineSound cut short before its data";
        return r;
    }
    if (r.sound.format.code == kSoundMp3) {
        r.sound.seek_samples = s.s16();
        if (!s.ok()) {
            r.error = "MP3 sound without its seek samples";
            return r;
        }
    }
    r.sound.data = s.rest();
    return r;
}

std::optional<SoundInfo> decode_sound_info(Stream& s) {
    SoundInfo info;
    const uint8_t flags = s.u8();
    info.sync_stop = (flags & 0x20) != 0;
    info.no_multiple = (flags & 0x10) != 0;
    if (flags & 0x01) info.in_point = s.u32();
    if (flags & 0x02) info.out_point = s.u32();
    if (flags & 0x04) info.loops = std::max<uint16_t>(s.u16(), 1);
    if (flags & 0x08) {
        const size_t count = s.u8();
        // Whole points only: a count the data cannot hold is a cut record.
        if (count * 8 > s.remaining()) return std::nullopt;
        info.envelope.reserve(std::min(count, kMaxEnvelopePoints));
        for (size_t i = 0; i < count; ++i) {
            EnvelopePoint p;
            p.pos44 = s.u32();
            p.left = s.u16();
            p.right = s.u16();
            if (info.envelope.size() < kMaxEnvelopePoints) info.envelope.push_back(p);
        }
    }
    if (!s.ok()) return std::nullopt;
    return info;
}

std::optional<SoundStart> decode_start_sound(Stream& s) {
    SoundStart start;
    start.id = s.u16();
    if (!s.ok()) return std::nullopt;
    std::optional<SoundInfo> info = decode_sound_info(s);
    if (!info) return std::nullopt;
    start.info = std::move(*info);
    return start;
}

std::optional<StreamHead> decode_stream_head(uint16_t tag_code, Stream& s) {
    if (tag_code != kTagSoundStreamHead && tag_code != kTagSoundStreamHead2) return std::nullopt;
    StreamHead head;
    head.playback = SoundFormat::from_byte(static_cast<uint8_t>(s.u8() & 0x0f));
    head.format = SoundFormat::from_byte(s.u8());
    head.samples_per_frame = s.u16();
    if (!s.ok()) return std::nullopt;
    // Some writers leave the latency out; it is only there when the bytes are.
    if (head.format.code == kSoundMp3 && s.remaining() >= 2) head.latency_seek = s.s16();
    return head;
}

std::optional<StreamBlock> decode_stream_block(const SoundFormat& format,
                                               std::span<const uint8_t> block) {
    StreamBlock b;
    if (format.code != kSoundMp3) {
        b.data = block;
        return b;
    }
    Stream s(block);
    b.sample_count = s.u16();
    b.seek_samples = s.s16();
    if (!s.ok()) return std::nullopt;
    b.data = s.rest();
    return b;
}

std::vector<int16_t> decode_pcm(const SoundFormat& format, std::span<const uint8_t> data,
                                size_t max_frames) {
    const size_t width = format.sixteen_bit ? 2 : 1;
    const size_t channels = size_t(format.channels());
    const size_t frames = std::min(data.size() / (width * channels), max_frames);
    std::vector<int16_t> out(frames * channels);
    for (size_t i = 0; i < out.size(); ++i) {
        if (format.sixteen_bit)
            out[i] = static_cast<int16_t>(data[2 * i] | data[2 * i + 1] << 8);
        else
            out[i] = static_cast<int16_t>((int{data[i]} - 128) * 256);
    }
    return out;
}

std::vector<int16_t> decode_adpcm(std::span<const uint8_t> data, bool stereo, size_t max_frames) {
    std::vector<int16_t> out;
    Bits bits(data);
    if (bits.left() < 2) return out;
    const int n = static_cast<int>(bits.ub(2)) + 2;
    const size_t channels = stereo ? 2 : 1;
    const size_t header_bits = 22 * channels;
    const size_t code_bits = size_t(n) * channels;
    // Each sample frame takes at least code_bits, so this is what the data can hold.
    out.reserve(std::min(bits.left() / code_bits, max_frames) * channels);

    size_t frames = 0;
    std::array<AdpcmChannel, 2> ch;
    while (frames < max_frames && bits.left() >= header_bits) {
        for (size_t c = 0; c < channels; ++c) {
            ch[c].sample = bits.sb(16);
            ch[c].index = static_cast<int>(bits.ub(6));
            out.push_back(static_cast<int16_t>(ch[c].sample));
        }
        ++frames;
        for (int i = 1; i < 4096 && frames < max_frames && bits.left() >= code_bits; ++i) {
            for (size_t c = 0; c < channels; ++c)
                out.push_back(ch[c].decode(bits.ub(n), n));
            ++frames;
        }
    }
    return out;
}

std::vector<int16_t> decode_samples(const SoundFormat& format, std::span<const uint8_t> data,
                                    size_t max_frames) {
    if (format.pcm()) return decode_pcm(format, data, max_frames);
    if (format.code == kSoundAdpcm) return decode_adpcm(data, format.stereo, max_frames);
    return {};
}

std::optional<Pcm> decode_sound(const SoundDef& sound, size_t max_frames) {
    if (!sound.format.decodable()) return std::nullopt;
    if (sound.sample_count > 0) max_frames = std::min<size_t>(max_frames, sound.sample_count);
    Pcm pcm;
    pcm.channels = sound.format.channels();
    pcm.rate = sound.format.rate;
    pcm.samples = decode_samples(sound.format, sound.data, max_frames);
    return pcm;
}

void apply_sound_info(Pcm& pcm, const SoundInfo& info) {
    if (pcm.rate <= 0 || pcm.channels < 1 || pcm.channels > 2) return;
    const size_t frames = pcm.frames();
    const auto at_rate = [&](uint32_t pos44) {
        return std::min<size_t>(static_cast<size_t>(uint64_t{pos44} * uint64_t(pcm.rate) / 44100),
                                frames);
    };
    const size_t begin = info.in_point ? at_rate(*info.in_point) : 0;
    const size_t end = std::max(begin, info.out_point ? at_rate(*info.out_point) : frames);

    std::vector<int16_t> out;
    if (info.envelope.empty()) {
        const size_t ch = size_t(pcm.channels);
        out.assign(pcm.samples.begin() + std::ptrdiff_t(begin * ch),
                   pcm.samples.begin() + std::ptrdiff_t(end * ch));
    } else {
        const auto& env = info.envelope;
        out.reserve((end - begin) * 2);
        size_t next = 0; // the first point after the current position
        for (size_t i = begin; i < end; ++i) {
            const double pos = double(i) * 44100.0 / pcm.rate;
            while (next < env.size() && env[next].pos44 <= pos)
                ++next;
            double left, right;
            if (next == 0) {
                left = env[0].left;
                right = env[0].right;
            } else if (next == env.size()) {
                left = env.back().left;
                right = env.back().right;
            } else {
                const EnvelopePoint& a = env[next - 1];
                const EnvelopePoint& b = env[next];
                const double t = (pos - a.pos44) / double(b.pos44 - a.pos44);
                left = a.left + (b.left - a.left) * t;
                right = a.right + (b.right - a.right) * t;
            }
            const int16_t l = pcm.samples[i * size_t(pcm.channels)];
            const int16_t r = pcm.channels == 2 ? pcm.samples[i * 2 + 1] : l;
            const auto scale = [](int16_t v, double level) {
                return static_cast<int16_t>(std::clamp(v * level / 32768.0, -32768.0, 32767.0));
            };
            out.push_back(scale(l, left));
            out.push_back(scale(r, right));
        }
        pcm.channels = 2;
    }
    pcm.samples = std::move(out);
}

} // namespace zefa::swf
