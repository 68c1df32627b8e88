// The reader on well-formed movies in all three containers.

#include <gtest/gtest.h>
#include <ostream>

#include "swf_writer.h"

namespace zefa::swf {

// Names the containers in test names and messages.
void PrintTo(Compression c, std::ostream* out) {
    *out << (c == Compression::None ? "FWS" : c == Compression::Zlib ? "CWS" : "ZWS");
}

namespace {

using test::as_bytes;
using test::SwfWriter;

ReadResult read(const std::string& file) {
    return read_movie(as_bytes(file));
}

class EveryContainer : public ::testing::TestWithParam<Compression> {};

TEST_P(EveryContainer, ReadsHeaderTagsAndFrames) {
    const std::string rgb("\x12\x34\x56", 3);
    const std::string blob(300, 'x'); // needs a long header
    const SwfWriter w = SwfWriter()
                            .version(13)
                            .stage(-40, 11000, 20, 8020)
                            .rate(0x1880) // 24.5 per second
                            .tag(777, "abc")
                            .tag(9, rgb)
                            .show_frames(2)
                            .tag(88, blob)
                            .tag(89, "short", true) // long header, short data
                            .show_frames(3)
                            .end();
    const ReadResult r = read(w.file(GetParam()));
    ASSERT_TRUE(r.ok()) << r.error;
    const Movie& m = r.movie;
    EXPECT_EQ(m.compression, GetParam());
    EXPECT_EQ(m.version, 13);
    EXPECT_EQ(m.file_length, 8 + w.body().size());
    EXPECT_EQ(m.stage.x_min, -40);
    EXPECT_EQ(m.stage.x_max, 11000);
    EXPECT_EQ(m.stage.y_min, 20);
    EXPECT_EQ(m.stage.y_max, 8020);
    EXPECT_EQ(m.frame_rate, 0x1880);
    EXPECT_EQ(m.declared_frames, 5);
    EXPECT_EQ(m.frame_count, 5);
    EXPECT_EQ(m.background, 0x123456u);
    EXPECT_EQ(std::string(m.body.begin(), m.body.end()), w.body());

    const std::vector<uint16_t> codes{777, 9, 1, 1, 88, 89, 1, 1, 1, 0};
    ASSERT_EQ(m.tags.size(), codes.size());
    for (size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(m.tags[i].code, codes[i]) << i;
    // Each tag's data is where its offset says.
    const auto data = [&](size_t i) {
        return std::string(m.body.begin() + m.tags[i].offset,
                           m.body.begin() + m.tags[i].offset + m.tags[i].length);
    };
    EXPECT_EQ(data(0), "abc");
    EXPECT_EQ(data(1), rgb);
    EXPECT_EQ(data(4), blob);
    EXPECT_EQ(data(5), "short");
    EXPECT_EQ(m.tags[2].length, 0u);
}

INSTANTIATE_TEST_SUITE_P(Swf, EveryContainer,
                         ::testing::Values(Compression::None, Compression::Zlib, Compression::Lzma),
                         [](const ::testing::TestParamInfo<Compression>& p) {
                             return p.param == Compression::None   ? "Fws"
                                    : p.param == Compression::Zlib ? "Cws"
                                                                   : "Zws";
                         });

TEST(SwfReader, FrameCountIsTheShowFramesTheStreamHas) {
    // The header may claim more or fewer frames than exist; the stream decides.
    const ReadResult more = read(SwfWriter().declared_frames(500).show_frames(3).end().fws());
    ASSERT_TRUE(more.ok()) << more.error;
    EXPECT_EQ(more.movie.declared_frames, 500);
    EXPECT_EQ(more.movie.frame_count, 3);

    const ReadResult fewer = read(SwfWriter().declared_frames(0).show_frames(4).end().cws());
    ASSERT_TRUE(fewer.ok()) << fewer.error;
    EXPECT_EQ(fewer.movie.frame_count, 4);
}

TEST(SwfReader, FirstBackgroundColourCountsAndShortOnesAreIgnored) {
    EXPECT_FALSE(read(SwfWriter().show_frames(1).end().fws()).movie.background);

    const ReadResult r =
        read(SwfWriter().tag(9, "\x01\x02").background(0xABCDEF).background(0x010203).fws());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.movie.background, 0xABCDEFu);
}

TEST(SwfReader, StreamMayStopWithoutEndAndNothingAfterEndCounts) {
    const ReadResult no_end = read(SwfWriter().show_frames(2).fws());
    ASSERT_TRUE(no_end.ok()) << no_end.error;
    EXPECT_EQ(no_end.movie.frame_count, 2);

    // After End, even a tag that runs past the end of the movie is left alone.
    const ReadResult after =
        read(SwfWriter().show_frames(1).end().tag(1, "").raw("\xff\xff\xff\xff\xff\x7f").fws());
    ASSERT_TRUE(after.ok()) << after.error;
    EXPECT_EQ(after.movie.frame_count, 1);
    EXPECT_EQ(after.movie.tags.back().code, kTagEnd);
}

TEST(SwfReader, BytesPastTheStatedLengthAreNotPartOfTheMovie) {
    const SwfWriter w = SwfWriter().show_frames(2).end();
    const ReadResult r = read(w.fws() + std::string(100, '\xff'));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.movie.body.size(), w.body().size());
    EXPECT_EQ(r.movie.frame_count, 2);
}

TEST(SwfReader, StageFieldsOfEveryWidth) {
    for (const int32_t v : {0, 1, -1, 63, -64, 1 << 20, -(1 << 29), (1 << 30) - 1, -(1 << 30)}) {
        const ReadResult r = read(SwfWriter().stage(v, 0, -v / 2, v / 3).end().fws());
        ASSERT_TRUE(r.ok()) << v << ": " << r.error;
        EXPECT_EQ(r.movie.stage.x_min, v);
        EXPECT_EQ(r.movie.stage.x_max, 0);
        EXPECT_EQ(r.movie.stage.y_min, -v / 2);
        EXPECT_EQ(r.movie.stage.y_max, v / 3);
    }
}

TEST(SwfReader, ReadsFromAFile) {
    const std::string path = ::testing::TempDir() + "swf_reader_file.swf";
    test::write_file(path, SwfWriter().background(0x00FF00).show_frames(7).end().zws());
    const ReadResult r = read_movie_file(path);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.movie.frame_count, 7);
    EXPECT_EQ(r.movie.background, 0x00FF00u);
}

// The fuzz seeds come from an encoder of their own (LZMA with an end marker, zlib at its
// default level), which checks the decoders against more than our own writer.
TEST(SwfReader, ReadsTheFuzzSeeds) {
    const struct {
        const char* file;
        int32_t frames;
        uint32_t background;
    } seeds[] = {
        {"simple.fws.swf", 3, 0x336699}, {"simple.cws.swf", 3, 0x336699},
        {"simple.zws.swf", 3, 0x336699}, {"rich.fws.swf", 3, 0xFF0000},
        {"rich.cws.swf", 3, 0xFF0000},   {"rich.zws.swf", 3, 0xFF0000},
    };
    for (const auto& s : seeds) {
        const ReadResult r = read_movie_file(std::string(SWF_SEED_DIR "/") + s.file);
        ASSERT_TRUE(r.ok()) << s.file << ": " << r.error;
        EXPECT_EQ(r.movie.frame_count, s.frames) << s.file;
        EXPECT_EQ(r.movie.background, s.background) << s.file;
    }
}

} // namespace
} // namespace zefa::swf
