// Run, pause, positions, the end and seeking on real GStreamer without a display.
#include "media.h"
#include "velmo.h"

#include <gtest/gtest.h>

namespace {

using namespace velmo_test;

class Transport : public ::testing::Test {
  protected:
    void TearDown() override { DS_STOP(); }
};

TEST_F(Transport, PositionStaysUntilRunThenAdvancesAndHoldsOnPause) {
    ASSERT_EQ(PLY(0, media("clip.avi").c_str()), 1);
    const int32_t start = DS_POS();
    wait_ms(300);
    EXPECT_EQ(DS_POS(), start);
    EXPECT_EQ(DS_RUN(), 0);
    ASSERT_TRUE(eventually([] { return DS_POS() >= 500; }));
    EXPECT_EQ(DS_PAUSE(), 0);
    ASSERT_TRUE(eventually([] {
        const int32_t before = DS_POS();
        wait_ms(100);
        return DS_POS() == before;
    }));
    const int32_t held = DS_POS();
    wait_ms(300);
    EXPECT_EQ(DS_POS(), held);
    EXPECT_LT(held, DS_LEN());
}

TEST_F(Transport, EndIsReportedOnceAfterTheClipEndsAndAgainAfterSeekingBack) {
    ASSERT_EQ(PLY(0, media("clip.wav").c_str()), 1);
    DS_RUN();
    int ends = 0;
    ASSERT_TRUE(eventually([&] { return (ends += DS_END()) > 0; }, 20));
    EXPECT_GE(DS_POS(), DS_LEN() - 100);
    for (int tick = 0; tick < 40; ++tick, wait_ms(20))
        ends += DS_END();
    EXPECT_EQ(ends, 1);
    DS_SEEK(0, 2000);
    EXPECT_TRUE(eventually([] { return DS_END() == 1; }, 20));
}

// far_keys.mp4: 12 s with key frames at 0, 5 and 10 s only.
class FarKeys : public Transport {
  protected:
    void SetUp() override { ASSERT_EQ(PLY(0, media("far_keys.mp4").c_str()), 1); }
};

TEST_F(FarKeys, AbsoluteSeekLandsOnTheKeyFrameAtOrBeforeTheTarget) {
    EXPECT_EQ(DS_SEEK(0, 7000), 5000);
    EXPECT_EQ(DS_POS(), 5000);
    EXPECT_EQ(DS_SEEK(0, 10000), 10000);
    EXPECT_EQ(DS_POS(), 10000);
}

TEST_F(FarKeys, ForwardStepRetriesUntilAKeyFrameAheadIsReached) {
    EXPECT_EQ(DS_SEEK(1, 1000), 5000); // 1, 2, 3 and 4 s snap back to 0
    EXPECT_EQ(DS_POS(), 5000);
    EXPECT_EQ(DS_SEEK(1, 2000), 10000);
    EXPECT_EQ(DS_POS(), 10000);
}

TEST_F(FarKeys, ForwardStepPastTheEndReportsTheEndWithoutSeeking) {
    ASSERT_EQ(DS_SEEK(0, 10000), 10000);
    const int32_t length = DS_LEN(), result = DS_SEEK(1, 5000);
    EXPECT_GE(result, length - 1); // 0.1 ms before the end, truncated
    EXPECT_LE(result, length);
    EXPECT_EQ(DS_POS(), 10000);
}

TEST_F(FarKeys, BackwardStepBeforeTheStartLandsAtZero) {
    ASSERT_EQ(DS_SEEK(0, 5000), 5000);
    EXPECT_EQ(DS_SEEK(-1, 7000), 0);
    EXPECT_EQ(DS_POS(), 0);
    EXPECT_EQ(DS_SEEK(-1, 5000), 0);
}

TEST_F(FarKeys, UnknownModeReportsThePositionWithoutSeeking) {
    ASSERT_EQ(DS_SEEK(0, 5000), 5000);
    EXPECT_EQ(DS_SEEK(7, 1000), 5000);
    EXPECT_EQ(DS_SEEK(2, -3000), 5000);
    EXPECT_EQ(DS_POS(), 5000);
}

TEST_F(FarKeys, SeekWhilePlayingContinuesFromTheKeyFrame) {
    DS_RUN();
    ASSERT_TRUE(eventually([] { return DS_POS() >= 300; }));
    EXPECT_EQ(DS_SEEK(1, 1000), 5000);
    EXPECT_TRUE(eventually([] { return DS_POS() > 5200; }));
}

} // namespace
