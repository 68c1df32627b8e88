// A whole skin from any bytes: the first three bytes give the picture's width, height and
// pattern (mostly exact white and dark pixels, so outlines have many runs), the rest is
// "main.da1". The load, the outline and redraws in many player states never leave the
// bitmaps, and the outline lies within the picture.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zefa;
    if (size < 3) return 0;
    const int32_t w = data[0], h = data[1];
    const uint8_t pattern = data[2];
    Bitmap picture(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t mixed = static_cast<uint32_t>(x * 31 + y * 17 + pattern * 7);
            picture.set_pixel(
                x, y, (mixed % (pattern % 5 + 2)) == 0 ? 0xFFFFFFu : mixed * 2654435761u >> 8);
        }

    // One player for all inputs, as one that switches skins again and again.
    static test::Harness hs;
    Player& p = hs.p();
    hs.dialogs.messages.clear();
    const std::string folder = hs.dir.str() + "Skin/F/";
    std::filesystem::create_directories(folder);
    hs.dir.write("Skin/F/main.da1", std::string(reinterpret_cast<const char*>(data) + 3, size - 3));
    hs.images.pictures[folder + "main.bmp"] = picture;
    p.load_skin("F");
    if (hs.dialogs.messages.size() > 1) throw std::logic_error("more than one message");

    if (hs.dialogs.messages.empty()) { // a stopped load keeps the previous skin's pictures
        const Bitmap& surface = p.skin.panel_surface;
        if (surface.width() > w || surface.height() > h)
            throw std::logic_error("surface too large");
        for (const Rect& r : hs.win.regions[Win::Panel].rects)
            if (r.x < 0 || r.y < 0 || r.w <= 0 || r.h != 1 || r.x + r.w > w || r.y >= h)
                throw std::logic_error("outline outside the picture");
    }

    for (int round = 0; round < 6; ++round) {
        const uint8_t s = data[(3 + round) % size];
        for (size_t k = 0; k < kSkinElements; ++k)
            p.skin.el[k].state = static_cast<int32_t>((s >> (k % 4)) & 1);
        p.sh.seek_speed = s % 11 - 5;
        p.sh.paused = s % 3 - 1;
        p.list.play_state = s % 2;
        p.sh.engine_kind = s % 3;
        p.sh.media_pos = static_cast<int32_t>(s * 123457u);
        p.sh.media_len = round % 2 ? 0 : static_cast<int32_t>(s * 98765431u);
        p.skin.pointer_x = static_cast<int32_t>(s * 2246822519u);
        p.skin.right_press = s & 1;
        p.sh.title_offset = static_cast<int32_t>(s) * 9;
        p.cfg.Volume = static_cast<int32_t>(s * 40503u);
        if (round == 3) p.title_layout(std::string(s, 'm'));
        const bool volume_held = p.skin.el[kElVolume].state == kHeld;
        p.put_ch();
        if (volume_held && (p.cfg.Volume < 0 || p.cfg.Volume > 100))
            throw std::logic_error("volume beyond its range");
    }
    return 0;
}
