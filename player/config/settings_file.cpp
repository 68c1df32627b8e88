#include <string_view>

#include "config/file_text.h"
#include "config/int_conv.h"
#include "shell/player.h"

namespace zefa {

namespace {

// Takes the next line from the text; a line ends at LF, CR LF or a lone CR. False at the end.
bool next_line(std::string_view& text, std::string_view& line) {
    if (text.empty()) return false;
    const size_t end = text.find_first_of("\r\n");
    line = text.substr(0, end);
    if (end == std::string_view::npos) {
        text = {};
        return true;
    }
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crlf ? 2 : 1));
    return true;
}

// Everything after the first "=", with every further "=" dropped.
std::string setting_value(std::string_view line) {
    std::string value;
    bool on = false;
    for (char c : line) {
        if (c == '=')
            on = true;
        else if (on)
            value.push_back(c);
    }
    return value;
}

} // namespace

bool Player::CFG_DATA(int32_t mode) {
    refresh_entry_count();
    const std::string path = sh.data_dir + "ZEFA.cfg";

    if (mode != 0) {
        std::string text;
        for (const SettingField& f : kSettingFields) {
            text += f.key;
            text += f.str_member ? cfg.*f.str_member : std::to_string(cfg.*f.int_member);
            text += "\r\n";
        }
        if (!write_file_replacing(path, text)) {
            io.dialogs.message_box(cannot_create_message(path));
            return false;
        }
        return true;
    }

    if (!path_exists(path)) return true;
    list.ListBox1.clear();

    // A read that fails part-way applies the lines before it, then reports.
    std::string bytes;
    const int err = read_regular_file(path, kMaxSettingsBytes, bytes);

    Rect panel = io.win.rect(Win::Panel);
    std::string_view text = bytes, line;
    for (size_t n = 0; next_line(text, line); ++n) {
        if (n >= kSettingCount) continue; // read and ignored
        const SettingField& f = kSettingFields[n];
        std::string value = setting_value(line);
        if (f.str_member) {
            cfg.*f.str_member = std::move(value);
            continue;
        }
        const std::optional<int32_t> v = str_to_int(value);
        if (!v) {
            io.dialogs.message_box(not_an_integer_message(value));
            return false;
        }
        // The panel position goes to the panel window; the settings follow it on the next tick.
        if (n == kLineMainPanelX) {
            panel.x = *v;
            io.win.move(Win::Panel, {panel.x, panel.y});
        } else if (n == kLineMainPanelY) {
            panel.y = *v;
            io.win.move(Win::Panel, {panel.x, panel.y});
            sh.panel_follows_main = 0;
        } else {
            cfg.*f.int_member = *v;
        }
    }
    if (err != 0) {
        io.dialogs.message_box(io_error_message(err));
        return false;
    }

    // Bring the windows back onto the primary screen.
    const Size s = io.screen.screen_size();
    panel = io.win.rect(Win::Panel);
    if (panel.x >= s.w - 32) panel.x = 0;
    if (panel.y >= s.h - 32) panel.y = 240;
    if (panel.x < 1) panel.x = 0;
    if (panel.y < 1) panel.y = 0;
    io.win.move(Win::Panel, {panel.x, panel.y});
    if (cfg.Window_x >= s.w - 32) cfg.Window_x = 0;
    if (cfg.Window_y >= s.h - 32) cfg.Window_y = 0;
    if (cfg.Window_x < 1) cfg.Window_x = 0;
    if (cfg.Window_y < 1) cfg.Window_y = 0;
    return true;
}

} // namespace zefa
