#pragma once

// The player's process-wide state and the operations on it. The operations live in the
// folder of their subsystem; everything runs on the UI thread.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "platform/desktop_port.h"
#include "platform/events.h"
#include "platform/ports.h"
#include "playlist/playlist_state.h"
#include "shell/engine_controls.h"
#include "shell/shell_state.h"
#include "shell/velmo_api.h"
#include "skin/skin_state.h"
#include "view/view_state.h"

namespace zefa {

struct Engines {
    const VelmoApi& velmo;
    RealPlayerControl& RealAudio1; // picture, play state, position, volume
    RealPlayerControl& RealAudio2; // source and transport
    FlashControl& ShockwaveFlash1;
};

class Player : public PlayerEvents, public RealPlayerEvents {
  public:
    // exe_dir: the program folder with a trailing "/"; command_path: the first argument or "".
    Player(Ports ports, Engines engines, std::string exe_dir, std::string command_path);
    // Where ZEFA.cfg and zefa.hen live and a second Skin folder (or ""), both with a trailing
    // "/", when not beside the program; before the first tick.
    void use_folders(std::string data_dir, std::string user_skin_dir);

    // State, grouped by subsystem.
    Settings cfg;
    ShellState sh;
    PlaylistState list;
    SkinState skin;
    ViewState view;
    DialogFields dlg;

    // --- start-up (shell/startup.cpp)
    void FormCreate();
    void startup_block();
    void take_handoff(const std::string& path); // what copy_data does once started

    // --- main loop (shell/main_loop.cpp, hover.cpp, info_text.cpp, gestures.cpp)
    void Timer1Timer() override;
    bool foreign_window_at(Point p);
    void windowed_hover();
    void fullscreen_hover();
    void flash_hover();
    void update_info_text();
    void mouse_volume();
    void button_releases();
    void pace_redraw();

    // --- engines and commands
    void play(); // request playback of the current entry
    void pbt_chk();
    void executor_pass();
    void poll_keys(); // the keyboard's second step of pbt_chk (shell/keyboard_poll.cpp)
    void stop_command();
    bool quit_command(); // true once the main window is closing
    void play_pause_command();
    void end_fast_seek();
    void resume();
    void pause();
    void show_info(int32_t kind, int32_t ticks); // the full-screen info box's next text
    void hand_volume_to_engines();
    void open_command();
    void settings_command(); // config/settings_dialog.cpp
    void apply_settings_dialog();
    void f3_init();
    int chosen_item(int combo) const;
    void show_seek_edits();
    // --- seeking (shell/seek_commands.cpp)
    void seek_command(); // forward, rewind or a seek-bar click
    void fast_seek(bool forward);
    void seek_bar_click();
    void real_seek_step();                         // one step of the RealMedia seek sequence
    int64_t seek_bar_target(int64_t length) const; // length / bar width * seek_fill
    int32_t wheel_step(bool forward, int32_t n) const;
    void unload_flash();   // the second stop, stop, and no movie
    void advance_switch(); // the staged engine switch, one step per executor call
    void run_media();      // starts the current entry; only the staged switch calls it
    void start_flash(const std::string& path);
    void start_real(const std::string& path);
    void start_library(const std::string& path);
    void fail_start();   // a start that failed counts as the end of that medium
    void medium_ended(); // the executor's answer to the end of a medium

    // --- settings file (config/settings_file.cpp): 0 loads, other values save.
    // False when the load or save stopped on an error (already shown to the user).
    bool CFG_DATA(int32_t mode);

    // --- playlist
    // Mode 0 replaces the playlist with the file's entries, 2 appends them, 1 saves the
    // playlist to the file. False when it stopped on an error (already shown to the user).
    bool HEN_LOAD(int32_t mode, const std::string& path);
    int32_t ini_rnd(int32_t count, int32_t index);
    void copy_lst();
    void NEXT();
    void BACK();
    // Sorts the entries at 1-based positions first..last (inclusive).
    void sort(int32_t first, int32_t last);
    void switch_random();                 // the panel's random button
    void ListBox1DblClick(int32_t index); // the main window's hidden list
    // Lifts the panel and the playlist window above the main window.
    void panels_forward();
    Rect playlist_under_panel() const;
    // The entry choice at each start: false with an empty playlist, else the path to start.
    bool choose_entry(std::string& path);
    // 1 when the extension (with its dot) is on DropFileType (which 0) or RealFileType (1).
    int32_t ext_chk(int32_t which, const std::string& ext);

    // --- skin and panel
    bool load_skin(const std::string& name);                // false: the message has been shown
    std::string skin_folder(const std::string& name) const; // with a trailing "/"
    std::vector<std::string> skin_names() const; // bundled and the user's own, sorted, unique
    void W_MK0();                                // panel size and outline from the skin
    void put_ch();
    void title_layout(const std::string& text); // the title strip the panel scrolls

    // --- view
    void Vewset(int32_t view);
    void make_mask();
    int32_t set_aspect(int32_t mode, int32_t which); // aspect-corrected width (0) or height (1)
    void GetMovieScreenSize(int32_t full);           // sets display_size
    void W_MK();                                     // Panel1's region and place
    void draw_flash_bar(int32_t width);
    void hang_panel_under_main(int32_t view);
    void windowed_layout(int32_t view);   // views 0, 1 and 4
    void fullscreen_layout(int32_t view); // views 2 and 3
    void place_library_picture(Size picture);
    void set_child_top(Child c, int32_t y);
    // --- view and window commands of the executor (view/view_commands.cpp)
    void view_commands();
    void window_commands();
    void enter_full_screen();
    void leave_full_screen();
    void zoom_step(int32_t step);
    void aspect_menu();
    void zoom_menu();
    void set_child_width(Child c, int32_t w);

    // --- pointer input on the main and panel windows (skin/pointer_input.cpp)
    void main_mouse_down(Button b, Point p); // a panel press arrives here shifted down
    bool hits(Element k, Point p) const;     // element k's rectangle in main coordinates
    void panels_back(bool with_playlist);
    void drag_window(Win w);
    void panel_moved();
    // --- view window events (view/window_events.cpp)
    void wheel_seek(int32_t delta); // the wheel over the video or the panel
    void main_moved();

    // --- input from the desktop
    void FormKeyDown() override;
    void mouse_down(Win w, Button b, Point p) override;
    void mouse_up(Win w, Button b, Point p) override;
    void mouse_move(Win w, Point p) override;
    void mouse_wheel(Win w, int32_t delta) override;
    void double_click(Win w, Point p) override;
    void window_moved(Win w) override;
    void files_dropped(Win w, const std::vector<std::string>& paths) override;
    void app_restored() override;
    void playlist_double_click() override;
    void playlist_mouse_up(Button b) override;
    void copy_data(uint32_t dw_data, const std::string& path) override;

    // --- RealMedia control events
    void RealAudio1PositionChange(int32_t position, int32_t length) override;
    void RealAudio1PresentationOpened() override;
    void RealAudio1PresentationClosed() override;
    void RealAudio1OpenFailed() override;

    // --- the desktop's media controls (shell/desktop_commands.cpp)
    void set_desktop(DesktopPort* port); // nullptr: none
    void desktop_requests();             // once per tick, before the executor
    void desktop_request(const DesktopRequest& r);
    void desktop_report(); // once per tick, after the executor; only what changed
    DesktopState desktop_state() const;

    // Refreshes entry_count from the list.
    void refresh_entry_count() { list.entry_count = static_cast<int32_t>(list.ListBox1.size()); }

  protected:
    Ports io;
    Engines eng;
    DesktopPort* desktop_ = nullptr;
    std::optional<DesktopState> desktop_reported_;
};

} // namespace zefa
