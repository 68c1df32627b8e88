#pragma once

// Writes Flash movies for the tests and benchmarks: uncompressed, zlib and LZMA, with any
// tags, and with headers that may lie.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "swf/swf_reader.h"

namespace zefa::test {

class SwfWriter {
  public:
    SwfWriter& version(uint8_t v);
    SwfWriter& stage(int32_t x_min, int32_t x_max, int32_t y_min, int32_t y_max); // twips
    SwfWriter& rate(uint16_t fixed_8_8);
    SwfWriter& declared_frames(uint16_t n); // otherwise the ShowFrame tags written
    SwfWriter& file_length(uint32_t n);     // otherwise the true length
    // A tag; a long header carries the length in 4 more bytes even when it would fit in 6 bits.
    SwfWriter& tag(uint16_t code, std::string_view data, bool long_header = false);
    SwfWriter& background(uint32_t rgb);
    SwfWriter& show_frames(int n);
    SwfWriter& end();
    SwfWriter& raw(std::string_view bytes); // into the tag stream as they are

    // Everything after the 8-byte file header: stage rectangle, rate, frame count, tags.
    std::string body() const;
    std::string file(swf::Compression c) const;
    std::string fws() const { return file(swf::Compression::None); }
    std::string cws() const { return file(swf::Compression::Zlib); }
    std::string zws() const { return file(swf::Compression::Lzma); }

  private:
    uint8_t version_ = 10;
    int32_t rect_[4] = {0, 320 * 20, 0, 240 * 20};
    uint16_t rate_ = 24 << 8;
    std::optional<uint16_t> declared_;
    std::optional<uint32_t> file_length_;
    std::string tags_;
    uint16_t shown_ = 0;
};

// Compressed as a movie stores it: a zlib stream; LZMA properties (5 bytes) then raw data.
std::string zlib_compress(std::string_view data);
std::string lzma_compress(std::string_view data); // properties, then data
void put_u16(std::string& out, uint32_t v);
void put_u32(std::string& out, uint32_t v);

std::span<const uint8_t> as_bytes(std::string_view s);
void write_file(const std::string& path, std::string_view data);

} // namespace zefa::test
