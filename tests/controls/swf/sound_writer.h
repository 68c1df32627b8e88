#pragma once

// Writes the data of the sound tags for the tests (wrap it with SwfWriter::tag): sound
// definitions, start-sound records, stream heads and blocks, and ADPCM data code by code.
//
//   std::string adpcm = AdpcmWriter(4, false).packet(1000, 10).code(7).code(15).data();
//   std::string tag = define_sound(3, {swf::kSoundAdpcm, 22050, true, false}, 3, adpcm);

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bit_writer.h"
#include "swf/swf_sound.h"

namespace zefa::test {

// The format byte: code, rate index (the nearest of the four rates below or at it), size, type.
uint8_t sound_format_byte(const swf::SoundFormat& f);

// DefineSound; for MP3 `data` is the frames and seek_samples goes before them.
std::string define_sound(uint16_t id, const swf::SoundFormat& f, uint32_t sample_count,
                         std::string_view data, int16_t seek_samples = 0);
// A SOUNDINFO record: flags for what is set (loops != 1 writes LoopCount).
std::string sound_info(const swf::SoundInfo& info);
std::string start_sound(uint16_t id, const swf::SoundInfo& info);
// SoundStreamHead or SoundStreamHead2 alike; the latency goes in for MP3 when with_latency.
std::string stream_head(const swf::StreamHead& head, bool with_latency = true);
// SoundStreamBlock: MP3 with its sample count and seek samples; raw and ADPCM data as they are.
std::string mp3_block(uint16_t sample_count, int16_t seek_samples, std::string_view frames);

// Raw sample data: 16-bit little-endian, and 8-bit unsigned (given as the stored bytes).
std::string pcm16(const std::vector<int16_t>& samples);
std::string pcm8(const std::vector<uint8_t>& samples);

// ADPCM data: the code size first, then packets as written; codes alternate left and right in
// a stereo packet (pass both to code()).
class AdpcmWriter {
  public:
    AdpcmWriter(int bits, bool stereo);
    AdpcmWriter& packet(int16_t sample, uint32_t index, int16_t right_sample = 0,
                        uint32_t right_index = 0);
    AdpcmWriter& code(uint32_t left, uint32_t right = 0);
    AdpcmWriter& codes(size_t n, uint32_t value); // n frames of the same code (both channels)
    AdpcmWriter& raw_bits(uint32_t v, int bits);  // anything, e.g. a cut packet header
    std::string data() { return out_.data(); }

  private:
    BitWriter out_;
    int bits_;
    bool stereo_;
};

} // namespace zefa::test
