#include <algorithm>
#include <cctype>

#include "config/file_text.h"
#include "config/int_conv.h"
#include "shell/flash_settings.h"
#include "shell/player.h"
#include "skin/skin_file.h"

namespace zefa {

namespace {

constexpr int kComboSkin = 1, kComboQuality = 6, kComboScale = 7, kComboWindow = 8;

// The fixed items of combo boxes 2..8: the four mask boxes offer "0".."25" (the index is the
// percentage), the Flash boxes the property names (the index is the setting).
std::vector<std::string> fixed_items(int combo) {
    std::vector<std::string> items;
    switch (combo) {
    case kComboQuality:
        for (int32_t q = 0; q <= 4; ++q)
            items.emplace_back(flash_quality_name(q));
        break;
    case kComboScale:
        for (int32_t v = 0; const char* name = flash_scale_name(v); ++v)
            items.emplace_back(name);
        break;
    case kComboWindow:
        for (int32_t v = 0; const char* name = flash_wmode_name(v); ++v)
            items.emplace_back(name);
        break;
    default:
        for (int i = 0; i <= 25; ++i)
            items.push_back(std::to_string(i));
        break;
    }
    return items;
}

bool same_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A line break would split the setting's line in ZEFA.cfg and shift every line after it.
std::string one_line(const std::string& text) {
    std::string out = text;
    out.erase(std::remove_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }),
              out.end());
    return out;
}

} // namespace

// The seek and wheel edits show the stored values (at start-up, after a cancel or a reset).
void Player::show_seek_edits() {
    for (const SettingField& f : kSettingFields)
        if (f.control.kind == DialogControl::Edit && f.int_member)
            dlg.edit[f.control.number] = std::to_string(cfg.*f.int_member);
}

// Fills the dialog from the settings before it opens. The seek and wheel edits keep what they
// show (start-up, cancel and reset set them).
void Player::f3_init() {
    for (auto& items : dlg.combo_items)
        items.clear();
    for (std::string& text : dlg.combo_text)
        text.clear();
    for (const SettingField& f : kSettingFields) {
        const int n = f.control.number;
        if (f.control.kind == DialogControl::Check) {
            dlg.check[n] = cfg.*f.int_member == 1;
        } else if (f.control.kind == DialogControl::Combo && f.int_member) {
            dlg.combo_items[n] = fixed_items(n);
            const int32_t v = cfg.*f.int_member;
            dlg.combo_index[n] =
                v >= 0 && v < static_cast<int32_t>(dlg.combo_items[n].size()) ? v : -1;
        }
    }
    dlg.combo_items[kComboSkin] = skin_names();
    const auto& skins = dlg.combo_items[kComboSkin];
    const auto found = std::find_if(skins.begin(), skins.end(), [&](const std::string& name) {
        return same_ignoring_case(name, cfg.SkinName);
    });
    dlg.combo_index[kComboSkin] =
        found == skins.end() ? -1 : static_cast<int>(found - skins.begin());
    dlg.edit[13] = cfg.DropFileType;
    dlg.edit[14] = cfg.RealFileType;
}

// The item a combo box ended with: the selected one, or the one its typed text names exactly;
// -1 for none. Typed text that names no item never becomes a value.
int Player::chosen_item(int combo) const {
    const std::vector<std::string>& items = dlg.combo_items[combo];
    const int index = dlg.combo_index[combo];
    if (index >= 0 && index < static_cast<int>(items.size())) return index;
    const std::string_view typed = trimmed(dlg.combo_text[combo]);
    const auto named = std::find(items.begin(), items.end(), typed);
    return named == items.end() ? -1 : static_cast<int>(named - items.begin());
}

// The settings button's row: the dialog runs modally inside the executor pass and its result
// is applied before the pass goes on.
void Player::settings_command() {
    skin.el[kElSettings].state = kIdle;
    sh.dialog_open = 1;
    f3_init();
    const int result = io.dialogs.settings_dialog(dlg);
    switch (result) {
    case 1:
        apply_settings_dialog();
        break;
    case 2: // the ten wheel steps back to their defaults; nothing else of the dialog applies
        sh.dialog_open = 0;
        reset_wheel_steps(cfg);
        show_seek_edits();
        break;
    default: // cancel, also the frame's close box: the edits show the stored values again
        show_seek_edits();
        sh.dialog_open = 0;
        break;
    }
    skin.el[kElSettings].state = kIdle;
}

// OK, in its fixed order: a seek or wheel edit that holds no whole number stops it there,
// with what came before applied.
void Player::apply_settings_dialog() {
    sh.dialog_open = 0;
    cfg.DropFileType = one_line(dlg.edit[13]);
    cfg.RealFileType = one_line(dlg.edit[14]);

    const int skin_item = chosen_item(kComboSkin);
    if (skin_item >= 0 && dlg.combo_items[kComboSkin][skin_item] != cfg.SkinName) {
        // A skin that does not load leaves the one in use, and its name, as they were: a half
        // loaded skin would leave the panel without pictures, now and at every later start.
        const SkinTable table = skin.el;
        Bitmap picture = skin.skin_bitmap, surface = skin.panel_surface;
        if (load_skin(dlg.combo_items[kComboSkin][skin_item])) {
            cfg.SkinName = dlg.combo_items[kComboSkin][skin_item];
        } else {
            skin.el = table;
            skin.skin_bitmap = std::move(picture);
            skin.panel_surface = std::move(surface);
            skin.panel_trace = {};
        }
        Vewset(sh.view_mode);
    }

    // A quality that names no item is "Best"; a scale or window mode that names none stays.
    const int quality = chosen_item(kComboQuality);
    cfg.FlashQuality = quality >= 0 && quality <= 3 ? quality : 4;
    if (const int scale = chosen_item(kComboScale); scale >= 0) cfg.FlashScale = scale;
    if (const int window = chosen_item(kComboWindow); window >= 0) cfg.FlashWindow = window;
    FlashControl& flash = eng.ShockwaveFlash1;
    flash.set_quality2(flash_quality_name(cfg.FlashQuality));
    if (const char* scale = flash_scale_name(cfg.FlashScale)) flash.set_scale(scale);
    if (const char* wmode = flash_wmode_name(cfg.FlashWindow)) flash.set_wmode(wmode);

    for (const SettingField& f : kSettingFields) {
        const int n = f.control.number;
        if (f.control.kind == DialogControl::Combo && f.int_member && n != kComboQuality &&
            n != kComboScale && n != kComboWindow) {
            if (const int item = chosen_item(n); item >= 0) cfg.*f.int_member = item; // masks
        } else if (f.control.kind == DialogControl::Check) {
            cfg.*f.int_member = dlg.check[n] ? 1 : 0;
        }
    }

    for (const SettingField& f : kSettingFields) {
        if (f.control.kind != DialogControl::Edit || !f.int_member) continue;
        const std::optional<int32_t> v = str_to_int(dlg.edit[f.control.number]);
        if (!v) {
            io.dialogs.message_box(not_an_integer_message(dlg.edit[f.control.number]));
            return;
        }
        cfg.*f.int_member = *v;
    }
    Vewset(kViewReturn); // back to the window with its panel, also from full screen
}

} // namespace zefa
