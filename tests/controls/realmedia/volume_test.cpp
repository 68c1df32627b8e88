// The volume belongs to the console: it reaches the clip playing and every clip after it.
#include "realmedia/clip.h"
#include "realmedia/console.h"
#include "support.h"

#include <gtest/gtest.h>

namespace {

using namespace realmedia_test;
using zefa::realmedia::Console;

class NoPicture final : public zefa::realmedia::PictureSurface {
  public:
    unsigned long window() override { return 0; }
    void show_picture(bool) override {}
};

TEST(Volume, ReachesThePipelineOnTheCubicScaleAndOutlivesTheClip) {
    NoPicture picture;
    Console console(picture);
    console.set_volume(50);
    console.set_source(media("clip.rm"));
    ASSERT_NE(console.clip(), nullptr);
    EXPECT_NEAR(console.clip()->volume(), 0.5, 0.001);
    console.set_volume(80);
    EXPECT_NEAR(console.clip()->volume(), 0.8, 0.001);

    console.set_source(media("clip.avi"));
    EXPECT_NEAR(console.clip()->volume(), 0.8, 0.001);
    console.set_volume(140);
    EXPECT_NEAR(console.clip()->volume(), 1.0, 0.001);
    console.set_volume(-7);
    EXPECT_NEAR(console.clip()->volume(), 0.0, 0.001);
}

} // namespace
