#include <gtest/gtest.h>

#include <cstring>

#include "shell/copy_data_record.h"

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
