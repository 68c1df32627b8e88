#pragma once

// The hand-off record a second instance sends to the running one:
// dwData (u32, native order), cbData (u32), then cbData bytes of path ending in NUL.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zefa {

constexpr uint32_t kCopyDataMaxBytes = 64 * 1024; // cbData above this is refused
constexpr size_t kCopyDataHeader = 8;

struct CopyDataRecord {
    uint32_t dw_data = 0;
    std::string path; // bytes before the first NUL
};

std::string encode_copy_data(uint32_t dw_data, std::string_view path);

// Checks every field: the header is complete, cbData is 1..64 KiB, the byte count is exactly
// 8 + cbData and the data holds a NUL. Anything else yields nothing.
std::optional<CopyDataRecord> decode_copy_data(std::string_view bytes);

} // namespace zefa
