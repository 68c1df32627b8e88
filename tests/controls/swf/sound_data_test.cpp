// The sound tags read into values, and raw and ADPCM data decoded to 16-bit samples; expected
// ADPCM samples are worked out by hand from the step and index tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sound_writer.h"
#include "swf/swf_sound.h"
#include "swf_writer.h"

namespace zefa::swf {
namespace {

using test::AdpcmWriter;
using test::as_bytes;
using Samples = std::vector<int16_t>;

const SoundFormat kMp3{kSoundMp3, 44100, true, true};

TEST(SoundTags, FormatByteFields) {
    for (int rate : {5512, 11025, 22050, 44100})
        for (bool stereo : {false, true}) {
            const SoundFormat f{kSoundRawLe, rate, true, stereo};
            EXPECT_EQ(SoundFormat::from_byte(test::sound_format_byte(f)), f);
        }
    const SoundFormat f = SoundFormat::from_byte(0x2e); // MP3, 44.1 kHz, 16-bit, mono
    EXPECT_EQ(f.code, kSoundMp3);
    EXPECT_EQ(f.rate, 44100);
    EXPECT_TRUE(f.sixteen_bit);
    EXPECT_FALSE(f.stereo);
    EXPECT_EQ(SoundFormat::from_byte(0x61).channels(), 2);
    EXPECT_FALSE(SoundFormat::from_byte(0x60).playable()); // Nellymoser
    EXPECT_FALSE(SoundFormat::from_byte(0xb0).playable()); // Speex
}

TEST(SoundTags, DefineSound) {
    const std::string raw =
        test::define_sound(7, {kSoundRawLe, 22050, true, true}, 2, test::pcm16({1, 2, 3, 4}));
    Stream s(as_bytes(raw));
    SoundDefResult r = decode_define_sound(s);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.sound.id, 7);
    EXPECT_EQ(r.sound.format.rate, 22050);
    EXPECT_EQ(r.sound.sample_count, 2u);
    EXPECT_EQ(r.sound.data.size(), 8u);
    EXPECT_EQ(r.sound.data.data(), as_bytes(raw).data() + 7); // into the tag, not a copy

    const std::string mp3 = test::define_sound(9, kMp3, 1152, "\xff\xfb\x90\x64", -576);
    Stream m(as_bytes(mp3));
    r = decode_define_sound(m);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.sound.seek_samples, -576);
    EXPECT_EQ(std::string(r.sound.data.begin(), r.sound.data.end()), "\xff\xfb\x90\x64");

    for (size_t cut : {0, 3, 6}) {
        Stream c(as_bytes(raw).first(cut));
        EXPECT_FALSE(decode_define_sound(c).ok()) << cut;
    }
    Stream no_seek(as_bytes(mp3).first(8));
    EXPECT_FALSE(decode_define_sound(no_seek).ok());
}

TEST(SoundTags, StartSoundInfo) {
    SoundInfo in;
    in.sync_stop = true;
    in.in_point = 100;
    in.out_point = 5000;
    in.loops = 3;
    in.envelope = {{0, 0, 32768}, {44100, 32768, 0}};
    const std::string data = test::start_sound(12, in);
    Stream s(as_bytes(data));
    const std::optional<SoundStart> start = decode_start_sound(s);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->id, 12);
    EXPECT_TRUE(start->info.sync_stop);
    EXPECT_FALSE(start->info.no_multiple);
    EXPECT_EQ(start->info.in_point, 100u);
    EXPECT_EQ(start->info.out_point, 5000u);
    EXPECT_EQ(start->info.loops, 3);
    EXPECT_EQ(start->info.envelope, in.envelope);
    EXPECT_TRUE(s.at_end());

    // Every cut loses the record rather than reading half of it.
    for (size_t cut = 0; cut < data.size(); ++cut) {
        Stream c(as_bytes(data).first(cut));
        EXPECT_FALSE(decode_start_sound(c)) << cut;
    }

    // A stated loop count of 0 plays once; flags alone are a whole record.
    const std::string zero_loops("\x14\x00\x00", 3); // no multiple, has loops, 0
    Stream z(as_bytes(zero_loops));
    const std::optional<SoundInfo> info = decode_sound_info(z);
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->no_multiple);
    EXPECT_EQ(info->loops, 1);
    EXPECT_FALSE(info->in_point);
}

TEST(SoundTags, EnvelopeCountBounded) {
    SoundInfo in;
    for (uint32_t i = 0; i < 200; ++i)
        in.envelope.push_back({i * 10, 100, 200});
    std::string data = test::sound_info(in) + "after";
    Stream s(as_bytes(data));
    const std::optional<SoundInfo> info = decode_sound_info(s);
    ASSERT_TRUE(info);
    ASSERT_EQ(info->envelope.size(), kMaxEnvelopePoints);
    EXPECT_EQ(info->envelope.back().pos44, (kMaxEnvelopePoints - 1) * 10);
    EXPECT_EQ(s.remaining(), 5u); // the dropped points are still read past

    // A count the data cannot hold is refused before anything is kept.
    data = "\x08\xff" + std::string(16, '\0');
    Stream short_env(as_bytes(data));
    EXPECT_FALSE(decode_sound_info(short_env));
}

TEST(SoundTags, StreamHead) {
    StreamHead mp3;
    mp3.playback = {kSoundRaw, 44100, true, true};
    mp3.format = {kSoundMp3, 22050, true, false};
    mp3.samples_per_frame = 1837;
    mp3.latency_seek = 1105;
    std::string data = test::stream_head(mp3);
    Stream s(as_bytes(data));
    std::optional<StreamHead> head = decode_stream_head(kTagSoundStreamHead, s);
    ASSERT_TRUE(head);
    EXPECT_EQ(*head, mp3);

    // Without its latency the head still stands, with none to skip.
    data = test::stream_head(mp3, false);
    Stream no_latency(as_bytes(data));
    head = decode_stream_head(kTagSoundStreamHead2, no_latency);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->latency_seek, 0);
    EXPECT_EQ(head->samples_per_frame, 1837);

    // Raw formats in either head; the latency is never read for them.
    StreamHead raw;
    raw.format = {kSoundRawLe, 11025, false, true};
    raw.samples_per_frame = 919;
    data = test::stream_head(raw) + "\x01\x02";
    Stream r(as_bytes(data));
    head = decode_stream_head(kTagSoundStreamHead, r);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->format, raw.format);
    EXPECT_EQ(head->latency_seek, 0);

    Stream cut(as_bytes(data).first(3));
    EXPECT_FALSE(decode_stream_head(kTagSoundStreamHead2, cut));
    Stream other(as_bytes(data));
    EXPECT_FALSE(decode_stream_head(kTagSoundStreamBlock, other));
}

TEST(SoundTags, StreamBlock) {
    const std::string data = test::mp3_block(1152, -300, "frames");
    std::optional<StreamBlock> b = decode_stream_block(kMp3, as_bytes(data));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->sample_count, 1152);
    EXPECT_EQ(b->seek_samples, -300);
    EXPECT_EQ(std::string(b->data.begin(), b->data.end()), "frames");
    EXPECT_FALSE(decode_stream_block(kMp3, as_bytes(data).first(3)));

    // Other formats are their data as they are, even when it looks like an MP3 block.
    b = decode_stream_block({kSoundAdpcm, 22050, true, false}, as_bytes(data));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->data.size(), data.size());
    EXPECT_EQ(b->sample_count, 0);
}

TEST(SoundPcm, EightBitIsUnsigned) {
    const std::string data = test::pcm8({0, 128, 255, 127});
    EXPECT_EQ(decode_pcm({kSoundRaw, 11025, false, false}, as_bytes(data), 100),
              (Samples{-32768, 0, 32512, -256}));
    // Stereo: an incomplete last pair is dropped, and the cap counts pairs.
    const std::string odd = test::pcm8({0, 255, 128});
    EXPECT_EQ(decode_pcm({kSoundRawLe, 11025, false, true}, as_bytes(odd), 100),
              (Samples{-32768, 32512}));
    EXPECT_EQ(decode_pcm({kSoundRaw, 11025, false, false}, as_bytes(data), 2),
              (Samples{-32768, 0}));
}

TEST(SoundPcm, SixteenBitLittleEndian) {
    const Samples in{0, 1, -1, 32767, -32768, 258};
    std::string data = test::pcm16(in);
    EXPECT_EQ(data.substr(10, 2), "\x02\x01"); // the writer is little-endian
    for (uint8_t code : {kSoundRaw, kSoundRawLe})
        EXPECT_EQ(decode_pcm({code, 44100, true, false}, as_bytes(data), 100), in);
    data += '\x7f'; // half a sample
    EXPECT_EQ(decode_pcm({kSoundRawLe, 44100, true, false}, as_bytes(data), 100), in);
    EXPECT_EQ(decode_pcm({kSoundRawLe, 44100, true, true}, as_bytes(data), 2),
              (Samples{0, 1, -1, 32767}));
    EXPECT_TRUE(decode_pcm({kSoundRawLe, 44100, true, true}, as_bytes(data), 0).empty());
}

TEST(SoundAdpcm, TwoBitMono) {
    // index 0 (step 7): code 1 → +3+7, index 2 (step 9): code 3 → -(4+9), index 4 (step 11):
    // code 0 → +5, index 3 (step 10): code 2 → -5. 32 bits, no padding.
    const std::string data =
        AdpcmWriter(2, false).packet(0, 0).code(1).code(3).code(0).code(2).data();
    EXPECT_EQ(decode_adpcm(as_bytes(data), false, 100), (Samples{0, 10, -3, 2, -3}));
}

TEST(SoundAdpcm, FourBitMono) {
    // step 19: 0111 → 2+19+9+4; step 41: 1111 → -(5+41+20+10); step 88: 1000 → -11;
    // step 80: 0100 → 10+80.
    const std::string data =
        AdpcmWriter(4, false).packet(1000, 10).code(7).code(15).code(8).code(4).data();
    EXPECT_EQ(decode_adpcm(as_bytes(data), false, 100), (Samples{1000, 1034, 958, 947, 1037}));
}

TEST(SoundAdpcm, FiveBitAndTrailingBits) {
    // step 7: 01111 → 0+7+3+1+0, index +16; step 34: 10001 → -(2+4), index -1; step 31:
    // 00000 → +1. 39 bits: the 1 bit of padding is no code.
    std::string data = AdpcmWriter(5, false).packet(0, 0).code(15).code(17).code(0).data();
    EXPECT_EQ(data.size(), 5u);
    EXPECT_EQ(decode_adpcm(as_bytes(data), false, 100), (Samples{0, 11, 5, 6}));
    // 29 bits: 3 bits of padding, too few for a code.
    data = AdpcmWriter(5, false).packet(0, 0).code(15).data();
    EXPECT_EQ(decode_adpcm(as_bytes(data), false, 100), (Samples{0, 11}));
}

TEST(SoundAdpcm, TwoBitStereo) {
    // Left from 0: +10, then step 9: +13. Right from 100: -10, then step 9: +4.
    const std::string data = AdpcmWriter(2, true).packet(0, 0, 100, 0).code(1, 3).code(1, 0).data();
    EXPECT_EQ(decode_adpcm(as_bytes(data), true, 100), (Samples{0, 100, 10, 90, 23, 94}));
    // The same bits read as mono are other samples: channels really alternate.
    EXPECT_NE(decode_adpcm(as_bytes(data), false, 100).size(), 6u);
}

TEST(SoundAdpcm, ClampsSampleAndIndex) {
    // step 32767 at index 88: 0111 adds 61436, 1111 takes as much.
    std::string data = AdpcmWriter(4, false).packet(32760, 88).code(7).code(7).data();
    EXPECT_EQ(decode_adpcm(as_bytes(data), false, 100), (Samples{32760, 32767, 32767}));
    data = AdpcmWriter(4, false).packet(-32760, 88).code(15).code(15).data();
    EXPECT_EQ(decode_adpcm(as_bytes(data), false, 100), (Samples{-32760, -32768, -32768}));
    // Index 63 (the most six bits give) plus 8 stays in the table.
    data = AdpcmWriter(4, false).packet(0, 63).code(4).code(4).code(4).code(4).data();
    EXPECT_EQ(decode_adpcm(as_bytes(data), false, 100).size(), 5u);
}

TEST(SoundAdpcm, PacketsOf4096) {
    // Code 0 at index 0 adds 3 and keeps the index: sample k of the first packet is 3k.
    const std::string data = AdpcmWriter(2, false)
                                 .packet(0, 0)
                                 .codes(4095, 0)
                                 .packet(5000, 20) // step 50
                                 .code(1)          // +25+50, index 22 (step 60)
                                 .code(0)          // +30
                                 .data();
    const Samples out = decode_adpcm(as_bytes(data), false, 10000);
    ASSERT_EQ(out.size(), 4099u);
    EXPECT_EQ(out[4095], 3 * 4095);
    EXPECT_EQ(out[4096], 5000);
    EXPECT_EQ(out[4097], 5075);
    EXPECT_EQ(out[4098], 5105);

    // Stereo packets count frames, not samples.
    const std::string stereo =
        AdpcmWriter(2, true).packet(0, 0, 0, 0).codes(4095, 0).packet(-7, 0, 7, 0).data();
    const Samples s = decode_adpcm(as_bytes(stereo), true, 10000);
    ASSERT_EQ(s.size(), 2u * 4097);
    EXPECT_EQ(s[2 * 4096], -7);
    EXPECT_EQ(s[2 * 4096 + 1], 7);
}

TEST(SoundAdpcm, CutHeaderAfterFullPacketIgnored) {
    // A full packet is 8214 bits; 18 more make whole bytes and cannot be a packet header.
    const std::string data =
        AdpcmWriter(2, false).packet(0, 0).codes(4095, 0).raw_bits(0x3ffff, 18).data();
    ASSERT_EQ(data.size(), 1029u);
    EXPECT_EQ(decode_adpcm(as_bytes(data), false, 10000).size(), 4096u);
}

TEST(SoundAdpcm, OutputCap) {
    const std::string data = AdpcmWriter(2, true).packet(0, 0, 0, 0).codes(4095, 1).data();
    EXPECT_EQ(decode_adpcm(as_bytes(data), true, 3).size(), 6u);
    EXPECT_EQ(decode_adpcm(as_bytes(data), true, 1).size(), 2u);
    EXPECT_TRUE(decode_adpcm(as_bytes(data), true, 0).empty());
    // A capped decode is the start of the whole one.
    const Samples whole = decode_adpcm(as_bytes(data), true, 10000);
    const Samples part = decode_adpcm(as_bytes(data), true, 1000);
    ASSERT_EQ(part.size(), 2000u);
    EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin()));
}

TEST(SoundAdpcm, ShortAndGarbageData) {
    for (size_t n = 0; n < 3; ++n)
        EXPECT_TRUE(decode_adpcm(as_bytes(std::string(n, '\xff')), false, 100).empty()) << n;
    // Any bytes decode to no more frames than their bits can hold.
    std::string garbage;
    for (int i = 0; i < 3000; ++i)
        garbage.push_back(static_cast<char>(i * 131 + 7));
    for (bool stereo : {false, true}) {
        const Samples out = decode_adpcm(as_bytes(garbage), stereo, 1u << 20);
        EXPECT_EQ(out.size() % (stereo ? 2 : 1), 0u);
        EXPECT_LE(out.size(), garbage.size() * 8 / 2);
        EXPECT_FALSE(out.empty());
    }
}

TEST(SoundDecode, WholeSoundTrimmedToItsCount) {
    const std::string data = test::pcm16({1, 2, 3, 4, 5, 6});
    SoundDef def;
    def.format = {kSoundRawLe, 22050, true, true};
    def.data = as_bytes(data);
    def.sample_count = 2;
    std::optional<Pcm> pcm = decode_sound(def);
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->channels, 2);
    EXPECT_EQ(pcm->rate, 22050);
    EXPECT_EQ(pcm->samples, (Samples{1, 2, 3, 4}));
    def.sample_count = 0; // says nothing: all of it
    EXPECT_EQ(decode_sound(def)->frames(), 3u);
    EXPECT_EQ(decode_sound(def, 1)->frames(), 1u);
    def.format.code = kSoundMp3;
    EXPECT_FALSE(decode_sound(def));
    def.format.code = kSoundNellymoser;
    EXPECT_FALSE(decode_sound(def));
    EXPECT_TRUE(decode_samples(def.format, def.data, 100).empty());
}

TEST(SoundDecode, InAndOutPoints) {
    Pcm pcm;
    pcm.rate = 11025; // a quarter of 44.1 kHz
    for (int i = 0; i < 100; ++i)
        pcm.samples.push_back(static_cast<int16_t>(i));
    SoundInfo info;
    info.in_point = 40;
    info.out_point = 200;
    Pcm cut = pcm;
    apply_sound_info(cut, info);
    ASSERT_EQ(cut.samples.size(), 40u);
    EXPECT_EQ(cut.samples.front(), 10);
    EXPECT_EQ(cut.samples.back(), 49);

    info.out_point = 20; // before the in point
    cut = pcm;
    apply_sound_info(cut, info);
    EXPECT_TRUE(cut.samples.empty());

    info.in_point.reset();
    info.out_point = 0xffffffff;
    cut = pcm;
    apply_sound_info(cut, info);
    EXPECT_EQ(cut.samples, pcm.samples);
}

TEST(SoundDecode, EnvelopeMakesMonoStereo) {
    Pcm pcm;
    pcm.rate = 44100;
    pcm.samples = {1000, 1000, 1000, 1000};
    SoundInfo info;
    info.envelope = {{0, 0, 32768}, {2, 32768, 0}};
    apply_sound_info(pcm, info);
    EXPECT_EQ(pcm.channels, 2);
    EXPECT_EQ(pcm.samples, (Samples{0, 1000, 500, 500, 1000, 0, 1000, 0}));

    // Positions are 44.1 kHz samples whatever the rate: at 22050 frame 1 is position 2.
    Pcm half;
    half.rate = 22050;
    half.channels = 2;
    half.samples = {-2000, 2000, -2000, 2000};
    info.envelope = {{0, 32768, 32768}, {4, 0, 0}};
    apply_sound_info(half, info);
    EXPECT_EQ(half.samples, (Samples{-2000, 2000, -1000, 1000}));
}

} // namespace
} // namespace zefa::swf
