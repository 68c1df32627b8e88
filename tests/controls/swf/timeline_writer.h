#pragma once

// Writes the timeline tags for the tests: placing and removing objects, frame labels, frame
// actions and sprites. Each function returns a tag's data; SwfWriter::tag adds the header.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "swf/swf_records.h"

namespace zefa::test {

// The fields of a PlaceObject2/3; those not set are not written.
struct PlaceFields {
    explicit PlaceFields(uint16_t d) : depth(d) {}
    PlaceFields& with_character(uint16_t v) { return character = v, *this; }
    PlaceFields& with_matrix(const swf::Matrix& v) { return matrix = v, *this; }
    PlaceFields& with_cxform(const swf::ColorTransform& v) { return cxform = v, *this; }
    PlaceFields& with_ratio(uint16_t v) { return ratio = v, *this; }
    PlaceFields& with_name(std::string v) { return name = std::move(v), *this; }
    PlaceFields& with_clip_depth(uint16_t v) { return clip_depth = v, *this; }
    PlaceFields& moving(bool v = true) { return move = v, *this; }

    uint16_t depth;
    std::optional<uint16_t> character;
    std::optional<swf::Matrix> matrix;
    std::optional<swf::ColorTransform> cxform;
    std::optional<uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<uint16_t> clip_depth;
    bool move = false;
};

std::string place2(const PlaceFields& f); // PlaceObject2 (code 26)
std::string place3(const PlaceFields& f, std::optional<bool> visible = std::nullopt); // code 70
std::string place1(uint16_t character, uint16_t depth, const swf::Matrix& m);         // code 4
std::string remove2(uint16_t depth);                                                  // code 28
std::string frame_label(std::string_view name);                                       // code 43

// Action records for a DoAction (code 12); join them and end with do_action.
std::string action_play();
std::string action_stop();
std::string action_next_frame();
std::string action_previous_frame();
std::string action_goto(uint16_t frame); // 0-based
std::string action_goto_label(std::string_view label);
std::string action_set_target(std::string_view path);
std::string action_other(uint8_t code, std::string_view payload = {}); // anything else
std::string do_action(const std::vector<std::string>& actions);

// DefineSprite (code 39): its tags in order; a code of 1 is ShowFrame.
std::string sprite(uint16_t id, const std::vector<std::pair<uint16_t, std::string>>& tags);

inline constexpr uint16_t kPlaceObject2 = 26;
inline constexpr uint16_t kPlaceObject3 = 70;
inline constexpr uint16_t kRemoveObject2 = 28;
inline constexpr uint16_t kDoAction = 12;
inline constexpr uint16_t kDefineSprite = 39;
inline constexpr uint16_t kFrameLabel = 43;
inline constexpr uint16_t kShowFrame = 1;

} // namespace zefa::test
