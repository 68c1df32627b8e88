// PLY and DS_STOP on real GStreamer without a display: media kinds, bad input, teardown.
#include "media.h"
#include "velmo.h"

#include <gst/gst.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace velmo_test;
namespace fs = std::filesystem;

struct Medium {
    std::string file;
    int32_t width, height;
};
void PrintTo(const Medium& m, std::ostream* out) {
    *out << m.file;
}

// Five folders of 60 characters: longer than 255 bytes in all.
std::string long_path() {
    std::string path = "long";
    for (int i = 1; i <= 5; ++i)
        path += "/" + std::string(59, '0') + std::to_string(i);
    return path + "/clip.avi";
}

class PlyPerKind : public ::testing::TestWithParam<Medium> {};

TEST_P(PlyPerKind, PrerollsPausedAtTheStartWithTheSourceSize) {
    ASSERT_EQ(PLY(0, media(GetParam().file).c_str()), 1);
    EXPECT_EQ(DS_W(), GetParam().width);
    EXPECT_EQ(DS_H(), GetParam().height);
    EXPECT_GE(DS_LEN(), 2900); // the generator makes 3 s clips
    EXPECT_LE(DS_LEN(), 3200);
    EXPECT_LE(DS_POS(), 200); // an MPEG program stream reports its first timestamp (~140 ms)
    EXPECT_EQ(DS_STOP(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Media, PlyPerKind,
    ::testing::Values(Medium{"clip.avi", 320, 240}, Medium{"clip.mpg", 320, 240},
                      Medium{"clip.mov", 320, 240}, Medium{"clip.ogg", 320, 240},
                      Medium{"clip.mp4", 320, 240}, Medium{"clip640.avi", 640, 480},
                      Medium{"clip.wav", 0, 0}, Medium{"clip.mp3", 0, 0},
                      Medium{long_path(), 320, 240}, Medium{"caf\xe9.avi", 320, 240}));

TEST(Ply, SoundOnlyMediumPlaysWithoutPicture) {
    ASSERT_EQ(PLY(0, media("clip.mp3").c_str()), 1);
    EXPECT_EQ(DS_W() + DS_H(), 0);
    EXPECT_EQ(DS_VIEW(1), 0);
    EXPECT_EQ(DS_ZOOM(640, 480), 1);
    DS_RUN();
    EXPECT_TRUE(eventually([] { return DS_POS() > 300; }));
    EXPECT_EQ(DS_STOP(), 1);
}

// How many descriptors of the process name path (a graph's file source keeps its file open).
int open_descriptors_of(const std::string& path) {
    int count = 0;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ignored;
        count += fs::read_symlink(fd.path(), ignored) == fs::canonical(path);
    }
    return count;
}

TEST(Ply, SecondPlyReleasesTheFirstGraph) {
    ASSERT_EQ(PLY(0, media("clip.avi").c_str()), 1);
    DS_RUN();
    ASSERT_TRUE(eventually([] { return DS_POS() > 100; }));
    ASSERT_EQ(open_descriptors_of(media("clip.avi")), 1);
    ASSERT_EQ(PLY(0, media("clip640.avi").c_str()), 1);
    EXPECT_EQ(open_descriptors_of(media("clip.avi")), 0);
    EXPECT_EQ(DS_W(), 640);
    EXPECT_LE(DS_POS(), 100);
    EXPECT_EQ(DS_STOP(), 1);
    EXPECT_EQ(open_descriptors_of(media("clip640.avi")), 0);
}

void expect_neutral() {
    EXPECT_EQ(DS_VIEW(1), 0);
    EXPECT_EQ(DS_ZOOM(640, 480), 1);
    EXPECT_EQ(DS_W() + DS_H() + DS_LEN() + DS_POS() + DS_END() + DS_KEY(), 0);
    EXPECT_EQ(DS_RUN() + DS_PAUSE() + DS_VOLUME(50), 0);
    EXPECT_EQ(DS_SEEK(0, 1000) + DS_SEEK(1, 1000), 0);
}

TEST(NoGraph, EveryCallReturnsItsNeutralValue) {
    EXPECT_EQ(DS_STOP(), 1);
    expect_neutral();
    EXPECT_EQ(DS_STOP(), 1);
    ASSERT_EQ(PLY(0, media("clip.avi").c_str()), 1);
    DS_RUN();
    EXPECT_EQ(DS_STOP(), 1);
    expect_neutral();
}

struct BadInput {
    std::string file;
    int32_t code;
};
void PrintTo(const BadInput& bad, std::ostream* out) {
    *out << bad.file;
}

class PlyRejects : public ::testing::TestWithParam<BadInput> {};

TEST_P(PlyRejects, WithANegativeCodeAndAGraphThatPlaysNothing) {
    EXPECT_EQ(PLY(0, media(GetParam().file).c_str()), GetParam().code);
    EXPECT_EQ(DS_W() + DS_H() + DS_LEN(), 0);
    EXPECT_EQ(DS_RUN(), 0);
    EXPECT_EQ(DS_SEEK(1, 1000), 0);
    for (int tick = 0; tick < 10; ++tick)
        EXPECT_EQ(DS_END() + DS_POS(), 0);
    EXPECT_EQ(DS_STOP(), 1);
}

// fifo.avi is a named pipe nobody writes to: opening it would wait for good. zero.avi is a
// link to /dev/zero, which would never end.
INSTANTIATE_TEST_SUITE_P(Files, PlyRejects,
                         ::testing::Values(BadInput{"no-such-file.avi", VELMO_E_NOT_FOUND},
                                           BadInput{"folder.avi", VELMO_E_NOT_FOUND},
                                           BadInput{"fifo.avi", VELMO_E_NOT_FOUND},
                                           BadInput{"zero.avi", VELMO_E_NOT_FOUND},
                                           BadInput{"empty.avi", VELMO_E_UNSUPPORTED},
                                           BadInput{"garbage.avi", VELMO_E_UNSUPPORTED}));

long peak_rss_mib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// huge.avi: MJPEG whose container and frame headers claim 30000 x 30000. Refused before any
// frame is decoded (1.35 GB each), so the process stays small. (Each test runs in a process
// of its own, so the peak is this test's.)
TEST(Ply, AStreamClaimingGiantFramesIsRefusedBeforeDecoding) {
    EXPECT_EQ(PLY(0, media("huge.avi").c_str()), VELMO_E_UNSUPPORTED);
    EXPECT_EQ(DS_W() + DS_H(), 0);
    EXPECT_EQ(DS_STOP(), 1);
    EXPECT_LT(peak_rss_mib(), 300);
}

// huge_frames.avi: the container says 320 x 240, only the frames claim 30000 x 30000. The
// decoder's output is refused before anything converts or shows a frame.
TEST(Ply, FramesClaimingAGiantSizeAreRefused) {
    EXPECT_EQ(PLY(0, media("huge_frames.avi").c_str()), VELMO_E_UNSUPPORTED);
    EXPECT_EQ(DS_STOP(), 1);
}

TEST(Ply, NullPathIsRejected) {
    EXPECT_EQ(PLY(0, nullptr), VELMO_E_NOT_FOUND);
    EXPECT_EQ(DS_STOP(), 1);
}

class DamagedMedium : public ::testing::TestWithParam<const char*> {};

// Whether the damage shows at preroll or later, the graph either refuses or runs to an end.
TEST_P(DamagedMedium, IsRefusedOrEnds) {
    const int32_t result = PLY(0, media(GetParam()).c_str());
    if (result == 1) {
        DS_RUN();
        EXPECT_TRUE(eventually([] { return DS_END() == 1; }, 20));
    } else {
        EXPECT_LT(result, 0);
    }
    EXPECT_EQ(DS_STOP(), 1);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedMedium, ::testing::Values("truncated.avi", "corrupt.mp4"));

std::vector<std::string> lines; // written to the "velmo" debug category

void capture(GstDebugCategory* category, GstDebugLevel, const gchar*, const gchar*, gint, GObject*,
             GstDebugMessage* message, gpointer) {
    if (std::string(gst_debug_category_get_name(category)) == "velmo")
        lines.emplace_back(gst_debug_message_get(message));
}

TEST(Ply, FailureIsLoggedToTheDebugCategoryWithItsStep) {
    gst_debug_remove_log_function(gst_debug_log_default);
    gst_debug_add_log_function(capture, nullptr, nullptr);
    gst_debug_set_threshold_for_name("velmo", GST_LEVEL_WARNING);
    ASSERT_EQ(PLY(0, media("garbage.avi").c_str()), VELMO_E_UNSUPPORTED);
    DS_STOP();
    gst_debug_remove_log_function(capture);

    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "FAILED(0x%x) gst_element_set_state(playbin",
                  static_cast<unsigned>(VELMO_E_UNSUPPORTED));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind(prefix, 0), 0u) << lines[0];
}

} // namespace
