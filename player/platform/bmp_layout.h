#pragma once

// What a BMP file's headers promise about its size, read without a decoder.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zefa {

// The bytes a BMP file must hold for the uncompressed (BI_RGB, BI_BITFIELDS) pixel data its
// headers describe: the pixel data offset plus stride * |height|, at least past the headers,
// saturating at UINT64_MAX. nullopt when the headers are not read here (no "BM", cut short,
// an unknown info header size, compressed data, a width below 1): the decoder judges those.
std::optional<uint64_t> bmp_bytes_needed(std::string_view file);

} // namespace zefa
