#include "swf/swf_decompress.h"

#include <algorithm>
#include <array>
#include <lzma.h>
#include <zlib.h>

namespace zefa::swf {

namespace {

constexpr size_t kFirstChunk = size_t{64} << 10;
// The decoder's own allocation (dictionary and state) may not exceed this; the dictionary is
// never larger than the output anyway (see below).
constexpr uint64_t kLzmaMemLimit = uint64_t{128} << 20;

const char* const kTruncated = "the compressed body ends before the length its header gives";
const char* const kCorrupt = "the compressed body does not decompress";

// Room for the next piece of output: doubles up to `want`, never past it.
void grow(std::vector<uint8_t>& out, size_t produced, size_t want) {
    if (produced < out.size()) return;
    out.resize(std::min(want, std::max(kFirstChunk, out.size() * 2)));
}

} // namespace

std::string inflate_zlib(std::span<const uint8_t> in, size_t want, std::vector<uint8_t>& out) {
    out.clear();
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return "zlib cannot start";
    z.next_in = const_cast<Bytef*>(in.data()); // zlib never writes through next_in
    // Output is capped far below 4 GiB, so input past that could never be reached.
    z.avail_in = static_cast<uInt>(std::min<size_t>(in.size(), UINT32_MAX));
    size_t produced = 0;
    std::string error;
    while (produced < want) {
        grow(out, produced, want);
        z.next_out = out.data() + produced;
        z.avail_out = static_cast<uInt>(out.size() - produced);
        const int rc = inflate(&z, Z_NO_FLUSH);
        produced = out.size() - z.avail_out;
        if (rc == Z_STREAM_END) break;
        if (rc == Z_BUF_ERROR) { // no progress possible: the input ran out
            error = kTruncated;
            break;
        }
        if (rc != Z_OK) {
            error = kCorrupt;
            break;
        }
    }
    inflateEnd(&z);
    if (error.empty() && produced < want) error = kTruncated;
    out.resize(produced);
    return error;
}

std::string inflate_lzma(std::span<const uint8_t, 5> props, std::span<const uint8_t> in,
                         size_t want, std::vector<uint8_t>& out) {
    out.clear();
    // The same stream in the ".lzma" container, whose decoder takes a memory limit: properties
    // byte, dictionary size, uncompressed size. A valid stream never reaches back further than
    // what it has produced, so a dictionary larger than the output is cut down to it; a
    // hostile size then costs nothing. The size is given as unknown: decoding stops when the
    // output is full, whatever follows (as for zlib).
    uint32_t dict = uint32_t{props[1]} | uint32_t{props[2]} << 8 | uint32_t{props[3]} << 16 |
                    uint32_t{props[4]} << 24;
    dict = static_cast<uint32_t>(std::min<uint64_t>(dict, std::max<uint64_t>(want, 4096)));
    std::array<uint8_t, 13> head{props[0]};
    for (int i = 0; i < 4; ++i)
        head[1 + i] = static_cast<uint8_t>(dict >> (8 * i));
    for (int i = 0; i < 8; ++i)
        head[5 + i] = 0xff;

    lzma_stream s = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&s, kLzmaMemLimit) != LZMA_OK) return "liblzma cannot start";
    s.next_in = head.data();
    s.avail_in = head.size();
    bool data_fed = false;
    size_t produced = 0;
    std::string error;
    while (produced < want) {
        if (s.avail_in == 0 && !data_fed) {
            s.next_in = in.data();
            s.avail_in = in.size();
            data_fed = true;
        }
        grow(out, produced, want);
        s.next_out = out.data() + produced;
        s.avail_out = out.size() - produced;
        const lzma_ret rc = lzma_code(&s, LZMA_RUN);
        produced = out.size() - s.avail_out;
        if (rc == LZMA_STREAM_END) break;
        if (rc == LZMA_BUF_ERROR) {
            error = kTruncated;
            break;
        }
        if (rc == LZMA_MEMLIMIT_ERROR || rc == LZMA_MEM_ERROR) {
            error = "the compressed body needs too much memory";
            break;
        }
        if (rc != LZMA_OK) {
            error = kCorrupt;
            break;
        }
    }
    lzma_end(&s);
    if (error.empty() && produced < want) error = kTruncated;
    out.resize(produced);
    return error;
}

} // namespace zefa::swf
