#pragma once

// Buttons as they are drawn at rest: the characters of their up state, in depth order. The
// other states, hit areas, sounds and actions are not kept.

#include <cstdint>
#include <string>
#include <vector>

#include "swf/swf_records.h"
#include "swf/swf_stream.h"

namespace zefa::swf {

inline constexpr uint16_t kTagDefineButton = 7;
inline constexpr uint16_t kTagDefineButtonCxform = 23;
inline constexpr uint16_t kTagDefineButton2 = 34;

struct ButtonRecord {
    uint16_t character = 0;
    uint16_t depth = 0; // in the button's own display list
    Matrix matrix;
    ColorTransform cxform;
    bool operator==(const ButtonRecord&) const = default;
};

struct Button {
    std::vector<ButtonRecord> up; // increasing depth; equal depths in file order
};

struct ButtonLimits {
    size_t max_records = 4096; // of all states together; more and the button is refused
};

struct ButtonResult {
    uint16_t id = 0;
    Button button;
    std::string error; // empty on success
};

// DefineButton and DefineButton2 (7, 34): the tag's data from the button id on. A record cut
// short ends the list.
ButtonResult decode_button(uint16_t tag_code, Stream& s, const ButtonLimits& limits = {});

// DefineButtonCxform (23): the tag's data after the button id. Its colour transform becomes
// that of every record of `button`.
void apply_button_cxform(Button& button, Stream& s);

} // namespace zefa::swf
