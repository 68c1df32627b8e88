// Bitmap tags: lossless pixels, JPEG streams cleaned for a decoder, image sizes measured from
// headers, and hostile sizes and compressed data.

#include <gtest/gtest.h>

#include "asset_writer.h"
#include "swf/swf_bitmap.h"
#include "swf_writer.h"

namespace zefa::swf {
namespace {

using namespace zefa::test;

BitmapResult decode(uint16_t code, const std::string& data, std::string_view tables = {},
                    const BitmapLimits& limits = {}) {
    Stream s(as_bytes(data));
    return decode_bitmap(code, s, as_bytes(tables), limits);
}

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

std::string encoded(const BitmapResult& r) {
    return std::string(r.bitmap.encoded.begin(), r.bitmap.encoded.end());
}

std::string png_header(uint32_t w, uint32_t h) {
    std::string p("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    for (uint32_t v : {w, h})
        for (int shift = 24; shift >= 0; shift -= 8)
            p.push_back(static_cast<char>(v >> shift));
    return p + std::string("\x08\x06\0\0\0\0\0\0\0", 9);
}

std::string gif_header(uint16_t w, uint16_t h) {
    std::string g = "GIF89a";
    put_u16(g, w);
    put_u16(g, h);
    return g + std::string("\0\0\0;", 4);
}

// A JPEG with quantisation and Huffman tables ahead of the frame, as encoders write them.
std::string jpeg_with_tables(int w, int h) {
    const std::string dqt("\xFF\xDB\x00\x04\x00\x01", 6);
    const std::string dht("\xFF\xC4\x00\x05\x00\x01\x02", 7);
    return jpeg_stub(w, h).insert(2, dqt + dht);
}

TEST(BitmapLossless, Format5OpaqueAndPremultiplied) {
    const std::vector<Rgba> px{{255, 0, 0, 255}, {0, 128, 255, 128}, {10, 20, 30, 0}};
    const BitmapResult opaque =
        decode(kDefineBitsLossless, define_bits_lossless(7, 3, 1, px, false));
    ASSERT_EQ(opaque.error, "");
    EXPECT_EQ(opaque.id, 7);
    EXPECT_TRUE(opaque.bitmap.lossless());
    EXPECT_TRUE(opaque.bitmap.encoded.empty());
    EXPECT_EQ(opaque.bitmap.argb,
              (std::vector<uint32_t>{argb(255, 255, 0, 0), argb(255, 0, 128, 255),
                                     argb(255, 10, 20, 30)}));

    const BitmapResult alpha =
        decode(kDefineBitsLossless2, define_bits_lossless(7, 3, 1, px, true));
    ASSERT_EQ(alpha.error, "");
    EXPECT_EQ(alpha.bitmap.argb,
              (std::vector<uint32_t>{argb(255, 255, 0, 0), argb(128, 0, 64, 128), 0u}));
}

TEST(BitmapLossless, PremultipliedColourAboveAlphaIsClamped) {
    const std::string raw("\x64\xFF\x32\x65", 4); // alpha 100; red 255, green 50, blue 101
    const BitmapResult r =
        decode(kDefineBitsLossless2, define_bits_lossless_packed(1, 5, 1, 1, zlib_compress(raw)));
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.bitmap.argb, std::vector<uint32_t>{argb(100, 100, 50, 100)});
}

TEST(BitmapLossless, ColourMappedRowsArePaddedToFourBytes) {
    // Three pixels a row: one byte of padding each, which must not shift the next row.
    const std::vector<Rgba> table{{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 51}};
    const std::vector<uint8_t> idx{0, 1, 2, 2, 1, 0};
    const BitmapResult rgb =
        decode(kDefineBitsLossless, define_bits_lossless_mapped(2, 3, 2, table, idx, false));
    ASSERT_EQ(rgb.error, "");
    const uint32_t r = argb(255, 255, 0, 0), g = argb(255, 0, 255, 0), b = argb(255, 0, 0, 255);
    EXPECT_EQ(rgb.bitmap.argb, (std::vector<uint32_t>{r, g, b, b, g, r}));

    // Lossless2: an RGBA table with straight colour, premultiplied here.
    const BitmapResult rgba =
        decode(kDefineBitsLossless2, define_bits_lossless_mapped(2, 3, 2, table, idx, true));
    ASSERT_EQ(rgba.error, "");
    EXPECT_EQ(rgba.bitmap.argb[2], argb(51, 0, 0, 51));
    EXPECT_EQ(rgba.bitmap.argb[5], r);
}

TEST(BitmapLossless, IndexPastTheColourTableIsTransparent) {
    const BitmapResult r = decode(
        kDefineBitsLossless, define_bits_lossless_mapped(1, 2, 1, {{9, 9, 9, 255}}, {0, 7}, false));
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.bitmap.argb, (std::vector<uint32_t>{argb(255, 9, 9, 9), 0u}));
}

TEST(BitmapLossless, Pix15ExpandsFiveBitsAndSkipsPadding) {
    // One pixel a row: two bytes of padding each.
    const std::vector<uint16_t> px{0x7C00, 0x03E0, 0x001F, 0x4210};
    const BitmapResult r = decode(kDefineBitsLossless, define_bits_lossless_pix15(1, 1, 4, px));
    ASSERT_EQ(r.error, "");
    const uint32_t half = (16 << 3) | (16 >> 2);
    EXPECT_EQ(r.bitmap.argb,
              (std::vector<uint32_t>{argb(255, 255, 0, 0), argb(255, 0, 255, 0),
                                     argb(255, 0, 0, 255), argb(255, half, half, half)}));
}

TEST(BitmapLossless, ShortDataIsRefusedButAMissingLastPaddingIsNot) {
    // 3×2 colour-mapped with one colour: 3 table bytes, rows of 3 pixels padded to 4.
    const std::string table("\1\2\3", 3);
    const auto tag = [&](std::string raw) {
        return decode(kDefineBitsLossless,
                      define_bits_lossless_packed(1, 3, 3, 2, zlib_compress(table + raw), 0));
    };
    EXPECT_EQ(tag(std::string(8, '\0')).error, "");
    EXPECT_EQ(tag(std::string(7, '\0')).error, ""); // the last row's padding left out
    EXPECT_NE(tag(std::string(6, '\0')).error, ""); // a pixel missing
    // A table of 256 colours leaves no room for the pixels in the same data.
    EXPECT_NE(decode(kDefineBitsLossless,
                     define_bits_lossless_packed(1, 3, 3, 2,
                                                 zlib_compress(table + std::string(8, '\0')), 255))
                  .error,
              "");
    // Not zlib at all.
    EXPECT_NE(decode(kDefineBitsLossless, define_bits_lossless_packed(1, 5, 1, 1, "junk")).error,
              "");
}

TEST(BitmapLossless, InflatingStopsAtTheBitmapsSize) {
    // 16 MiB of zeros for a 2×2 bitmap: decoded from the first 16 bytes.
    const std::string bomb = zlib_compress(std::string(size_t{16} << 20, '\0'));
    ASSERT_LT(bomb.size(), size_t{1} << 20);
    const BitmapResult r =
        decode(kDefineBitsLossless2, define_bits_lossless_packed(1, 5, 2, 2, bomb));
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.bitmap.argb, std::vector<uint32_t>(4, 0u));
}

TEST(BitmapLossless, SizesOverTheLimitOrEmptyAreRefused) {
    // 65535 × 65535 with four bytes of data: refused from the header alone.
    EXPECT_NE(decode(kDefineBitsLossless2,
                     define_bits_lossless_packed(1, 5, 65535, 65535, zlib_compress("abcd")))
                  .error,
              "");
    const BitmapLimits small{.max_pixels = 100};
    const std::string ten(400, '\x7F');
    EXPECT_EQ(decode(kDefineBitsLossless2,
                     define_bits_lossless_packed(1, 5, 10, 10, zlib_compress(ten)), {}, small)
                  .error,
              "");
    EXPECT_NE(decode(kDefineBitsLossless2,
                     define_bits_lossless_packed(1, 5, 11, 10, zlib_compress(ten + ten)), {}, small)
                  .error,
              "");
    EXPECT_NE(
        decode(kDefineBitsLossless, define_bits_lossless_packed(1, 5, 0, 4, zlib_compress("")))
            .error,
        "");
    EXPECT_NE(
        decode(kDefineBitsLossless, define_bits_lossless_packed(1, 6, 1, 1, zlib_compress("abcd")))
            .error,
        "");
}

TEST(BitmapJpeg, ImagesAreMeasuredFromTheirHeaders) {
    const BitmapResult jpeg = decode(kDefineBitsJpeg2, define_bits_jpeg2(3, jpeg_stub(300, 200)));
    ASSERT_EQ(jpeg.error, "");
    EXPECT_EQ(jpeg.id, 3);
    EXPECT_EQ(jpeg.bitmap.width, 300);
    EXPECT_EQ(jpeg.bitmap.height, 200);
    EXPECT_FALSE(jpeg.bitmap.lossless());

    const BitmapResult png = decode(kDefineBitsJpeg2, define_bits_jpeg2(3, png_header(640, 2)));
    ASSERT_EQ(png.error, "");
    EXPECT_EQ(png.bitmap.width, 640);
    EXPECT_EQ(png.bitmap.height, 2);
    EXPECT_EQ(encoded(png), png_header(640, 2)); // passed on untouched

    const BitmapResult gif = decode(kDefineBitsJpeg2, define_bits_jpeg2(3, gif_header(5, 700)));
    ASSERT_EQ(gif.error, "");
    EXPECT_EQ(gif.bitmap.width, 5);
    EXPECT_EQ(gif.bitmap.height, 700);
}

TEST(BitmapJpeg, HugeOrBrokenHeadersAreRefused) {
    for (const std::string& image :
         {jpeg_stub(65535, 65535), png_header(65535, 65535), gif_header(65535, 65535),
          png_header(0x80000000u, 1), jpeg_stub(0, 10), png_header(1, 1).substr(0, 20),
          gif_header(1, 1).substr(0, 8), std::string("BM not an image"),
          // a segment longer than the data, and a frame header missing
          jpeg_stub(4, 4).substr(0, 10), std::string("\xFF\xD8\xFF\xD9", 4)})
        EXPECT_NE(decode(kDefineBitsJpeg2, define_bits_jpeg2(1, image)).error, "") << image.size();
}

TEST(BitmapJpeg, StrayMarkersAreCleanedToOneStream) {
    const std::string jpeg = jpeg_stub(16, 8);
    // Older writers put an EOI and SOI in front.
    const BitmapResult prefixed =
        decode(kDefineBitsJpeg2, define_bits_jpeg2(1, "\xFF\xD9\xFF\xD8" + jpeg));
    ASSERT_EQ(prefixed.error, "");
    EXPECT_EQ(encoded(prefixed), jpeg);
    // Padding after the image is not part of it; before any scan it is an error.
    EXPECT_EQ(encoded(decode(kDefineBitsJpeg2, define_bits_jpeg2(1, jpeg + std::string(5, '\0')))),
              jpeg);
    EXPECT_NE(decode(kDefineBitsJpeg2,
                     define_bits_jpeg2(1, jpeg.substr(0, 21) + '\x11' + jpeg.substr(21)))
                  .error,
              "");

    // Tables in a stream of their own, then the image in another.
    const auto [tables, image] = split_jpeg_tables(jpeg_with_tables(16, 8));
    const BitmapResult two = decode(kDefineBitsJpeg2, define_bits_jpeg2(1, tables + image));
    ASSERT_EQ(two.error, "");
    EXPECT_EQ(encoded(two), jpeg_with_tables(16, 8));
    EXPECT_EQ(two.bitmap.width, 16);
}

TEST(BitmapJpeg, DefineBitsJoinsTheMoviesTables) {
    const std::string whole = jpeg_with_tables(32, 24);
    const auto [tables, image] = split_jpeg_tables(whole);
    ASSERT_EQ(image.find("\xFF\xDB"), std::string::npos);
    const BitmapResult r = decode(kDefineBits, define_bits(4, image), tables);
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(encoded(r), whole);
    EXPECT_EQ(r.bitmap.width, 32);
    EXPECT_EQ(r.bitmap.height, 24);

    // The same tables with the erroneous prefix, and an image that holds its own tables.
    const BitmapResult prefixed =
        decode(kDefineBits, define_bits(4, image), "\xFF\xD9\xFF\xD8" + tables);
    EXPECT_EQ(encoded(prefixed), whole);
    EXPECT_EQ(encoded(decode(kDefineBits, define_bits(4, whole))), whole);
}

TEST(BitmapJpeg, Jpeg3AlphaPlane) {
    const std::string jpeg = jpeg_stub(2, 2);
    const std::string alpha("\x00\x40\x80\xFF", 4);
    const std::pair<uint16_t, std::string> tags[] = {
        {kDefineBitsJpeg3, define_bits_jpeg3(5, jpeg, alpha)},
        {kDefineBitsJpeg4, define_bits_jpeg4(5, jpeg, alpha, 0x0100)}};
    for (const auto& [code, tag] : tags) {
        const BitmapResult r = decode(code, tag);
        ASSERT_EQ(r.error, "");
        EXPECT_EQ(encoded(r), jpeg);
        EXPECT_EQ(std::string(r.bitmap.alpha.begin(), r.bitmap.alpha.end()), alpha);
    }
    // Values that never arrive are opaque; more values than pixels stop at the pixels.
    const BitmapResult short_alpha = decode(kDefineBitsJpeg3, define_bits_jpeg3(5, jpeg, "\x10"));
    ASSERT_EQ(short_alpha.error, "");
    EXPECT_EQ(short_alpha.bitmap.alpha, (std::vector<uint8_t>{0x10, 255, 255, 255}));
    const BitmapResult long_alpha =
        decode(kDefineBitsJpeg3, define_bits_jpeg3(5, jpeg, std::string(1 << 20, '\x22')));
    EXPECT_EQ(long_alpha.bitmap.alpha, std::vector<uint8_t>(4, 0x22));
    // A PNG carries its own alpha.
    EXPECT_TRUE(decode(kDefineBitsJpeg3, define_bits_jpeg3(5, png_header(2, 2), alpha))
                    .bitmap.alpha.empty());
    // Image size past the data.
    std::string cut = define_bits_jpeg3(5, jpeg, alpha);
    cut[2] = '\x7F';
    EXPECT_NE(decode(kDefineBitsJpeg3, cut).error, "");
}

} // namespace
} // namespace zefa::swf
