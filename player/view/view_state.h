#pragma once

#include <cstdint>

#include "platform/geometry.h"

namespace zefa {

struct ViewState {
    Size screen_size{800, 600};
    Size display_size{};
    Rect video_rect{0, 0, 320, 240};
    Size window_size{320, 340};
    int32_t park_y = 241;
    int32_t panel_origin_y = 241;
    int32_t flash_focus_countdown = 0;
    Rect playlist_rect{};
};

} // namespace zefa
