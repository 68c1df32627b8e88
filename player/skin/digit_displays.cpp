#include "shell/player.h"
#include "skin/digit_cells.h"
#include "skin/panel_drawing.h"

namespace zefa {

namespace {

// Cell i of display k shows glyph g of the display's font, which starts at font_row.
void draw_cells(Player& p, size_t k, int64_t font_row, const std::vector<int64_t>& glyphs) {
    const SkinElement& e = p.skin.el[k];
    for (size_t i = 0; i < glyphs.size(); ++i)
        copy_clipped(p.skin.panel_surface, e.x + static_cast<int64_t>(i) * e.w, e.y, e.w, e.h,
                     p.skin.skin_bitmap, glyphs[i] * e.w, font_row);
}

} // namespace

void draw_digit_displays(Player& p) {
    const auto& el = p.skin.el;
    const int64_t font1 = 4 * int64_t{el[kElFace].h};
    const int64_t font2 = font1 + el[kElEntryDigits].h;
    const int64_t font3 = font2 + el[kElPositionDigits].h;
    const bool time_mode = p.sh.engine_kind == kEngineReal || p.sh.engine_kind == kEngineLibrary;
    const int64_t index =
        time_mode && p.cfg.Randam != 0 ? p.list.shuffle_pos : p.list.current_entry;
    draw_cells(p, kElEntryDigits, font1, entry_cells(index + 1, p.list.entry_count));
    if (time_mode) {
        draw_cells(p, kElPositionDigits, font2, time_cells(p.sh.media_pos));
        draw_cells(p, kElLengthDigits, font3, time_cells(p.sh.media_len));
    } else {
        draw_cells(p, kElPositionDigits, font2, frame_cells(p.sh.media_pos));
        draw_cells(p, kElLengthDigits, font3, frame_cells(p.sh.media_len));
    }
}

} // namespace zefa
