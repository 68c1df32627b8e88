#include "timeline_writer.h"

#include "bit_writer.h"
#include "swf_writer.h"

namespace zefa::test {

namespace {

std::string place_body(const PlaceFields& f, uint8_t flags2, std::optional<bool> visible) {
    const uint8_t flags =
        static_cast<uint8_t>((f.clip_depth ? 0x40 : 0) | (f.name ? 0x20 : 0) |
                             (f.ratio ? 0x10 : 0) | (f.cxform ? 0x08 : 0) | (f.matrix ? 0x04 : 0) |
                             (f.character ? 0x02 : 0) | (f.move ? 1 : 0));
    BitWriter w;
    w.u8(flags);
    if (flags2 != 0xFF) w.u8(flags2);
    w.u16(f.depth);
    if (f.character) w.u16(*f.character);
    if (f.matrix) w.matrix(*f.matrix);
    if (f.cxform) w.cxform(*f.cxform, true);
    if (f.ratio) w.u16(*f.ratio);
    if (f.name) w.string(*f.name);
    if (f.clip_depth) w.u16(*f.clip_depth);
    if (visible) w.u8(*visible ? 1 : 0);
    return w.data();
}

std::string record(uint8_t code, std::string_view payload) {
    std::string out(1, static_cast<char>(code));
    if (code >= 0x80) {
        put_u16(out, static_cast<uint32_t>(payload.size()));
        out.append(payload);
    }
    return out;
}

} // namespace

std::string place2(const PlaceFields& f) {
    return place_body(f, 0xFF, std::nullopt);
}

std::string place3(const PlaceFields& f, std::optional<bool> visible) {
    return place_body(f, visible ? 0x20 : 0, visible);
}

std::string place1(uint16_t character, uint16_t depth, const swf::Matrix& m) {
    BitWriter w;
    w.u16(character).u16(depth).matrix(m);
    return w.data();
}

std::string remove2(uint16_t depth) {
    std::string out;
    put_u16(out, depth);
    return out;
}

std::string frame_label(std::string_view name) {
    return std::string(name) + '\0';
}

std::string action_play() {
    return record(0x06, {});
}
std::string action_stop() {
    return record(0x07, {});
}
std::string action_next_frame() {
    return record(0x04, {});
}
std::string action_previous_frame() {
    return record(0x05, {});
}
std::string action_goto(uint16_t frame) {
    std::string p;
    put_u16(p, frame);
    return record(0x81, p);
}
std::string action_goto_label(std::string_view label) {
    return record(0x8C, std::string(label) + '\0');
}
std::string action_set_target(std::string_view path) {
    return record(0x8B, std::string(path) + '\0');
}
std::string action_other(uint8_t code, std::string_view payload) {
    return record(code, payload);
}

std::string do_action(const std::vector<std::string>& actions) {
    std::string out;
    for (const std::string& a : actions)
        out += a;
    out.push_back('\0');
    return out;
}

std::string sprite(uint16_t id, const std::vector<std::pair<uint16_t, std::string>>& tags) {
    std::string out;
    uint16_t frames = 0;
    for (const auto& [code, data] : tags)
        frames += code == kShowFrame;
    put_u16(out, id);
    put_u16(out, frames);
    for (const auto& [code, data] : tags) {
        put_u16(out, static_cast<uint32_t>(code) << 6 | 0x3f);
        put_u32(out, static_cast<uint32_t>(data.size()));
        out += data;
    }
    put_u16(out, 0); // End
    return out;
}

} // namespace zefa::test
