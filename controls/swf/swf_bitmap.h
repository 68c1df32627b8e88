#pragma once

// Bitmaps: the lossless formats decoded here into premultiplied pixels, the JPEG, PNG and GIF
// data cleaned up and measured for an image decoder, JPEG alpha planes inflated. Every size is
// checked before anything is allocated.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "swf/swf_stream.h"

namespace zefa::swf {

struct Bitmap {
    int width = 0, height = 0;
    // Lossless bitmaps: premultiplied 0xAARRGGBB, rows top-down, width × height of them.
    std::vector<uint32_t> argb;
    // Otherwise: a whole JPEG, PNG or GIF file for an image decoder; width and height are what
    // its header says.
    std::vector<uint8_t> encoded;
    // DefineBitsJPEG3/4 with JPEG data: width × height alpha values, rows top-down; else empty.
    std::vector<uint8_t> alpha;
    bool lossless() const { return !argb.empty(); }
};

struct BitmapLimits {
    int64_t max_pixels = int64_t{4096} * 4096; // one bitmap; a larger one is refused
};

struct BitmapResult {
    uint16_t id = 0;
    Bitmap bitmap;
    std::string error; // empty on success
};

inline constexpr uint16_t kTagJpegTables = 8;

// DefineBits (6, with the movie's JPEGTables data, possibly empty), DefineBitsJPEG2 (21),
// DefineBitsJPEG3 (35), DefineBitsJPEG4 (90), DefineBitsLossless (20) and DefineBitsLossless2
// (36): the tag's data from the character id on.
BitmapResult decode_bitmap(uint16_t tag_code, Stream& s, std::span<const uint8_t> jpeg_tables,
                           const BitmapLimits& limits = {});

} // namespace zefa::swf
