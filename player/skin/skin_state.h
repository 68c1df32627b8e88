#pragma once

#include <array>
#include <cstdint>

#include "platform/bitmap.h"
#include "skin/elements.h"

namespace zefa {

// Element states: the command channel between input and the executor.
enum ElementState : int32_t { kIdle = 0, kHeld = 1, kPending = 2, kPlayReleased = 3 };

struct SkinElement {
    int32_t x = 0, y = 0, w = 0, h = 0;
    int32_t state = kIdle;
};

constexpr size_t kSkinElements = 50;

struct SkinState {
    std::array<SkinElement, kSkinElements> el{};
    Bitmap skin_bitmap;
    Bitmap panel_surface;
    Bitmap title_strip;
    int32_t title_width = 0;
    int32_t title_gap = 0;
    int32_t panel_busy = 0;
    int32_t seek_fill = 0;
    int32_t right_press = 0;
    int32_t pointer_x = 0;
    int32_t drag_active = 0;
    int32_t panel_on_top = 0;
};

} // namespace zefa
