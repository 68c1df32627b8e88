#include "sound_writer.h"

namespace zefa::test {

uint8_t sound_format_byte(const swf::SoundFormat& f) {
    const uint32_t rate = f.rate >= 44100 ? 3 : f.rate >= 22050 ? 2 : f.rate >= 11025 ? 1 : 0;
    return static_cast<uint8_t>((f.code & 0x0f) << 4 | rate << 2 | (f.sixteen_bit ? 2 : 0) |
                                (f.stereo ? 1 : 0));
}

std::string define_sound(uint16_t id, const swf::SoundFormat& f, uint32_t sample_count,
                         std::string_view data, int16_t seek_samples) {
    BitWriter w;
    w.u16(id).u8(sound_format_byte(f)).u32(sample_count);
    if (f.code == swf::kSoundMp3) w.u16(static_cast<uint16_t>(seek_samples));
    return w.bytes(data).data();
}

std::string sound_info(const swf::SoundInfo& info) {
    BitWriter w;
    const bool loops = info.loops != 1;
    w.u8((info.sync_stop ? 0x20u : 0u) | (info.no_multiple ? 0x10u : 0u) |
         (info.envelope.empty() ? 0u : 0x08u) | (loops ? 0x04u : 0u) |
         (info.out_point ? 0x02u : 0u) | (info.in_point ? 0x01u : 0u));
    if (info.in_point) w.u32(*info.in_point);
    if (info.out_point) w.u32(*info.out_point);
    if (loops) w.u16(info.loops);
    if (!info.envelope.empty()) {
        w.u8(static_cast<uint32_t>(info.envelope.size()));
        for (const swf::EnvelopePoint& p : info.envelope)
            w.u32(p.pos44).u16(p.left).u16(p.right);
    }
    return w.data();
}

std::string start_sound(uint16_t id, const swf::SoundInfo& info) {
    BitWriter w;
    w.u16(id);
    return w.data() + sound_info(info);
}

std::string stream_head(const swf::StreamHead& head, bool with_latency) {
    BitWriter w;
    w.u8(sound_format_byte(head.playback) & 0x0fu)
        .u8(sound_format_byte(head.format))
        .u16(head.samples_per_frame);
    if (head.format.code == swf::kSoundMp3 && with_latency)
        w.u16(static_cast<uint16_t>(head.latency_seek));
    return w.data();
}

std::string mp3_block(uint16_t sample_count, int16_t seek_samples, std::string_view frames) {
    BitWriter w;
    return w.u16(sample_count).u16(static_cast<uint16_t>(seek_samples)).bytes(frames).data();
}

std::string pcm16(const std::vector<int16_t>& samples) {
    BitWriter w;
    for (int16_t s : samples)
        w.u16(static_cast<uint16_t>(s));
    return w.data();
}

std::string pcm8(const std::vector<uint8_t>& samples) {
    return std::string(samples.begin(), samples.end());
}

AdpcmWriter::AdpcmWriter(int bits, bool stereo) : bits_(bits), stereo_(stereo) {
    out_.ub(static_cast<uint32_t>(bits - 2), 2);
}

AdpcmWriter& AdpcmWriter::packet(int16_t sample, uint32_t index, int16_t right_sample,
                                 uint32_t right_index) {
    out_.sb(sample, 16).ub(index, 6);
    if (stereo_) out_.sb(right_sample, 16).ub(right_index, 6);
    return *this;
}

AdpcmWriter& AdpcmWriter::code(uint32_t left, uint32_t right) {
    out_.ub(left, bits_);
    if (stereo_) out_.ub(right, bits_);
    return *this;
}

AdpcmWriter& AdpcmWriter::codes(size_t n, uint32_t value) {
    for (size_t i = 0; i < n; ++i)
        code(value, value);
    return *this;
}

AdpcmWriter& AdpcmWriter::raw_bits(uint32_t v, int bits) {
    out_.ub(v, bits);
    return *this;
}

} // namespace zefa::test
