#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/geometry.h"

namespace zefa {

// Engines behind the controls.
enum EngineKind : int32_t { kEngineReal = 0, kEngineFlash = 1, kEngineLibrary = 2 };

// View modes: the start-up pass, window, return-to-window request, full screen without and with
// panel, window without panel.
enum ViewMode : int32_t {
    kViewStart = -1, // only as the layout pass's argument: the first layout at start-up
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

// What the full-screen info box shows (info_text.cpp turns a kind into its text).
enum InfoKind : int32_t {
    kInfoNone = 0,
    kInfoPause = 2,
    kInfoFF = 3,
    kInfoRew = 4,
    kInfoVolume = 5,
    kInfoZoom = 6, // the full-screen zoom's name
    kInfoNext = 7,
    kInfoBack = 8,
    kInfoPlay = 9,
};

// Start-up, main loop, engine dispatch and executor state.
struct ShellState {
    std::string exe_dir;       // program folder with a trailing "/"; set at construction
    std::string data_dir;      // ZEFA.cfg and zefa.hen, with a trailing "/": exe_dir unless moved
    std::string user_skin_dir; // a second Skin folder with a trailing "/", or empty
    std::string command_path;  // first command-line argument, empty when none
    int32_t started = 0;       // 1 once the first tick ran the start-up block
    // 1 while the panel has no place of its own (none stored, not yet dragged): the windowed
    // layouts hang it under the main window.
    int32_t panel_follows_main = 1;
    std::optional<std::string> early_handoff; // the last path handed over before start-up
    int32_t tick_busy = 0;       // a tick is running (a modal dialog's loop must not re-enter)
    int32_t repaint_pending = 0; // the next tick only repaints the main window
    int32_t key_state = 0;       // the library's last DS_KEY answer; 2 makes a drop append
    int32_t cursor_request = 0;  // set by commands and hover: 1 show, 2 hide; the tick acts
    int32_t cursor_hidden = 0;   // 1 while the tick holds the pointer hidden
    int32_t engine_kind = kEngineReal;   // the engine of the current medium (dispatch)
    int32_t view_mode = kViewWindow;     // ViewMode; set by the layout pass and the commands
    int32_t window_mode_before_full = 0; // the view full screen returns to (full-screen row)
    int32_t paused = -1;        // 1 paused, 0 playing; neither until something starts (dispatch)
    int32_t media_pos = 0;      // position in ms, or the Flash frame; the tick and seeks set it
    int32_t media_len = 0;      // length in ms, or the Flash frame count (dispatch)
    int32_t media_ended = 0;    // the tick saw the medium end; the executor moves on
    Size video_size{320, 240};  // the source picture; 0 x 0 without video (dispatch, stop)
    int32_t seek_speed = 0;     // -5..5, the wheel's fast-seek level; 0 for the buttons' steps
    int32_t seek_divider = 0;   // counts the library's forward/rewind passes (seeks every third)
    int32_t hover_region = 0;   // where the pointer was on the last tick (hover.cpp)
    int32_t dialog_open = 0;    // a modal dialog of ours is up; hover leaves the pointer alone
    int32_t left_armed = 0;     // a left press in a non-normal view waits for its release
    int32_t right_armed = 0;    // the same for the right button
    int32_t info_kind = 0;      // InfoKind the box shows next; set by commands and keys
    int32_t info_countdown = 0; // ticks the info box still shows
    static constexpr int32_t info_duration = 30;
    int32_t info_keep = 0; // the next layout pass keeps the info box (keys that announce)
    std::string info_text; // what Edit2 shows
    VolumeGesture volume_gesture;
    int32_t refresh_count = 0;   // ticks since the panel was last redrawn
    int32_t refresh_pending = 0; // a layout pass asked for a redraw
    int32_t title_offset = 0;    // the title strip's scroll position
    int32_t switch_stage = 0;    // the staged engine switch's step (dispatch), 0 idle
    int32_t start_failed = 0;    // the medium now counted as ended never started
    int32_t failed_starts = 0;   // starts failed in a row since a medium played or a request
    int32_t real_seek_stage = 0; // the RealMedia seek sequence's step, 0 idle (seek commands)
    int32_t exec_countdown = 0;  // executor calls until the next pass (2, 1, 0)
    int32_t executor_busy = 0;   // pbt_chk is running (a command's modal loop may call it)
    int32_t key_latch = 0;       // keyboard poll: bit 1 a key acted, bit 2 the volume changed
    int32_t aspect_pending = 0;  // an aspect menu choice waits for the executor
    int32_t quit_waits = 0;      // passes a quit has waited for the RealMedia control to stop
    std::string media_path;      // the medium started last (dispatch), for the desktop
    uint64_t media_serial = 0;   // counts the media started; the desktop tells them apart by it
    int64_t seek_target = -1;    // ms a desktop seek asks of the seek bar; -1: the bar's fill
};

} // namespace zefa
