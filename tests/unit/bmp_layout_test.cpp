// The size a BMP file's headers promise, read before any decoder sees the file.

#include <gtest/gtest.h>
#include <limits>
#include <random>

#include "platform/bmp_layout.h"

namespace zefa {
namespace {

constexpr uint64_t kSaturated = std::numeric_limits<uint64_t>::max();

void put16(std::string& s, uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}
void put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}

// The headers of a file with a Windows info header of the given size; no pixel data.
std::string windows(int32_t w, int32_t h, uint16_t bits, uint32_t compression, uint32_t offset = 54,
                    uint32_t info = 40) {
    std::string s = "BM";
    put32(s, 0);
    put32(s, 0);
    put32(s, offset);
    put32(s, info);
    put32(s, static_cast<uint32_t>(w));
    put32(s, static_cast<uint32_t>(h));
    put16(s, 1);
    put16(s, bits);
    put32(s, compression);
    s.resize(14 + info, '\0');
    return s;
}
std::string os2(uint16_t w, uint16_t h, uint16_t bits, uint32_t offset = 26) {
    std::string s = "BM";
    put32(s, 0);
    put32(s, 0);
    put32(s, offset);
    put32(s, 12);
    put16(s, w);
    put16(s, h);
    put16(s, 1);
    put16(s, bits);
    return s;
}

TEST(BmpLayout, UncompressedDataNeedsTheOffsetPlusPaddedRowsForEveryHeader) {
    const struct {
        const char* what;
        std::string headers;
        uint64_t want;
    } cases[] = {
        {"24 bits, rows padded to 4 bytes", windows(3, 2, 24, 0), 54 + 2 * 12},
        {"top-down", windows(3, -2, 24, 0), 54 + 2 * 12},
        {"32 bits", windows(5, 7, 32, 0), 54 + 7 * 20},
        {"1 bit after a palette", windows(33, 3, 1, 0, 62), 62 + 3 * 8},
        {"4 bits", windows(9, 1, 4, 0, 118), 118 + 8},
        {"8 bits", windows(5, 4, 8, 0, 1078), 1078 + 4 * 8},
        {"16 bits, bit fields", windows(3, 3, 16, 3, 66), 66 + 3 * 8},
        {"header 52", windows(2, 2, 32, 3, 66, 52), 66 + 2 * 8},
        {"header 56", windows(2, 2, 32, 3, 70, 56), 70 + 2 * 8},
        {"header 108", windows(2, 2, 32, 3, 122, 108), 122 + 2 * 8},
        {"header 124", windows(2, 2, 32, 0, 138, 124), 138 + 2 * 8},
        {"OS/2 core header", os2(3, 2, 24), 26 + 2 * 12},
        {"OS/2, widest", os2(65535, 1, 24), 26 + 196608},
        {"no rows", windows(3, 0, 24, 0), 54},
        // The pixel data cannot begin inside the headers.
        {"offset 0", windows(3, 2, 24, 0, 0), 54 + 2 * 12},
        {"offset far off", windows(1, 1, 24, 0, 0xFFFFFFFF), 0xFFFFFFFFull + 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bmp_bytes_needed(c.headers), c.want) << c.what;
}

TEST(BmpLayout, RunLengthsUnknownHeadersAndShortHeadersAreLeftToTheDecoder) {
    const std::string whole = windows(3, 2, 24, 0);
    for (const std::string& headers :
         {windows(4, 4, 8, 1), windows(4, 4, 4, 2), windows(4, 4, 24, 4), windows(4, 4, 24, 5),
          windows(3, 2, 24, 0, 54, 64), windows(3, 2, 24, 0, 54, 0), windows(-3, 2, 24, 0),
          windows(0, 2, 24, 0), os2(0, 2, 24), "XY" + whole.substr(2), whole.substr(0, 53),
          os2(3, 2, 24).substr(0, 25), std::string("BM"), std::string()})
        EXPECT_EQ(bmp_bytes_needed(headers), std::nullopt) << headers.size();
}

TEST(BmpLayout, AbsurdSizesSaturateInsteadOfWrapping) {
    EXPECT_EQ(bmp_bytes_needed(windows(INT32_MAX, INT32_MIN, 0xFFFF, 0)), kSaturated);
    EXPECT_EQ(bmp_bytes_needed(windows(INT32_MAX, INT32_MIN, 64, 3, 0xFFFFFFFF)), kSaturated);
    // Large but representable: 2^31 rows of (2^31 - 1) * 4 bytes.
    EXPECT_EQ(bmp_bytes_needed(windows(INT32_MAX, INT32_MIN, 32, 0)),
              54 + (uint64_t{INT32_MAX} * 4) * (uint64_t{1} << 31));

    // Random header fields, with the sizes the reader knows, always give an answer no smaller
    // than the headers or none at all.
    std::mt19937 random(20240611);
    const uint32_t sizes[] = {12, 40, 52, 56, 108, 124};
    for (int i = 0; i < 20000; ++i) {
        std::string s = "BM";
        for (int k = 0; k < 136; ++k)
            s.push_back(static_cast<char>(random()));
        const uint32_t info = sizes[random() % 6];
        s.replace(14, 4, std::string{static_cast<char>(info), 0, 0, 0});
        if (random() % 2 != 0) s.replace(30, 4, std::string(4, '\0')); // mostly uncompressed
        s.resize(random() % (s.size() + 1));
        const std::optional<uint64_t> needed = bmp_bytes_needed(s);
        if (needed) {
            EXPECT_GE(*needed, 14 + info) << i;
        }
    }
}

} // namespace
} // namespace zefa
