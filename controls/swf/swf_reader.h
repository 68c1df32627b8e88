#pragma once

// Reads a Flash movie (uncompressed "FWS", zlib "CWS" or LZMA "ZWS") into its header and its
// tag list. Everything the file says is checked against what is there: a movie that is cut
// short, lies about its length or does not decompress is an error, and no input makes the
// reader allocate more than its limits allow.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zefa::swf {

enum class Compression { None, Zlib, Lzma };

// Tag codes the reader itself understands; every other tag is kept but skipped.
inline constexpr uint16_t kTagEnd = 0;
inline constexpr uint16_t kTagShowFrame = 1;
inline constexpr uint16_t kTagSetBackgroundColor = 9;

// The stage rectangle in twips (1/20 pixel).
struct Rect {
    int32_t x_min = 0, x_max = 0, y_min = 0, y_max = 0;
    int64_t width() const { return int64_t{x_max} - x_min; }
    int64_t height() const { return int64_t{y_max} - y_min; }
};

struct Tag {
    uint16_t code = 0;
    uint32_t offset = 0; // of the tag's data in Movie::body
    uint32_t length = 0;
};

struct Movie {
    Compression compression = Compression::None;
    uint8_t version = 0;
    uint32_t file_length = 0; // from the header: the whole movie, uncompressed
    Rect stage;
    uint16_t frame_rate = 0;            // 8.8 fixed point, frames per second; 0 as written
    uint16_t declared_frames = 0;       // the header's frame count, for information only
    int32_t frame_count = 0;            // ShowFrame tags in the stream: the frames that exist
    std::optional<uint32_t> background; // 0xRRGGBB of the first SetBackgroundColor
    // Everything after the 8-byte file header, decompressed: the rest of the header, then
    // the tags. Kept so that tag data can be read later.
    std::vector<uint8_t> body;
    std::vector<Tag> tags; // in stream order, up to and including End
};

struct Limits {
    uint32_t max_file_length = 64u << 20; // uncompressed; larger movies are refused
    size_t max_tags = size_t{1} << 20;
};

struct ReadResult {
    Movie movie;       // a movie of 0 frames when the read failed
    std::string error; // empty on success
    bool ok() const { return error.empty(); }
};

ReadResult read_movie(std::span<const uint8_t> bytes, const Limits& limits = {});
// Regular files only (a FIFO or a device would block or never end).
ReadResult read_movie_file(const std::string& path, const Limits& limits = {});

} // namespace zefa::swf
