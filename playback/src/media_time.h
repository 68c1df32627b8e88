// Media time: the library counts in 100-ns units, GStreamer in ns, the boundary in whole ms.
#pragma once

#include <cstdint>

namespace velmo {

constexpr int64_t kUnitsPerMs = 10000;

constexpr int64_t units_from_ns(int64_t ns) {
    return ns / 100;
}

constexpr int64_t ns_from_units(int64_t units) {
    return units * 100;
}

// Truncates toward zero; a length beyond the int32 range of ms keeps the low 32 bits.
constexpr int32_t ms_from_units(int64_t units) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(units / kUnitsPerMs)));
}

constexpr int64_t units_from_ms(int32_t ms) {
    return static_cast<int64_t>(ms) * kUnitsPerMs;
}

} // namespace velmo
