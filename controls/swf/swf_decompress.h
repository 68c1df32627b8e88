#pragma once

// The two compressed bodies of a Flash movie. Each produces exactly `want` bytes or fails:
// output past `want` is never decoded, and the buffer grows only as data really arrives, so a
// small file that claims a large length costs little.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zefa::swf {

// zlib stream. Returns an error text, empty on success.
std::string inflate_zlib(std::span<const uint8_t> in, size_t want, std::vector<uint8_t>& out);

// LZMA as a movie stores it: 5 bytes of properties (lc/lp/pb, dictionary size) and raw data.
std::string inflate_lzma(std::span<const uint8_t, 5> props, std::span<const uint8_t> in,
                         size_t want, std::vector<uint8_t>& out);

} // namespace zefa::swf
