#include "shell/path_text.h"
#include "shell/player.h"

namespace zefa {

namespace {

const char* const kZoomNames[] = {
    "50%",
    "75%",
    "100%",
    "150%",
    "200%",
    "FULL-1:整数倍の最大画面サイズ",
    "FULL-2:アスペクト比固定最大化",
    "FULL-3:アスペクト比固定最大化(はみ出し)",
    "FULL-4:画面いっぱいに表示",
};

} // namespace

// The text the info box shows for a kind; false for kinds that leave it unchanged.
static bool info_text_for(const Player& p, int32_t kind, std::string& text) {
    switch (kind) {
    case kInfoPause:
        text = "PAUSE";
        return true;
    case kInfoFF:
        text = "FF";
        return true;
    case kInfoRew:
        text = "REW";
        return true;
    case kInfoVolume:
        text = "VOLUME = " + std::to_string(p.cfg.Volume) + "%";
        return true;
    case kInfoZoom:
        if (p.cfg.FullZoom < 0 || p.cfg.FullZoom > 8) return false;
        text = kZoomNames[p.cfg.FullZoom];
        return true;
    case kInfoNext:
        text = "NEXT";
        return true;
    case kInfoBack:
        text = "BACK";
        return true;
    case kInfoPlay:
        text = "PLAY";
        return true;
    case 10:
        text = "PAUSE";
        return true;
    default:
        return false;
    }
}

// The full-screen info box: shown at the top, as wide as its text, or parked out of sight.
void Player::update_info_text() {
    const auto set_text = [this](const std::string& text) {
        if (text != sh.info_text) {
            sh.info_text = text;
            io.win.set_child_text(Child::Edit2, text);
        }
    };
    const auto show_box = [this] {
        Rect r = io.win.child_rect(Child::Edit2);
        const int32_t width = 18 * sjis_length(sh.info_text);
        if (r.y != 0 || r.w != width) {
            r.y = 0;
            r.w = width;
            io.win.place_child(Child::Edit2, r);
        }
    };
    const auto park_box = [this](int32_t top) {
        Rect r = io.win.child_rect(Child::Edit2);
        if (r.y != top) {
            r.y = top;
            io.win.place_child(Child::Edit2, r);
        }
    };

    if (cfg.Info != 1) {
        park_box(view.window_size.h);
        return;
    }
    if (sh.info_countdown > 0 && sh.seek_speed == 0) {
        --sh.info_countdown;
        if (sh.info_kind == kInfoZoom && sh.view_mode == kViewBare) sh.info_kind = 0;
        std::string text;
        if (info_text_for(*this, sh.info_kind, text)) set_text(text);
        if (sh.info_kind != 0) show_box();
    } else if (sh.seek_speed != 0) {
        set_text(sh.seek_speed > 0 ? "FF" + std::to_string(sh.seek_speed)
                                   : "REW" + std::to_string(-sh.seek_speed));
        show_box();
    } else {
        park_box(view.park_y);
    }
}

} // namespace zefa
