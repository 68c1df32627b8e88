#pragma once

// The frame-control part of a DoAction: stop, play, go to a frame or a label, step, and the
// target those act on. Every other action is stepped over by its length.

#include <cstdint>
#include <string>
#include <vector>

#include "swf/swf_stream.h"

namespace zefa::swf {

inline constexpr uint16_t kTagDoAction = 12;

struct FrameAction {
    enum class Op : uint8_t {
        Play,
        Stop,
        NextFrame,
        PreviousFrame,
        GotoFrame,
        GotoLabel,
        SetTarget
    };
    Op op = Op::Stop;
    uint32_t frame = 0; // GotoFrame, 0-based
    std::string text;   // GotoLabel's label, SetTarget's path ("" = back to the frame's own)
    bool operator==(const FrameAction&) const = default;
};

struct ActionLimits {
    size_t max_actions = 4096; // frame actions kept from one DoAction
};

// The action records up to the end marker (or the end of the data).
std::vector<FrameAction> decode_actions(Stream& s, const ActionLimits& limits = {});

} // namespace zefa::swf
