#include "swf/swf_actions.h"

namespace zefa::swf {

std::vector<FrameAction> decode_actions(Stream& s, const ActionLimits& limits) {
    using Op = FrameAction::Op;
    std::vector<FrameAction> out;
    while (s.ok() && !s.at_end()) {
        const uint8_t code = s.u8();
        if (code == 0) break;
        uint16_t length = 0;
        if (code >= 0x80) length = s.u16();
        if (!s.ok() || length > s.remaining()) break; // a record cut short ends the list
        Stream payload(s.bytes(length), s.version());
        FrameAction a;
        switch (code) {
        case 0x04:
            a.op = Op::NextFrame;
            break;
        case 0x05:
            a.op = Op::PreviousFrame;
            break;
        case 0x06:
            a.op = Op::Play;
            break;
        case 0x07:
            a.op = Op::Stop;
            break;
        case 0x81:
            a.op = Op::GotoFrame;
            a.frame = payload.u16();
            break;
        case 0x8B:
            a.op = Op::SetTarget;
            a.text = payload.string();
            break;
        case 0x8C:
            a.op = Op::GotoLabel;
            a.text = payload.string();
            break;
        default:
            continue; // not frame control
        }
        if (!payload.ok()) continue;
        if (out.size() >= limits.max_actions) break;
        out.push_back(std::move(a));
    }
    return out;
}

} // namespace zefa::swf
