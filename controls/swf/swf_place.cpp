#include "swf/swf_place.h"

namespace zefa::swf {

namespace {

// Bytes of each filter after its id; gradient filters and convolutions say their own size.
bool skip_filters(Stream& s) {
    const uint8_t count = s.u8();
    for (int i = 0; i < count && s.ok(); ++i) {
        const uint8_t id = s.u8();
        switch (id) {
        case 0:
            s.skip(23);
            break;
        case 1:
            s.skip(9);
            break;
        case 2:
            s.skip(15);
            break;
        case 3:
            s.skip(27);
            break;
        case 4:
        case 7: {
            const uint8_t n = s.u8();
            s.skip(size_t{5} * n + 19);
            break;
        }
        case 5: {
            const uint8_t x = s.u8();
            const uint8_t y = s.u8();
            s.skip(size_t{13} + size_t{4} * x * y);
            break;
        }
        case 6:
            s.skip(80);
            break;
        default:
            return false; // unknown filter: its size is unknown too
        }
    }
    return s.ok();
}

std::optional<Place> place_v1(Stream& s) {
    Place p;
    p.character = s.u16();
    p.depth = s.u16();
    p.matrix = read_matrix(s);
    if (!s.ok()) return std::nullopt;
    if (!s.at_end()) {
        const ColorTransform cx = read_cxform(s, false);
        if (s.ok()) p.cxform = cx;
    }
    return p;
}

} // namespace

std::optional<Place> decode_place(uint16_t tag_code, Stream& s) {
    if (tag_code == kTagPlaceObject) return place_v1(s);
    const bool v3 = tag_code == kTagPlaceObject3;
    const uint8_t flags = s.u8();
    const uint8_t flags2 = v3 ? s.u8() : 0;
    Place p;
    p.depth = s.u16();
    p.move = flags & 0x01;
    if (v3 && ((flags2 & 0x08) || ((flags2 & 0x10) && (flags & 0x02)))) s.string(); // class name
    if (flags & 0x02) p.character = s.u16();
    if (!s.ok()) return std::nullopt;
    // Everything after is optional: a field cut short is dropped with the ones after it.
    const auto keep = [&s](auto value, auto& field) {
        if (s.ok()) field = value;
        return s.ok();
    };
    if ((flags & 0x04) && !keep(read_matrix(s), p.matrix)) return p;
    if ((flags & 0x08) && !keep(read_cxform(s, true), p.cxform)) return p;
    if ((flags & 0x10) && !keep(s.u16(), p.ratio)) return p;
    if ((flags & 0x20) && !keep(s.string(), p.name)) return p;
    if ((flags & 0x40) && !keep(s.u16(), p.clip_depth)) return p;
    if (!v3) return p;
    if ((flags2 & 0x01) && !skip_filters(s)) return p;
    if (flags2 & 0x02) s.u8(); // blend mode: drawn as normal
    if (flags2 & 0x04) s.u8(); // bitmap caching
    if (flags2 & 0x20) keep(s.u8() != 0, p.visible);
    return p;
}

std::optional<uint16_t> decode_remove(uint16_t tag_code, Stream& s) {
    if (tag_code == kTagRemoveObject) s.u16(); // the character id: the depth alone decides
    const uint16_t depth = s.u16();
    if (!s.ok()) return std::nullopt;
    return depth;
}

} // namespace zefa::swf
