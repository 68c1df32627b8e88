#include <algorithm>
#include <cstdlib>

#include "shell/player.h"
#include "skin/panel_drawing.h"

namespace zefa {

namespace {

enum class Layer : int64_t { Lit = 1, Pressed = 2 };

// The element's picture from layer 1 or 2, onto its own place on the surface.
void picture(Player& p, size_t k, Layer layer) {
    const SkinElement& e = p.skin.el[k];
    copy_clipped(p.skin.panel_surface, e.x, e.y, e.w, e.h, p.skin.skin_bitmap, e.x,
                 e.y + static_cast<int64_t>(layer) * p.skin.el[kElFace].h);
}

// Pressed while held, else lit when `on`.
void toggle(Player& p, size_t k, bool on) {
    if (p.skin.el[k].state == kHeld)
        picture(p, k, Layer::Pressed);
    else if (on)
        picture(p, k, Layer::Lit);
}

bool held(const Player& p, size_t k) {
    return p.skin.el[k].state == kHeld;
}

// The seek-level bars and their indicators: reverse grows left from the end of element 33,
// forward grows right from the start of element 32, one step per level.
void draw_seek_levels(Player& p) {
    const int64_t speed = p.sh.seek_speed, h0 = p.skin.el[kElFace].h;
    if (speed < 0) {
        picture(p, kElReverseLamp, Layer::Lit);
        const SkinElement& e = p.skin.el[kElReverseLevel];
        const int64_t x = e.x + int64_t{e.w} * (1 + speed);
        copy_clipped(p.skin.panel_surface, x, e.y, int64_t{e.w} * -speed, e.h, p.skin.skin_bitmap,
                     x, e.y + h0);
    } else if (speed > 0) {
        picture(p, kElPlayingLamp, Layer::Lit);
        const SkinElement& e = p.skin.el[kElForwardLevel];
        copy_clipped(p.skin.panel_surface, e.x, e.y, int64_t{e.w} * speed, e.h, p.skin.skin_bitmap,
                     e.x, e.y + h0);
    }
}

void draw_buttons(Player& p) {
    const bool playing = p.list.play_state == 1;
    if (playing) {
        if (p.sh.paused != 0)
            picture(p, kElPausedLamp, Layer::Lit);
        else if (p.sh.seek_speed == 0)
            picture(p, kElPlayingLamp, Layer::Lit);
    }
    draw_seek_levels(p);

    if (held(p, kElPlay))
        picture(p, kElPlay, Layer::Pressed);
    else if (held(p, kElPause))
        picture(p, kElPause, Layer::Pressed);
    else if (p.sh.paused == 0 && playing)
        picture(p, kElPlay, Layer::Lit);
    else if (p.sh.paused == 1 && playing)
        picture(p, kElPause, Layer::Lit);

    // Fast forward and rewind show the wheel's seek instead of their own press.
    for (size_t k : {kElForward, kElRewind})
        if (held(p, k) && p.sh.seek_speed == 0) picture(p, k, Layer::Pressed);
    // A right press on next or previous holds fast forward or rewind; both show pressed.
    const bool right = p.skin.right_press != 0;
    if (held(p, kElBack) || (right && held(p, kElRewind))) picture(p, kElBack, Layer::Pressed);
    if (held(p, kElNext) || (right && held(p, kElForward))) picture(p, kElNext, Layer::Pressed);

    toggle(p, kElQuit, true);
    toggle(p, kElScanLines, p.cfg.ScanLine == 1);
    toggle(p, kElLineMask, p.cfg.MaskMode == 1);
    for (size_t k : {kElFullScreen, kElAspectMenu, kElZoomIn, kElZoomOut})
        toggle(p, k, false);
    toggle(p, kElPlaylist, p.cfg.ListBox == 1);
    if (held(p, kElOpen) || (right && held(p, kElPlaylist))) picture(p, kElOpen, Layer::Pressed);
    toggle(p, kElStop, false);
    toggle(p, kElSettings, false);
    toggle(p, kElRepeat, p.cfg.Repeat == 1);
    toggle(p, kElRandom, p.cfg.Randam == 1);
    toggle(p, kElMinimise, false);
    picture(p, kElDecoration, Layer::Lit);
}

} // namespace

// The panel is redrawn every other tick and mostly unchanged: the face goes back only where the
// last redraw drew over it, and only what differs from what the window shows is handed to it.
void Player::put_ch() {
    if (skin.panel_busy) return;
    skin.panel_busy = 1;
    const SkinElement& e0 = skin.el[kElFace];
    Bitmap& surface = skin.panel_surface;
    PanelTrace& trace = skin.panel_trace;
    const bool whole = !trace.valid || trace.face != skin.skin_bitmap.pixels().data() ||
                       trace.surface != surface.pixels().data() ||
                       trace.shown.width() != surface.width() ||
                       trace.shown.height() != surface.height();
    std::vector<Rect> touched = std::move(trace.drawn);
    trace.drawn.clear();
    if (whole) {
        copy_clipped(surface, e0.x, e0.y, e0.w, e0.h, skin.skin_bitmap, 0, 0);
    } else {
        for (const Rect& r : touched) {
            // The face copy's own mapping, surface (e0.x + i, e0.y + j) from picture (i, j),
            // limited to the face's rectangle as the whole copy is.
            const int64_t x0 = std::max<int64_t>(r.x, e0.x), y0 = std::max<int64_t>(r.y, e0.y);
            const int64_t x1 = std::min<int64_t>(int64_t{r.x} + r.w, int64_t{e0.x} + e0.w);
            const int64_t y1 = std::min<int64_t>(int64_t{r.y} + r.h, int64_t{e0.y} + e0.h);
            if (x0 < x1 && y0 < y1)
                copy_clipped(surface, x0, y0, x1 - x0, y1 - y0, skin.skin_bitmap, x0 - e0.x,
                             y0 - e0.y);
        }
    }
    {
        const WriteLog log(surface, trace.drawn);
        draw_buttons(*this);
        draw_digit_displays(*this);
        draw_seek_bar(*this);
        draw_volume_slider(*this);
        draw_title(*this);
    }
    trace.valid = true;
    trace.face = skin.skin_bitmap.pixels().data();
    trace.surface = surface.pixels().data();

    Rect changed;
    if (whole) {
        changed = changed_area(trace.shown, surface);
        trace.shown = surface;
    } else {
        touched.insert(touched.end(), trace.drawn.begin(), trace.drawn.end());
        for (const Rect& r : touched)
            changed = bounding_union(changed, changed_area(trace.shown, surface, r));
        trace.shown.blit(changed.x, changed.y, changed.w, changed.h, surface, changed.x, changed.y);
    }
    if (changed.w > 0 && changed.h > 0) io.win.draw_panel(surface, changed);
    skin.panel_busy = 0;
}

} // namespace zefa
