// The movie's sound through real GStreamer pipelines ending in fake sinks that count what
// reaches them. MP3 frames are encoded at test time; every wait is bounded.

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound_writer.h"
#include "swf/swf_sound_output.h"
#include "swf_writer.h"

namespace zefa {
namespace {

using namespace std::chrono_literals;
using test::as_bytes;

template <class Done> bool wait_for(Done done, std::chrono::milliseconds limit = 5000ms) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// Mono 44.1 kHz MPEG-1 Layer III frames of a sine, 1152 samples each.
std::vector<std::string> mp3_frames(int count) {
    const std::string desc = "audiotestsrc num-buffers=" + std::to_string(count) +
                             " samplesperbuffer=1152 ! audio/x-raw,format=S16LE,rate=44100,"
                             "channels=1 ! lamemp3enc target=bitrate bitrate=64 cbr=true ! "
                             "mpegaudioparse ! appsink name=out sync=false";
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(desc.c_str(), &error);
    if (!pipeline) {
        ADD_FAILURE() << (error ? error->message : "no pipeline");
        if (error) g_error_free(error);
        return {};
    }
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    std::vector<std::string> frames;
    while (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND)) {
        GstMapInfo map;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            frames.emplace_back(reinterpret_cast<const char*>(map.data), map.size);
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return frames;
}

struct Seen {
    std::atomic<int> buffers{0};
    std::atomic<uint64_t> bytes{0};
    std::mutex mutex;
    std::vector<std::pair<GstClockTime, size_t>> times; // pts and size of each buffer
};

void on_handoff(GstElement*, GstBuffer* buffer, GstPad*, gpointer data) {
    auto* seen = static_cast<Seen*>(data);
    {
        std::lock_guard lock(seen->mutex);
        seen->times.emplace_back(GST_BUFFER_PTS(buffer), gst_buffer_get_size(buffer));
    }
    seen->bytes += gst_buffer_get_size(buffer);
    ++seen->buffers;
}

class Sound : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }

    ~Sound() override {
        output.reset(); // no handoff after this
        for (GstElement* sink : sinks)
            gst_object_unref(sink);
    }

    // Fake sinks that keep to the clock (sync) or take data as fast as it comes.
    void make_output(bool sync) {
        output = std::make_unique<SoundOutput>([this, sync] {
            GstElement* sink = gst_element_factory_make("fakesink", nullptr);
            g_object_set(sink, "sync", sync ? TRUE : FALSE, "signal-handoffs", TRUE, nullptr);
            g_signal_connect(sink, "handoff", G_CALLBACK(on_handoff), &seen);
            sinks.push_back(GST_ELEMENT(gst_object_ref(sink)));
            return sink;
        });
    }

    // The volume element of the pipeline the n-th sink is in; -1 when it is in none.
    double volume_of(size_t n) {
        GstObject* pipeline = gst_object_get_parent(GST_OBJECT(sinks.at(n)));
        if (!pipeline) return -1;
        GstElement* volume = gst_bin_get_by_name(GST_BIN(pipeline), "volume");
        double v = -1;
        if (volume) {
            g_object_get(volume, "volume", &v, nullptr);
            gst_object_unref(volume);
        }
        gst_object_unref(pipeline);
        return v;
    }

    // Stable: no buffer arrives over 300 ms.
    bool settles() {
        return wait_for([this] {
            const int before = seen.buffers;
            std::this_thread::sleep_for(300ms);
            return seen.buffers == before;
        });
    }

    Seen seen;
    std::vector<GstElement*> sinks;
    std::unique_ptr<SoundOutput> output;
};

swf::StreamHead mp3_head(int16_t latency = 0) {
    swf::StreamHead head;
    head.format = {swf::kSoundMp3, 44100, true, false};
    head.samples_per_frame = 2304;
    head.latency_seek = latency;
    return head;
}

// Two frames a block, as a movie at about 19 frames per second has them.
void push_mp3(SoundOutput& out, uint32_t key, const swf::StreamHead& head,
              const std::vector<std::string>& frames) {
    for (size_t i = 0; i + 1 < frames.size(); i += 2) {
        const std::string block = test::mp3_block(2304, 0, frames[i] + frames[i + 1]);
        out.stream_block(key, head, as_bytes(block));
    }
}

swf::SoundDef pcm_sound(uint16_t id, const std::string& data, int rate = 22050) {
    swf::SoundDef def;
    def.id = id;
    def.format = {swf::kSoundRawLe, rate, true, false};
    def.data = as_bytes(data);
    return def;
}

TEST_F(Sound, Mp3StreamPlaysHoldsAndResumes) {
    const std::vector<std::string> frames = mp3_frames(120); // about 3 s
    ASSERT_GE(frames.size(), 120u);                          // the encoder may flush one more
    make_output(true);
    push_mp3(*output, 1, mp3_head(), frames);
    EXPECT_EQ(output->streams(), 1u);
    ASSERT_TRUE(wait_for([&] { return seen.buffers > 3; }));

    output->pause(true);
    ASSERT_TRUE(settles()) << "still playing after pause";
    const int held = seen.buffers;
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(seen.buffers, held);

    output->pause(false);
    EXPECT_TRUE(wait_for([&] { return seen.buffers > held + 3; }));

    output->stream_stop(1);
    EXPECT_EQ(output->streams(), 0u);
    EXPECT_EQ(volume_of(0), -1); // the pipeline is gone
}

TEST_F(Sound, Mp3StreamSkipsLatency) {
    const std::vector<std::string> frames = mp3_frames(20);
    ASSERT_GE(frames.size(), 20u);
    make_output(false);
    push_mp3(*output, 1, mp3_head(1000), frames);
    // All but the skipped samples and possibly a last frame the decoder holds back.
    ASSERT_TRUE(wait_for([&] { return seen.bytes >= 2u * (18 * 1152 - 1000); }));
    std::lock_guard lock(seen.mutex);
    ASSERT_GE(seen.times.size(), 2u);
    const size_t first = seen.times[0].second / 2;
    EXPECT_EQ(seen.times[0].first, 0u);            // starts at once
    EXPECT_EQ((first + 1000) % 1152, 0u) << first; // 1000 samples short
    // Within the rounding of the parser's timestamps.
    EXPECT_NEAR(double(seen.times[1].first),
                double(gst_util_uint64_scale(first, GST_SECOND, 44100)), 2.0);
}

TEST_F(Sound, AdpcmStreamContinuesTimestamps) {
    swf::StreamHead head;
    head.format = {swf::kSoundAdpcm, 11025, true, false};
    head.samples_per_frame = 100;
    const std::string block =
        test::AdpcmWriter(5, false).packet(0, 0).codes(99, 3).data(); // 519 bits
    make_output(false);
    for (int i = 0; i < 3; ++i)
        output->stream_block(7, head, as_bytes(block));
    ASSERT_TRUE(wait_for([&] { return seen.bytes >= 3u * 100 * 2; }));
    std::lock_guard lock(seen.mutex);
    ASSERT_EQ(seen.times.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(seen.times[i].first, gst_util_uint64_scale(i * 100, GST_SECOND, 11025)) << i;
        EXPECT_EQ(seen.times[i].second, 200u);
    }
}

TEST_F(Sound, NewHeadRebuildsStream) {
    swf::StreamHead head;
    head.format = {swf::kSoundRawLe, 22050, true, true};
    const std::string block = test::pcm16(std::vector<int16_t>(200, 100));
    make_output(false);
    output->stream_block(3, head, as_bytes(block));
    head.format.stereo = false;
    output->stream_block(3, head, as_bytes(block));
    EXPECT_EQ(output->streams(), 1u);
    EXPECT_EQ(sinks.size(), 2u);
    EXPECT_EQ(volume_of(0), -1); // the first one was taken down
    EXPECT_EQ(volume_of(1), 1.0);
}

TEST_F(Sound, PcmEventPlaysItsLoopsAndIsReaped) {
    std::vector<int16_t> ramp(2205); // 0.1 s
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<int16_t>(i * 10);
    const std::string data = test::pcm16(ramp);
    make_output(true);
    swf::SoundInfo info;
    info.loops = 2;
    output->start_sound(pcm_sound(4, data), info);
    EXPECT_EQ(output->events(), 1u);
    ASSERT_TRUE(wait_for([&] {
        output->tick();
        return output->events() == 0;
    }));
    EXPECT_EQ(seen.bytes, 2u * data.size());
}

TEST_F(Sound, PausedOutputHoldsNewSounds) {
    const std::string data = test::pcm16(std::vector<int16_t>(2205, 1000));
    make_output(true);
    output->pause(true);
    output->start_sound(pcm_sound(4, data), {});
    std::this_thread::sleep_for(300ms);
    output->tick();
    EXPECT_EQ(seen.buffers, 0);
    EXPECT_EQ(output->events(), 1u);
    output->pause(false);
    EXPECT_TRUE(wait_for([&] { return seen.buffers > 0; }));
}

TEST_F(Sound, EventLimitAndSyncFlags) {
    const std::string data(5512 * 30, '\x80'); // 30 s of 8-bit silence: none ends here
    swf::SoundDef def = pcm_sound(0, data, 5512);
    def.format.sixteen_bit = false;
    make_output(true);
    for (uint16_t id = 0; id < 10; ++id) {
        def.id = id;
        output->start_sound(def, {});
    }
    EXPECT_EQ(output->events(), SoundOutput::kMaxEvents);
    EXPECT_EQ(output->events(0), 0u); // the oldest made room
    EXPECT_EQ(output->events(1), 0u);
    EXPECT_EQ(output->events(9), 1u);

    swf::SoundInfo info;
    info.no_multiple = true;
    output->start_sound(def, info);
    EXPECT_EQ(output->events(9), 1u);
    output->start_sound(def, {});
    EXPECT_EQ(output->events(9), 2u);
    info = {};
    info.sync_stop = true;
    output->start_sound(def, info);
    EXPECT_EQ(output->events(9), 0u);
    EXPECT_EQ(output->events(), SoundOutput::kMaxEvents - 2);

    def.format.code = swf::kSoundNellymoser;
    output->start_sound(def, {});
    EXPECT_EQ(output->events(9), 0u);

    output->clear();
    EXPECT_EQ(output->events(), 0u);
}

TEST_F(Sound, VolumeReachesEveryPipeline) {
    const std::string data = test::pcm16(std::vector<int16_t>(22050, 1000));
    make_output(true);
    output->set_volume(25);
    output->start_sound(pcm_sound(1, data), {});
    swf::StreamHead head;
    head.format = {swf::kSoundRawLe, 22050, true, false};
    output->stream_block(2, head, as_bytes(data));
    ASSERT_EQ(sinks.size(), 2u);
    EXPECT_NEAR(volume_of(0), 0.25, 1e-6);
    EXPECT_NEAR(volume_of(1), 0.25, 1e-6);
    output->set_volume(80);
    EXPECT_NEAR(volume_of(0), 0.8, 1e-6);
    EXPECT_NEAR(volume_of(1), 0.8, 1e-6);
    output->set_volume(250);
    EXPECT_NEAR(volume_of(1), 1.0, 1e-6);
    output->set_volume(-3);
    EXPECT_NEAR(volume_of(0), 0.0, 1e-6);
    EXPECT_EQ(output->volume(), 0);
}

TEST_F(Sound, GarbageIsSilent) {
    make_output(false);
    const std::string junk(300, '\x5a');
    output->stream_block(1, mp3_head(), as_bytes(junk));          // no MP3 frames in it
    output->stream_block(1, mp3_head(), as_bytes(junk).first(3)); // too short for a block
    swf::StreamHead nelly;
    nelly.format = {swf::kSoundNellymoser, 22050, true, false};
    output->stream_block(2, nelly, as_bytes(junk));
    EXPECT_EQ(output->streams(), 1u);
    swf::SoundDef mp3;
    mp3.format = mp3_head().format;
    mp3.data = as_bytes(junk);
    output->start_sound(mp3, {});
    ASSERT_TRUE(wait_for([&] {
        output->tick();
        return output->events() == 0; // reaped at its end of stream
    }));
    output->stop_all();
    EXPECT_EQ(output->streams(), 0u);
    EXPECT_EQ(seen.buffers, 0);
}

} // namespace
} // namespace zefa
