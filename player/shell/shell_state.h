#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/geometry.h"

namespace zefa {

// Engines behind the controls.
enum EngineKind : int32_t { kEngineReal = 0, kEngineFlash = 1, kEngineLibrary = 2 };

// View modes: window, return-to-window request, full screen without and with panel, window
// without panel.
enum ViewMode : int32_t {
    kViewWindow = 0,
    kViewReturn = 1,
    kViewFull = 2,
    kViewFullPanel = 3,
    kViewBare = 4
};

struct VolumeGesture {
    int32_t centre = 0;   // y the pointer is brought back to
    int32_t travel = 0;   // accumulated upward movement
    int32_t activity = 0; // ticks the gesture stays armed
    int32_t recentre = 0; // ticks until the pointer is brought back
};

// Start-up, main loop, engine dispatch and executor state.
struct ShellState {
    std::string exe_dir;      // program folder with a trailing "/"
    std::string command_path; // first command-line argument, empty when none
    int32_t started = 0;
    std::optional<std::string> early_handoff; // the last path handed over before start-up
    int32_t tick_busy = 0;
    int32_t repaint_pending = 0;
    int32_t key_state = 0;
    int32_t cursor_request = 0;
    int32_t cursor_hidden = 0;
    int32_t engine_kind = kEngineReal;
    int32_t view_mode = kViewWindow;
    int32_t window_mode_before_full = 0;
    int32_t paused = -1; // neither paused nor playing until something starts
    int32_t media_pos = 0;
    int32_t media_len = 0;
    int32_t media_ended = 0;
    Size video_size{320, 240};
    int32_t seek_speed = 0;
    int32_t seek_divider = 0;
    int32_t hover_region = 0;
    int32_t dialog_open = 0;
    int32_t left_armed = 0;
    int32_t right_armed = 0;
    int32_t info_kind = 0;
    int32_t info_countdown = 0;
    static constexpr int32_t info_duration = 30;
    int32_t info_keep = 0;
    std::string info_text; // what Edit2 shows
    VolumeGesture volume_gesture;
    int32_t refresh_count = 0;
    int32_t refresh_pending = 0;
    int32_t title_offset = 0;
    int32_t switch_stage = 0;
    int32_t start_failed = 0;  // the medium now counted as ended never started
    int32_t failed_starts = 0; // starts failed in a row since a medium played or a request
    int32_t real_seek_stage = 0;
    int32_t exec_countdown = 0;
    int32_t key_latch = 0;
    int32_t aspect_pending = 0;
};

} // namespace zefa
