// Inside the library, linked to its objects: the seek stepping rule seek by seek, the generator,
// bus events, volume and release order, bounded state changes and the frame size limit.
#include "graph.h"
#include "media.h"
#include "media_time.h"
#include "seek_steps.h"
#include "shuffle.h"
#include "velmo.h"

#include "media_common/bounded_state.h"
#include "media_common/frame_guard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

constexpr int64_t s(int64_t seconds) {
    return seconds * 10'000'000;
}

// A stream with key frames at the given times: a seek lands on the key frame at or before its
// aim (or at or after it, with snap_after); an aim before 0 counts as 0.
class FakeStream final : public velmo::Seeker {
  public:
    FakeStream(std::vector<int64_t> keys, int64_t at, bool snap_after)
        : keys_(std::move(keys)), at_(at), snap_after_(snap_after) {}
    bool position(int64_t& units) override {
        units = at_;
        return true;
    }
    void seek(int64_t units) override {
        seeks.push_back(units);
        const int64_t aim = std::max<int64_t>(units, 0);
        at_ = snap_after_ ? *std::lower_bound(keys_.begin(), keys_.end(), aim)
                          : *(std::upper_bound(keys_.begin(), keys_.end(), aim) - 1);
    }
    std::vector<int64_t> seeks;

  private:
    std::vector<int64_t> keys_;
    int64_t at_;
    bool snap_after_;
};

struct SeekCase {
    const char* what;
    std::vector<int64_t> keys;
    bool snap_after;
    int64_t start;
    int32_t mode, amount;
    int64_t stop, result;
    std::vector<int64_t> seeks;
};

TEST(SeekSteps, FollowTheRuleSeekBySeek) {
    const std::vector<SeekCase> cases = {
        {"absolute", {0, s(20), s(40)}, false, s(3), 0, 30000, s(60), s(20), {s(30)}},
        {"forward past the end", {0, s(5)}, false, s(9), 1, 5000, s(12), s(12) - 1000, {}},
        {"forward retry",
         {0, s(20)},
         false,
         s(1),
         1,
         5000,
         s(60),
         s(20),
         {s(6), s(11), s(16), s(21)}},
        {"forward retry into the end", {0}, false, 0, 1, 5000, s(12), s(12) - 1000, {s(5), s(10)}},
        {"backward before 0", {0, s(5)}, false, s(2), -1, 5000, s(12), 0, {-s(3)}},
        {"backward retry", {0, s(10)}, true, s(10), -1, 3000, s(20), 0, {s(7), s(4), s(1), -s(2)}},
        {"unknown mode", {0}, false, s(4), 7, 1000, s(12), s(4), {}},
    };
    for (const SeekCase& c : cases) {
        FakeStream stream(c.keys, c.start, c.snap_after);
        EXPECT_EQ(velmo::seek_steps(stream, c.mode, c.amount, c.stop), c.result) << c.what;
        EXPECT_EQ(stream.seeks, c.seeks) << c.what;
    }
}

TEST(SeekSteps, ForwardGivesUpAfterElevenSeeks) {
    FakeStream stream({0}, s(1), false);
    EXPECT_EQ(velmo::seek_steps(stream, 1, 1000, s(100)), 0);
    ASSERT_EQ(stream.seeks.size(), 11u);
    EXPECT_EQ(stream.seeks.back(), s(12));
}

TEST(MediaTime, MillisecondsTruncateTowardZeroAndKeepTheLow32Bits) {
    EXPECT_EQ(velmo::ms_from_units(29'999'000), 2999);
    EXPECT_EQ(velmo::ms_from_units(-15'000), -1);
    EXPECT_EQ(velmo::ms_from_units(velmo::units_from_ms(INT32_MAX) + 10'000), INT32_MIN);
}

TEST(Rand15, FollowsTheCStandardExample) {
    velmo::Rand15 rand(1);
    for (int32_t expected : {16838, 5758, 10113, 17515})
        EXPECT_EQ(rand.next(), expected);
}

class HeldGraph : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(PLY(0, velmo_test::media("clip.wav").c_str()), 1);
        drain();
    }
    void TearDown() override { DS_STOP(); }
    static void drain() {
        while (gst_bus_have_pending(velmo::graph().bus))
            DS_END();
    }
    static void post(GstMessage* message) { gst_bus_post(velmo::graph().bus, message); }
    static GstObject* pipeline() { return GST_OBJECT(velmo::graph().pipeline); }
};

TEST_F(HeldGraph, OtherEventsAreTakenOneAtATimeAndReportNoEnd) {
    post(gst_message_new_warning(pipeline(), nullptr, "first"));
    post(gst_message_new_latency(pipeline()));
    EXPECT_EQ(DS_END(), 0);
    EXPECT_TRUE(gst_bus_have_pending(velmo::graph().bus));
    EXPECT_EQ(DS_END(), 0);
    EXPECT_FALSE(gst_bus_have_pending(velmo::graph().bus));
}

TEST_F(HeldGraph, EndOfStreamOrAnErrorIsReportedOnceUntilASeek) {
    post(gst_message_new_eos(pipeline()));
    post(gst_message_new_eos(pipeline()));
    EXPECT_EQ(DS_END(), 1);
    EXPECT_EQ(DS_END(), 0);
    DS_SEEK(0, 1000);
    drain();
    GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "broken");
    post(gst_message_new_error(pipeline(), error, nullptr));
    g_error_free(error);
    post(gst_message_new_eos(pipeline()));
    EXPECT_EQ(DS_END(), 1);
    EXPECT_EQ(DS_END(), 0);
}

TEST_F(HeldGraph, VolumeFollowsACubicScale) {
    auto gain = [] {
        gdouble volume = -1;
        g_object_get(velmo::graph().pipeline, "volume", &volume, nullptr);
        return volume;
    };
    const std::pair<int32_t, double> cases[] = {{50, 0.125}, {100, 1}, {0, 0}, {250, 1}, {-9, 0}};
    for (auto [percent, expected] : cases) {
        EXPECT_EQ(DS_VOLUME(percent), 0);
        EXPECT_NEAR(gain(), expected, 1e-9) << percent;
    }
}

TEST_F(HeldGraph, TeardownStopsThePipelineBeforeReleasingIt) {
    DS_RUN();
    GstElement* kept = GST_ELEMENT(gst_object_ref(velmo::graph().pipeline));
    ASSERT_EQ(gst_element_get_state(kept, nullptr, nullptr, 5 * GST_SECOND),
              GST_STATE_CHANGE_SUCCESS);
    DS_STOP();
    EXPECT_EQ(velmo::graph().pipeline, nullptr);
    EXPECT_EQ(GST_STATE(kept), GST_STATE_NULL);
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(kept), 1);
    gst_object_unref(kept);
}

TEST(FailedGraph, StaysIdleWhateverIsAsked) {
    ASSERT_EQ(PLY(0, velmo_test::media("garbage.avi").c_str()), VELMO_E_UNSUPPORTED);
    ASSERT_NE(velmo::graph().pipeline, nullptr); // held until the next teardown
    DS_RUN();
    DS_SEEK(0, 1000);
    EXPECT_EQ(GST_STATE(velmo::graph().pipeline), GST_STATE_NULL);
    EXPECT_EQ(GST_STATE_PENDING(velmo::graph().pipeline), GST_STATE_VOID_PENDING);
    DS_STOP();
    EXPECT_EQ(velmo::graph().pipeline, nullptr);
}

// A streaming thread that does not come back (a decoder busy for seconds, a device that hangs)
// until the test lets it go.
struct StuckStream {
    std::mutex mutex;
    std::condition_variable changed;
    bool inside = false, released = false;

    static GstPadProbeReturn hold(GstPad*, GstPadProbeInfo*, gpointer data) {
        auto* self = static_cast<StuckStream*>(data);
        std::unique_lock lock(self->mutex);
        self->inside = true;
        self->changed.notify_all();
        self->changed.wait(lock, [&] { return self->released; });
        return GST_PAD_PROBE_OK;
    }
    void release() {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

TEST(BoundedState, AStopStuckOnAStreamingThreadIsLeftToFinishInTheBackground) {
    GstElement* pipeline = gst_parse_launch("fakesrc ! fakesink name=out", nullptr);
    ASSERT_NE(pipeline, nullptr);
    StuckStream stuck;
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    GstPad* pad = gst_element_get_static_pad(sink, "sink");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, StuckStream::hold, &stuck, nullptr);
    gst_object_unref(pad);
    gst_object_unref(sink);

    const auto quick =
        zefa::media_common::set_state_within(pipeline, GST_STATE_PLAYING, 5 * GST_SECOND);
    EXPECT_EQ(quick.late_done, nullptr);
    EXPECT_NE(quick.result, GST_STATE_CHANGE_FAILURE);
    {
        std::unique_lock lock(stuck.mutex);
        ASSERT_TRUE(
            stuck.changed.wait_for(lock, std::chrono::seconds(10), [&] { return stuck.inside; }));
    }

    const auto late =
        zefa::media_common::set_state_within(pipeline, GST_STATE_NULL, 100 * GST_MSECOND);
    ASSERT_NE(late.late_done, nullptr);
    EXPECT_FALSE(late.late_done->load());
    gst_object_unref(pipeline); // the background holds the pipeline from now on

    stuck.release();
    EXPECT_TRUE(velmo_test::eventually([&] { return late.late_done->load(); }));
}

TEST(BoundedState, AChangeInTimeLeavesTheCallersReferenceAlone) {
    GstElement* pipeline = gst_parse_launch("fakesrc ! fakesink", nullptr);
    ASSERT_NE(pipeline, nullptr);
    for (GstState state : {GST_STATE_PAUSED, GST_STATE_NULL}) {
        const auto done = zefa::media_common::set_state_within(pipeline, state, 5 * GST_SECOND);
        EXPECT_EQ(done.late_done, nullptr);
        EXPECT_NE(done.result, GST_STATE_CHANGE_FAILURE);
    }
    EXPECT_EQ(GST_STATE(pipeline), GST_STATE_NULL);
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(pipeline), 1); // the release below is the last
    gst_object_unref(pipeline);
}

TEST(FrameGuard, TheLimitIsOnEachSideAndOnThePixelCount) {
    using zefa::media_common::frame_fits;
    EXPECT_TRUE(frame_fits(1, 1));
    EXPECT_TRUE(frame_fits(16384, 8192));   // 2^27 pixels exactly
    EXPECT_FALSE(frame_fits(16384, 8193));  // one row over the pixel count
    EXPECT_FALSE(frame_fits(16385, 1));     // too wide
    EXPECT_FALSE(frame_fits(1, 16385));     // too tall
    EXPECT_FALSE(frame_fits(30000, 30000)); // 900 million
    EXPECT_FALSE(frame_fits(0, 240));
    EXPECT_FALSE(frame_fits(320, -240));
}

} // namespace
