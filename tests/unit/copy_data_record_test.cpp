#include <gtest/gtest.h>

#include <cstring>

#include "shell/copy_data_record.h"
#include "shell/copy_data_stream.h"

using namespace zefa;

namespace {
std::string record(uint32_t dw, uint32_t cb, const std::string& data) {
    std::string r(8, '\0');
    std::memcpy(r.data(), &dw, 4);
    std::memcpy(r.data() + 4, &cb, 4);
    return r + data;
}
} // namespace

TEST(CopyDataRecord, RoundTripsAnyPathBytes) {
    for (const std::string& path : {std::string("/media/x.avi"), std::string("/tmp/\xff\xfe.mp3"),
                                    std::string(60000, 'a'), std::string()}) {
        const auto r = decode_copy_data(encode_copy_data(1, path));
        ASSERT_TRUE(r);
        EXPECT_EQ(r->dw_data, 1u);
        EXPECT_EQ(r->path, path);
    }
    EXPECT_EQ(decode_copy_data(encode_copy_data(7, "/a"))->dw_data, 7u);
}

TEST(CopyDataRecord, RefusesMalformedRecords) {
    EXPECT_FALSE(decode_copy_data(""));
    EXPECT_FALSE(decode_copy_data(std::string("\1\0\0\0\3\0", 6)));       // short header
    EXPECT_FALSE(decode_copy_data(record(1, 0, "")));                     // no data
    EXPECT_FALSE(decode_copy_data(record(1, 5, std::string("/a\0", 3)))); // truncated
    EXPECT_FALSE(decode_copy_data(record(1, 2, std::string("/a\0", 3)))); // extra bytes
    EXPECT_FALSE(decode_copy_data(record(1, 2, "/a")));                   // no NUL
    const std::string big(kCopyDataMaxBytes + 1, 'a');
    EXPECT_FALSE(decode_copy_data(record(1, kCopyDataMaxBytes + 1, big)));
    EXPECT_FALSE(decode_copy_data(record(1, 0xFFFFFFFF, "x")));
}

TEST(CopyDataRecord, PathEndsAtTheFirstNul) {
    const auto r = decode_copy_data(record(1, 6, std::string("/a\0bc\0", 6)));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->path, "/a");
}

TEST(CopyDataStream, TakesARecordThatArrivesByteByByte) {
    const std::string sent = encode_copy_data(1, "/media/夏.avi");
    CopyDataStream s;
    for (size_t i = 0; i + 1 < sent.size(); ++i) {
        ASSERT_GE(s.room(), 1u);
        ASSERT_EQ(s.feed(sent.substr(i, 1)), CopyDataStream::State::more) << i;
    }
    EXPECT_EQ(s.feed(sent.substr(sent.size() - 1)), CopyDataStream::State::record);
    EXPECT_EQ(s.record().path, "/media/夏.avi");
    EXPECT_EQ(s.room(), 0u);
    EXPECT_EQ(s.feed("more"), CopyDataStream::State::record); // the answer stands
}

TEST(CopyDataStream, RefusesWithoutWaitingForBytesThatMustNotCome) {
    // A length beyond the largest record is refused as soon as the header is in.
    CopyDataStream huge;
    EXPECT_EQ(huge.feed(record(1, kCopyDataMaxBytes + 1, "")), CopyDataStream::State::refused);
    // Bytes beyond the record in the same piece.
    CopyDataStream extra;
    EXPECT_EQ(extra.feed(encode_copy_data(1, "/a") + "x"), CopyDataStream::State::refused);
    // The largest record plus one byte never fits, however it is cut.
    CopyDataStream flood;
    const std::string big(kCopyDataHeader + kCopyDataMaxBytes + 1, '\x7f');
    EXPECT_LE(flood.room(), big.size());
    EXPECT_EQ(flood.feed(big), CopyDataStream::State::refused);
    // A complete record that the reader refuses (no NUL).
    CopyDataStream no_nul;
    EXPECT_EQ(no_nul.feed(record(1, 2, "/a")), CopyDataStream::State::refused);
}
