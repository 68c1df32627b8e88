#include <algorithm>
#include <cmath>
#include <limits>

#include "shell/player.h"
#include "skin/panel_drawing.h"

namespace zefa {

namespace {

// Truncates toward zero into 32 bits; values beyond the range stop at its ends.
int32_t trunc_to_int(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(v), -2147483648.0, 2147483647.0));
}

void draw_lit_part(Player& p, size_t k, int64_t width) {
    const SkinElement& e = p.skin.el[k];
    copy_clipped(p.skin.panel_surface, e.x, e.y, width, e.h, p.skin.skin_bitmap, e.x,
                 int64_t{e.y} + p.skin.el[kElFace].h);
}

} // namespace

void draw_seek_bar(Player& p) {
    const SkinElement& e = p.skin.el[kElSeekBar];
    if (e.state >= kHeld || (p.sh.real_seek_stage == 0 && p.sh.media_len > 1)) {
        int64_t fill = 0;
        if (e.state >= kHeld && p.sh.seek_target < 0) // not a seek the desktop asked for
            fill = int64_t{p.skin.pointer_x} - e.x;
        else if (e.w != 0) // a bar of width 0 has nothing to fill
            fill = trunc_to_int(static_cast<double>(p.sh.media_pos) /
                                (static_cast<double>(p.sh.media_len) / e.w));
        if (fill <= 0) fill = 0;
        if (fill >= e.w) fill = e.w;
        p.skin.seek_fill = static_cast<int32_t>(fill);
    }
    draw_lit_part(p, 20, p.skin.seek_fill);
}

void draw_volume_slider(Player& p) {
    SkinElement& e = p.skin.el[kElVolume];
    if (e.state == kHeld) {
        const double along = static_cast<double>(int64_t{p.skin.pointer_x} - e.x);
        // A slider of width 0 is all or nothing.
        const double v = e.w == 0 ? (along > 0 ? 100.0 : 0.0) : (100.0 / e.w) * along;
        int32_t volume = trunc_to_int(v);
        if (volume <= 0) volume = 0;
        if (volume >= 100) volume = 100;
        p.cfg.Volume = volume;
        e.state = kPending; // the executor applies it
    }
    draw_lit_part(p, 21, trunc_to_int(p.cfg.Volume * (e.w / 100.0)));
}

} // namespace zefa
