#include <cstdlib>
#include <ctime>

#include "config/file_text.h"
#include "shell/path_text.h"
#include "shell/player.h"

namespace zefa {

Player::Player(Ports ports, Engines engines, std::string exe_dir, std::string command_path)
    : io(ports), eng(engines) {
    sh.exe_dir = std::move(exe_dir);
    sh.data_dir = sh.exe_dir;
    sh.command_path = std::move(command_path);
    apply_setting_defaults(cfg, DefaultPhase::Create);
}

void Player::use_folders(std::string data_dir, std::string user_skin_dir) {
    sh.data_dir = std::move(data_dir);
    sh.user_skin_dir = std::move(user_skin_dir);
}

// Runs once the four windows exist; reads no files.
void Player::FormCreate() {
    const Rect flash = io.win.child_rect(Child::Flash);
    io.win.place_child(Child::Flash, {flash.x, 700, flash.w, flash.h});
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    view.screen_size = io.screen.screen_size();
    make_mask();
    eng.RealAudio1.set_option(0);
}

// The first tick: everything that reads files, now that all windows exist.
void Player::startup_block() {
    apply_setting_defaults(cfg, DefaultPhase::Startup);
    // What saves interrupted by a crash or a kill left beside our two files.
    remove_stale_temporaries(sh.data_dir, {"ZEFA.cfg", "zefa.hen"});
    CFG_DATA(0);
    load_skin(cfg.SkinName);

    show_seek_edits();

    io.win.resize(Win::Panel, {skin.el[kElFace].w, skin.el[kElFace].h});
    io.win.show(Win::Panel, true);
    io.win.show(Win::Playlist, true);

    Vewset(kViewStart);
    io.win.place(Win::Main, cfg.AutoTop == 1 ? Stacking::TopMost : Stacking::Top,
                 {cfg.Window_x, cfg.Window_y, view.window_size.w, view.window_size.h}, true);

    if (!sh.command_path.empty()) {
        list.ListBox1.assign(1, sh.command_path);
        list.entry_count = 1;
        list.current_entry = 0;
        list.play_state = 2;
    } else {
        HEN_LOAD(0, sh.data_dir + "zefa.hen");
    }
    Vewset(kViewStart);
    if (cfg.Randam == 1) list.played_entry = ini_rnd(list.entry_count, list.current_entry);
    copy_lst();
    if (cfg.AutoPlay == 1)
        play();
    else
        io.input.refresh_cursor();
    sh.started = 1;
    if (sh.early_handoff) {
        const std::string path = std::move(*sh.early_handoff);
        sh.early_handoff.reset();
        take_handoff(path);
    }
}

// A path handed over by a second instance.
void Player::copy_data(uint32_t dw_data, const std::string& path) {
    if (dw_data != 1) return;
    // The start-up block, still to come, would replace the playlist: keep it for after.
    if (!sh.started) {
        sh.early_handoff = path;
        return;
    }
    take_handoff(path);
}

void Player::take_handoff(const std::string& path) {
    list.ListBox1.clear();
    if (is_playlist_path(path)) {
        if (!HEN_LOAD(0, path)) return; // the error has been shown; the hand-off ends here
    } else {
        list.ListBox1.push_back(path);
    }
    refresh_entry_count();
    list.current_entry = 0;
    list.play_state = 2;
    if (cfg.Randam == 1) list.played_entry = ini_rnd(list.entry_count, 0);
    copy_lst();
    play();
}

void Player::app_restored() {
    Vewset(sh.view_mode);
}

} // namespace zefa
