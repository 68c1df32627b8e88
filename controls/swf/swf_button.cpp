#include "swf/swf_button.h"

#include <algorithm>

namespace zefa::swf {

namespace {

// Moves past a FILTERLIST; the filters themselves are not drawn.
void skip_filters(Stream& s) {
    const int count = s.u8();
    for (int i = 0; i < count && s.ok(); ++i) {
        switch (s.u8()) {
        case 0: // drop shadow
            s.skip(23);
            break;
        case 1: // blur
            s.skip(9);
            break;
        case 2: // glow
            s.skip(15);
            break;
        case 3: // bevel
            s.skip(27);
            break;
        case 4: // gradient glow
        case 7: // gradient bevel
            s.skip(5 * size_t{s.u8()} + 19);
            break;
        case 5: { // convolution
            const size_t x = s.u8(), y = s.u8();
            s.skip(13 + 4 * x * y);
            break;
        }
        case 6: // colour matrix
            s.skip(80);
            break;
        default: // unknown: nothing after it can be found
            s.fail();
            break;
        }
    }
}

} // namespace

ButtonResult decode_button(uint16_t tag_code, Stream& s, const ButtonLimits& limits) {
    ButtonResult r;
    const bool two = tag_code == kTagDefineButton2;
    r.id = s.u16();
    if (two) {
        s.u8();  // track as menu: only matters for the pointer
        s.u16(); // where the actions start: the record list ends on its own
    }
    if (!s.ok()) return {r.id, {}, "button header cut short"};

    size_t records = 0;
    while (s.ok() && !s.at_end()) {
        uint8_t flags = s.u8();
        if (flags == 0) break;
        // Earlier writers left junk in the blend and filter bits.
        if (s.version() < 8 || !two) flags &= 0x0F;
        if (++records > limits.max_records) return {r.id, {}, "too many button records"};
        ButtonRecord rec;
        rec.character = s.u16();
        rec.depth = s.u16();
        rec.matrix = read_matrix(s);
        if (two) {
            rec.cxform = read_cxform(s, true);
            if (flags & 0x10) skip_filters(s);
            if (flags & 0x20) s.u8(); // blend mode: drawn normally
        }
        if (!s.ok()) break; // a record cut short ends the list
        if (flags & 0x01) r.button.up.push_back(rec);
    }
    std::stable_sort(
        r.button.up.begin(), r.button.up.end(),
        [](const ButtonRecord& a, const ButtonRecord& b) { return a.depth < b.depth; });
    return r;
}

void apply_button_cxform(Button& button, Stream& s) {
    const ColorTransform cx = read_cxform(s, false);
    if (!s.ok()) return;
    for (ButtonRecord& rec : button.up)
        rec.cxform = cx;
}

} // namespace zefa::swf
