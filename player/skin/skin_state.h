#pragma once

#include <array>
#include <cstdint>
#include <vector>

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

// What the panel redraw needs to touch only what changes: the surface is the face with the
// last redraw's drawings over it, and `shown` what the panel window was last given.
struct PanelTrace {
    bool valid = false;         // false: the next redraw starts from the whole face
    const void* face = nullptr; // the face and surface it was valid for
    const void* surface = nullptr;
    std::vector<Rect> drawn; // where the last redraw drew over the face
    Bitmap shown;
};

struct SkinState {
    std::array<SkinElement, kSkinElements> el{}; // the layout table and each element's state
    Bitmap skin_bitmap;       // main.bmp: layer 0 the face, 1 lit, 2 pressed (load_skin)
    Bitmap panel_surface;     // what the panel window shows; put_ch composes it
    PanelTrace panel_trace;   // put_ch's own; reset whenever face or surface are replaced
    Bitmap title_strip;       // the scrolling title, drawn once per title (title_layout)
    int32_t title_width = 0;  // width of the title text in the strip
    int32_t title_gap = 0;    // blank run between two copies of the title
    int32_t panel_busy = 0;   // put_ch is composing; a nested call returns at once
    int32_t seek_fill = 0;    // lit width of the seek bar; the redraw sets it, seeks read it
    int32_t right_press = 0;  // the held button was pressed with the right button (pointer)
    int32_t pointer_x = 0;    // the pointer's x over the panel while a slider is held
    int32_t drag_active = 0;  // a window is being dragged; the tick leaves pointer and engine
    int32_t panel_on_top = 0; // the panel group was brought above the main window
};

} // namespace zefa
