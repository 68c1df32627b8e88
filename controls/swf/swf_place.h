#pragma once

// The display-list tags: PlaceObject 1-3 and RemoveObject 1-2, as the timeline applies them.

#include <cstdint>
#include <optional>
#include <string>

#include "swf/swf_records.h"
#include "swf/swf_stream.h"

namespace zefa::swf {

inline constexpr uint16_t kTagPlaceObject = 4;
inline constexpr uint16_t kTagRemoveObject = 5;
inline constexpr uint16_t kTagPlaceObject2 = 26;
inline constexpr uint16_t kTagRemoveObject2 = 28;
inline constexpr uint16_t kTagPlaceObject3 = 70;

// What one PlaceObject says; absent fields leave the object at that depth as it is.
struct Place {
    uint16_t depth = 0;
    bool move = false; // modify (or replace the character of) the object at the depth
    std::optional<uint16_t> character;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> cxform;
    std::optional<uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<uint16_t> clip_depth;
    std::optional<bool> visible;
};

// PlaceObject (4), PlaceObject2 (26) or PlaceObject3 (70). Empty when the tag is cut short
// before its depth and character; fields after a cut are dropped.
std::optional<Place> decode_place(uint16_t tag_code, Stream& s);

// RemoveObject (5) or RemoveObject2 (28): the depth to clear.
std::optional<uint16_t> decode_remove(uint16_t tag_code, Stream& s);

} // namespace zefa::swf
