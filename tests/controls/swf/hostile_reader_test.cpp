// The reader on movies that are broken, lie, or try to make it allocate without bound: a
// clear error and an empty movie, never a crash or a hang.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "swf_writer.h"

namespace zefa::swf {
namespace {

using test::as_bytes;
using test::put_u32;
using test::SwfWriter;

std::string u32(uint32_t v) {
    std::string s;
    put_u32(s, v);
    return s;
}

void expect_refused(const ReadResult& r) {
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.movie.frame_count, 0);
    EXPECT_TRUE(r.movie.tags.empty());
    EXPECT_TRUE(r.movie.body.empty());
}

TEST(SwfReaderHostile, BrokenOrLyingMoviesAreRefused) {
    const SwfWriter good = SwfWriter().background(0x102030).show_frames(40).end();
    const std::string cws = good.cws();
    const std::string zws = good.zws();
    std::string bad_props = zws;
    bad_props[12] = '\xff'; // no such lc/lp/pb
    const struct {
        const char* name;
        std::string bytes;
        const char* error; // part of the message
    } cases[] = {
        {"empty", "", "empty"},
        {"two bytes", "FW", "not a Flash movie"},
        {"another format", "GIF89a\x01\x00\x01\x00", "not a Flash movie"},
        {"lower-case signature", "fws" + good.fws().substr(3), "not a Flash movie"},
        {"header cut", std::string("FWS\x0a\x20", 5), "cut short"},
        {"length below the header", std::string("FWS\x0a", 4) + u32(7), "too small"},
        {"nothing after the header", std::string("FWS\x0a", 4) + u32(8), "cut short"},
        {"stage rectangle cut", std::string("FWS\x0a", 4) + u32(10) + std::string("\xf8\x00", 2),
         "cut short"},
        {"length beyond the file", SwfWriter(good).file_length(5000).fws(), "shorter"},
        {"length cutting a tag", SwfWriter(good).file_length(30).fws(), "past the end"},
        {"huge length", SwfWriter(good).file_length(0xFFFFFFFF).fws(), "larger than"},
        {"tag past the end", SwfWriter().show_frames(1).raw("\x3f\x00" + u32(1000) + "abc").fws(),
         "past the end"},
        {"long length of 4 GiB", SwfWriter().raw("\x7f\x00" + u32(0xFFFFFFFF)).fws(),
         "past the end"},
        {"half a tag header", SwfWriter().show_frames(1).raw("\x40").fws(), "past the end"},
        {"long tag header cut", SwfWriter().raw("\x7f\x00\x01").fws(), "past the end"},
        {"zlib garbage", std::string("CWS\x0a", 4) + u32(100) + "this is not zlib", "decompress"},
        {"zlib cut in half", cws.substr(0, cws.size() / 2), "ends before"},
        {"zlib shorter than stated", SwfWriter(good).file_length(5000).cws(), "ends before"},
        {"lzma header cut", std::string("ZWS\x0d", 4) + u32(100) + "\x05\x00", "cut short"},
        {"lzma garbage",
         std::string("ZWS\x0d", 4) + u32(100) + u32(20) + std::string("\x5d\x00\x00\x10\x00", 5) +
             std::string(20, '\xee'),
         "decompress"},
        {"lzma cut in half", zws.substr(0, zws.size() / 2), "ends before"},
        {"lzma shorter than stated", SwfWriter(good).file_length(5000).zws(), "ends before"},
        {"lzma bad properties", bad_props, "decompress"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadResult r = read_movie(as_bytes(c.bytes));
        expect_refused(r);
        EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
    }
}

// 16 MiB of zeros under a header that claims only 1 MiB (the limit here): decoding stops at the
// stated length. Zeros read as End tags, so the movie is valid and empty.
TEST(SwfReaderHostile, BombsDecodeNoFurtherThanTheStatedLength) {
    const Limits limits{.max_file_length = 1u << 20, .max_tags = 1000};
    const std::string zeros(16u << 20, '\0');
    for (const bool lzma : {false, true}) {
        SCOPED_TRACE(lzma ? "lzma" : "zlib");
        std::string file = lzma ? "ZWS\x0d" : "CWS\x0a";
        put_u32(file, limits.max_file_length);
        const std::string packed = lzma ? test::lzma_compress(zeros) : test::zlib_compress(zeros);
        if (lzma) put_u32(file, static_cast<uint32_t>(packed.size() - 5));
        file += packed;

        const ReadResult r = read_movie(as_bytes(file), limits);
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.movie.body.size(), limits.max_file_length - 8);
        EXPECT_EQ(r.movie.frame_count, 0);

        // One byte more than the limit is refused before anything is decoded.
        std::string larger = file;
        larger[4] = '\x01';
        expect_refused(read_movie(as_bytes(larger), limits));
    }
}

TEST(SwfReaderHostile, LzmaDictionaryClaimCostsNothing) {
    // 4 GiB of dictionary for a tiny movie: decoded in a dictionary the size of the movie.
    std::string zws = SwfWriter().show_frames(3).end().zws();
    zws.replace(13, 4, u32(0xFFFFFFFF));
    const ReadResult r = read_movie(as_bytes(zws));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.movie.frame_count, 3);
}

TEST(SwfReaderHostile, TagCountIsLimited) {
    const Limits limits{.max_tags = 10};
    EXPECT_TRUE(read_movie(as_bytes(SwfWriter().show_frames(10).fws()), limits).ok());
    const ReadResult r = read_movie(as_bytes(SwfWriter().show_frames(11).fws()), limits);
    expect_refused(r);
    EXPECT_NE(r.error.find("more than 10 tags"), std::string::npos) << r.error;
}

TEST(SwfReaderHostile, OnlyRegularFilesOfBoundedSizeAreRead) {
    const std::string dir = ::testing::TempDir() + "swf_hostile_files";
    ::mkdir(dir.c_str(), 0700);

    expect_refused(read_movie_file(dir + "/missing.swf"));
    expect_refused(read_movie_file(dir)); // a folder

    const std::string fifo = dir + "/fifo.swf"; // no writer: reading would block forever
    ::unlink(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const ReadResult from_fifo = read_movie_file(fifo);
    expect_refused(from_fifo);
    EXPECT_EQ(from_fifo.error, "not a regular file");

    const std::string empty = dir + "/empty.swf";
    test::write_file(empty, "");
    expect_refused(read_movie_file(empty));

    // A sparse file past the limit is refused by its size, without being read.
    const std::string big = dir + "/big.swf";
    test::write_file(big, SwfWriter().show_frames(1).end().fws());
    ASSERT_EQ(::truncate(big.c_str(), off_t{80} << 20), 0);
    const ReadResult from_big = read_movie_file(big);
    expect_refused(from_big);
    EXPECT_NE(from_big.error.find("larger than"), std::string::npos) << from_big.error;
    ::unlink(big.c_str());
}

} // namespace
} // namespace zefa::swf
