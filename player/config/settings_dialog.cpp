#include "shell/player.h"

namespace zefa {

// The seek and wheel edits show the stored values (at start-up, after a cancel or a reset).
void Player::show_seek_edits() {
    dlg.edit[1] = std::to_string(cfg.REW);
    dlg.edit[2] = std::to_string(cfg.FF);
    const int32_t wheel[10] = {cfg.WheelFF1,  cfg.WheelFF2,  cfg.WheelFF3,  cfg.WheelFF4,
                               cfg.WheelFF5,  cfg.WheelREW1, cfg.WheelREW2, cfg.WheelREW3,
                               cfg.WheelREW4, cfg.WheelREW5};
    for (int i = 0; i < 10; ++i)
        dlg.edit[3 + i] = std::to_string(wheel[i]);
}

// The settings button's row: the dialog runs modally inside the executor pass and its result
// is applied before the pass goes on.
void Player::settings_command() {
    skin.el[kElSettings].state = kIdle;
    sh.dialog_open = 1;
    const int result = io.dialogs.settings_dialog(dlg);
    sh.dialog_open = 0;
    switch (result) {
    case 1:
        apply_settings_dialog();
        break;
    case 2: // the ten wheel steps back to their defaults; FF and REW stay
        reset_wheel_steps(cfg);
        show_seek_edits();
        break;
    default: // cancel, also the frame's close box: the edits show the stored values again
        show_seek_edits();
        break;
    }
    skin.el[kElSettings].state = kIdle;
}

// OK: applying the dialog's fields comes with the dialog itself; until then the dialog only
// ever answers cancel.
void Player::apply_settings_dialog() {}

} // namespace zefa
