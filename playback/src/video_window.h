// The X child window the video is drawn into, on the library's own connection.
#pragma once

#include <cstdint>

namespace velmo::video_window {

// An unmapped 320 x 240 child of owner at (0, 0) that selects no input, so pointer and key
// events go to the owner. 0 when there is no display or the owner is not a window.
unsigned long create(uintptr_t owner);

void show(unsigned long window); // maps and raises it
void hide_and_detach(unsigned long window);
void resize(unsigned long window, int32_t width, int32_t height);
void destroy(unsigned long window);

} // namespace velmo::video_window
