#pragma once

// Sound data: the sound definitions, the start-sound records and the stream tags read into
// plain values, and the raw and ADPCM data decoded to interleaved signed 16-bit samples. MP3
// stays encoded for the output's decoder. Every decoder stops at a stated number of samples.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "swf/swf_stream.h"

namespace zefa::swf {

inline constexpr uint16_t kTagDefineSound = 14;
inline constexpr uint16_t kTagStartSound = 15;
inline constexpr uint16_t kTagSoundStreamHead = 18;
inline constexpr uint16_t kTagSoundStreamBlock = 19;
inline constexpr uint16_t kTagSoundStreamHead2 = 45;

// Format codes.
inline constexpr uint8_t kSoundRaw = 0; // little-endian in practice, read as kSoundRawLe
inline constexpr uint8_t kSoundAdpcm = 1;
inline constexpr uint8_t kSoundMp3 = 2;
inline constexpr uint8_t kSoundRawLe = 3;
inline constexpr uint8_t kSoundNellymoser16k = 4;
inline constexpr uint8_t kSoundNellymoser8k = 5;
inline constexpr uint8_t kSoundNellymoser = 6;
inline constexpr uint8_t kSoundSpeex = 11;

// Samples per channel one decoded event sound may have (about 190 s at 44.1 kHz, 32 MiB
// stereo); the rest is dropped.
inline constexpr size_t kMaxSoundFrames = size_t{1} << 23;
// Samples per channel one decoded stream block may have (about 3 s at 44.1 kHz).
inline constexpr size_t kMaxBlockFrames = size_t{1} << 17;
// Envelope points kept from one SOUNDINFO; later ones are read past and dropped.
inline constexpr size_t kMaxEnvelopePoints = 64;

struct SoundFormat {
    uint8_t code = kSoundRaw;
    int rate = 5512; // Hz: 5512 (for 5512.5), 11025, 22050 or 44100
    bool sixteen_bit = false;
    bool stereo = false;

    // From the format byte: b7-b4 code, b3-b2 rate, b1 size, b0 type.
    static SoundFormat from_byte(uint8_t b);
    int channels() const { return stereo ? 2 : 1; }
    bool pcm() const { return code == kSoundRaw || code == kSoundRawLe; }
    bool decodable() const { return pcm() || code == kSoundAdpcm; } // by decode_samples
    bool playable() const { return decodable() || code == kSoundMp3; }
    bool operator==(const SoundFormat&) const = default;
};

struct SoundDef {
    uint16_t id = 0;
    SoundFormat format;
    uint32_t sample_count = 0; // per channel, as the tag says
    // Raw or ADPCM data; for MP3 the frames after the seek samples. Points into the tag.
    std::span<const uint8_t> data;
    int16_t seek_samples = 0; // MP3: decoded samples to skip at the start
};

struct SoundDefResult {
    SoundDef sound;
    std::string error; // empty on success
    bool ok() const { return error.empty(); }
};

struct EnvelopePoint {
    uint32_t pos44 = 0; // in 44.1 kHz samples from the start of the sound, whatever its rate
    uint16_t left = 32768, right = 32768; // 32768 = full level
    bool operator==(const EnvelopePoint&) const = default;
};

struct SoundInfo {
    bool sync_stop = false;   // stop this sound's instances instead of starting one
    bool no_multiple = false; // do not start while an instance plays
    // Sample positions counted at 44.1 kHz (scaled to the sound's rate when applied).
    std::optional<uint32_t> in_point;
    std::optional<uint32_t> out_point;
    uint16_t loops = 1; // total plays; a stated 0 reads as 1
    std::vector<EnvelopePoint> envelope;
};

struct SoundStart {
    uint16_t id = 0;
    SoundInfo info;
};

struct StreamHead {
    SoundFormat playback; // advisory only
    SoundFormat format;   // what the blocks hold
    uint16_t samples_per_frame = 0;
    int16_t latency_seek = 0; // MP3: samples to skip at the start; 0 when the tag lacks it
    bool operator==(const StreamHead&) const = default;
};

struct StreamBlock {
    uint16_t sample_count = 0; // MP3: samples per channel in this block
    int16_t seek_samples = 0;  // MP3
    // MP3 frames, or the raw or ADPCM data. Points into the block.
    std::span<const uint8_t> data;
};

// DefineSound (14): the tag's data.
SoundDefResult decode_define_sound(Stream& s);

// StartSound (15): the sound id and its SOUNDINFO. Empty when cut short.
std::optional<SoundStart> decode_start_sound(Stream& s);
// A SOUNDINFO record alone (also after StartSound2's class name). Empty when cut short.
std::optional<SoundInfo> decode_sound_info(Stream& s);

// SoundStreamHead (18) or SoundStreamHead2 (45): both are read alike and both accept every
// format. Empty for another tag code or when cut before the sample count.
std::optional<StreamHead> decode_stream_head(uint16_t tag_code, Stream& s);

// A SoundStreamBlock's data for a stream of the given format. Empty for an MP3 block without
// its sample count and seek samples.
std::optional<StreamBlock> decode_stream_block(const SoundFormat& format,
                                               std::span<const uint8_t> block);

// Raw data (formats 0 and 3) to interleaved 16-bit samples: 16-bit little-endian as is, 8-bit
// unsigned with 128 as silence. An incomplete last sample (or stereo pair) is dropped; at most
// max_frames samples per channel.
std::vector<int16_t> decode_pcm(const SoundFormat& format, std::span<const uint8_t> data,
                                size_t max_frames);

// ADPCM data (its 2-bit code size, then packets of up to 4096 samples per channel) to
// interleaved 16-bit samples; bits too few for a whole packet header or sample are ignored.
// At most max_frames samples per channel.
std::vector<int16_t> decode_adpcm(std::span<const uint8_t> data, bool stereo, size_t max_frames);

// Raw or ADPCM data by the format; empty for the formats decoded elsewhere or not at all.
std::vector<int16_t> decode_samples(const SoundFormat& format, std::span<const uint8_t> data,
                                    size_t max_frames);

struct Pcm {
    std::vector<int16_t> samples; // interleaved
    int channels = 1;
    int rate = 0;
    size_t frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
};

// An event sound decoded whole: no more than its stated sample count when that is not 0, and
// at most max_frames. Empty for MP3 and the formats not decoded here.
std::optional<Pcm> decode_sound(const SoundDef& sound, size_t max_frames = kMaxSoundFrames);

// The part between the in and out points, shaped by the envelope (a mono sound becomes stereo
// so the two levels apply). Envelope positions count from the sound's first sample.
void apply_sound_info(Pcm& pcm, const SoundInfo& info);

// What the movie player tells the sound output.
class SoundEvents {
  public:
    virtual ~SoundEvents() = default;
    // A timeline with a stream entered a frame with a block while playing: `stream` is a key
    // that stays the same for that timeline instance while it lives.
    virtual void stream_block(uint32_t stream, const StreamHead& head,
                              std::span<const uint8_t> block) = 0;
    // The timeline stopped, jumped to another frame, or went away: its queued stream sound ends.
    virtual void stream_stop(uint32_t stream) = 0;
    virtual void start_sound(const SoundDef& sound,
                             const SoundInfo& info) = 0; // honours sync stop / no multiple
    virtual void stop_all() = 0;
};

} // namespace zefa::swf
