#include <algorithm>

#include "shell/player.h"
#include "skin/panel_drawing.h"

namespace zefa {

void Player::title_layout(const std::string& text) {
    const SkinElement& e35 = skin.el[kElTitle];
    // Rows below the panel's bottom can never show, so a skin cannot make the strip huge.
    const int32_t height = std::clamp(e35.h, 0, skin.panel_surface.height());
    skin.title_strip = Bitmap(kTitleStripWidth, height, 0xFFFFFF);
    skin.title_width = io.images.text_width(text);
    skin.title_gap = e35.w / 3;

    const int64_t step = int64_t{skin.title_width} + skin.title_gap;
    const int copies = e35.w < step ? 2 : 4;
    for (int i = 0; i < copies; ++i) {
        const int64_t x = i * step;
        if (x >= kTitleStripWidth || x + skin.title_width <= 0) continue; // lost off the strip
        io.images.draw_text(skin.title_strip, static_cast<int32_t>(x), 0, text);
    }
    skin.title_strip.invert({0, 0, skin.title_strip.width(), skin.title_strip.height()});
}

// Lit picture, AND the strip (white text on black), OR the face: the text shows in the lit
// colours over a black face. Where the strip ends the text is lost, as if the strip were black.
void draw_title(Player& p) {
    const SkinElement& e = p.skin.el[kElTitle];
    const int64_t h0 = p.skin.el[kElFace].h;
    Bitmap& surface = p.skin.panel_surface;
    const Bitmap& bmp = p.skin.skin_bitmap;
    copy_clipped(surface, e.x, e.y, e.w, e.h, bmp, e.x, e.y + h0);
    and_clipped(surface, e.x, e.y, e.w, e.h, p.skin.title_strip, p.sh.title_offset, 0);
    copy_clipped(surface, e.x, e.y, e.w, e.h, bmp, e.x, e.y, Bitmap::Rop::Or);
}

} // namespace zefa
