#include <algorithm>
#include <initializer_list>

#include "shell/player.h"

namespace zefa {

// The keys are read by polling, on every executor call. A key activates the element a click
// would, once per press (latch bit 1); the volume keys step by 1 and then by 2 while held
// (latch bit 2) and hand the volume to the engines on release.
void Player::poll_keys() {
    if (cfg.InputMode != 1 && sh.view_mode != kViewFull && sh.view_mode != kViewFullPanel) return;
    const auto down = [this](int key) { return io.input.key_down(key); };
    const auto any_down = [&](std::initializer_list<int> keys) {
        return std::any_of(keys.begin(), keys.end(), down);
    };
    const bool alt_enter = down(vk::Menu) && down(vk::Return);
    const bool quit_keys = down(vk::Control) && down(vk::Menu) && down(vk::Q);
    const auto activate = [this](Element e) {
        skin.el[e].state = kPending;
        sh.key_latch |= 1;
    };
    const auto announce = [this](int32_t kind) {
        show_info(kind, ShellState::info_duration);
        sh.info_keep = 1;
    };

    if (sh.key_latch != 0) {
        if (any_down({vk::X, vk::Z})) return;
        if (down(vk::M) || down(vk::N)) {
            cfg.Volume = std::clamp(cfg.Volume + (down(vk::M) ? 2 : -2), 0, 100);
            show_info(kInfoVolume, ShellState::info_duration);
            sh.exec_countdown = 0;
            return;
        }
        if (alt_enter || quit_keys ||
            any_down({vk::F, vk::S, vk::Space, vk::MButton, vk::Escape, vk::Right, vk::Left, vk::Up,
                      vk::Down, vk::C, vk::A, vk::L}))
            return;
        if (sh.key_latch & 2) skin.el[kElVolume].state = kPending;
        sh.key_latch = 0;
        return;
    }

    const bool normal_window = sh.view_mode == kViewWindow || sh.view_mode == kViewBare;
    if (down(vk::X)) {
        activate(kElZoomIn);
        announce(kInfoZoom);
    } else if (down(vk::Z)) {
        activate(kElZoomOut);
        announce(kInfoZoom);
    } else if (down(vk::M) || down(vk::N)) {
        cfg.Volume = std::clamp(cfg.Volume + (down(vk::M) ? 1 : -1), 0, 100);
        sh.key_latch |= 2;
    } else if (down(vk::F) || alt_enter) {
        // Leaving full screen does not latch: a key still down acts again from the new view.
        if (normal_window)
            activate(kElFullScreen);
        else
            leave_full_screen();
    } else if (down(vk::S)) {
        activate(kElScanLines);
    } else if (quit_keys) {
        activate(kElQuit);
    } else if (down(vk::Escape)) {
        if (sh.view_mode == kViewFull || sh.view_mode == kViewFullPanel) leave_full_screen();
    } else if (down(vk::Right)) {
        activate(kElNext);
        announce(kInfoNext);
    } else if (down(vk::Left)) {
        activate(kElBack);
        announce(kInfoBack);
    } else if (down(vk::Space) || down(vk::MButton)) {
        activate(kElPlay);
    } else if (down(vk::Up) || down(vk::Down)) {
        // Held arrows keep the keys below from acting.
    } else if (down(vk::C)) {
        activate(kElZoomMenu);
    } else if (down(vk::A)) {
        activate(kElAspectMenu);
    } else if (down(vk::L)) {
        activate(kElLineMask);
    }
}

} // namespace zefa
