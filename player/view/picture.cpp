#include <algorithm>

#include "shell/player.h"
#include "view/line_mask.h"
#include "view/picture_size.h"

namespace zefa {

int32_t Player::set_aspect(int32_t mode, int32_t which) {
    return aspect_dimension(mode, sh.video_size, which);
}

void Player::GetMovieScreenSize(int32_t full) {
    // A hand-edited Aspect beyond the menu plays at the original size rather than vanishing.
    const int32_t aspect = cfg.Aspect >= 0 && cfg.Aspect <= 7 ? cfg.Aspect : 0;
    const PictureInputs in{sh.video_size,
                           {set_aspect(aspect, 0), set_aspect(aspect, 1)},
                           view.screen_size,
                           skin.el[kElFace].h,
                           full ? cfg.FullZoom : cfg.NormalZoom};
    view.display_size = full ? fullscreen_picture(in) : windowed_picture(in);
}

// Panel1 shows the library's video where its region is, and covers RealMedia video with black
// where its region is.
void Player::W_MK() {
    if (sh.video_size.w < 1 || sh.video_size.h < 1) return;
    if (sh.engine_kind == kEngineFlash) {
        Rect r = io.win.child_rect(Child::Panel1);
        io.win.place_child(Child::Panel1, {r.x, r.y, 0, 0});
        return;
    }
    const Size pic = view.display_size;
    const Rect at{view.video_rect.x, view.video_rect.y, pic.w, pic.h};
    const bool full = sh.view_mode == kViewFull || sh.view_mode == kViewFullPanel;
    const bool real = sh.engine_kind == kEngineReal;
    if (!full || !real) io.win.place_child(Child::Panel1, at);
    const LineMaskInputs in{
        pic,        sh.video_size.h, cfg.MaskMode == 1,         cfg.U_Mask, cfg.D_Mask,
        cfg.L_Mask, cfg.R_Mask,      cfg.ScanLine == 1 && full, real};
    io.win.set_child_region(Child::Panel1, line_mask(in));
    if (real) io.win.place_child(Child::Panel1, at);
}

// The bar above a Flash movie: its two ends copied and its middle stretched between them.
void Player::draw_flash_bar(int32_t width) {
    const SkinElement &a = skin.el[kElFlashBarLeft], &mid = skin.el[kElFlashBarMiddle],
                      &b = skin.el[kElFlashBarRight];
    Bitmap bar(std::max(width, 0), 16);
    bar.blit(0, 0, a.w, a.h, skin.skin_bitmap, a.x, a.y);
    bar.stretch(a.w, 0, width - (a.w + b.w), mid.h, skin.skin_bitmap, mid.x, mid.y, mid.w, mid.h);
    bar.blit(width - b.w, 0, b.w, b.h, skin.skin_bitmap, b.x, b.y);
    io.win.set_child_image(Child::Image4, bar);
}

} // namespace zefa
