#pragma once

// The parts of the panel redraw, each composing onto the panel surface.

#include <cstdint>

#include "skin/clipped_copy.h"

namespace zefa {

class Player;

constexpr int32_t kTitleStripWidth = 1640;

void draw_digit_displays(Player& p);
void draw_seek_bar(Player& p);
void draw_volume_slider(Player& p); // takes the pointer's volume while the slider is held
void draw_title(Player& p);

} // namespace zefa
