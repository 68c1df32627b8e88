#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

#include "config/file_text.h"
#include "config/int_conv.h"
#include "shell/player.h"

namespace zefa {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads one line; a line ends at LF, CR LF or a lone CR. False at the end of the file.
bool read_line(std::FILE* f, std::string& line) {
    line.clear();
    int c = std::getc(f);
    if (c == EOF) return false;
    for (; c != EOF; c = std::getc(f)) {
        if (c == '\n') break;
        if (c == '\r') {
            const int next = std::getc(f);
            if (next != '\n' && next != EOF) std::ungetc(next, f);
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    return true;
}

// Everything after the first "=", with every further "=" dropped.
std::string setting_value(const std::string& line) {
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
    const std::string path = sh.exe_dir + "ZEFA.cfg";

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

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    int err = file ? 0 : errno;
    struct stat st {};
    if (file && fstat(fileno(file.get()), &st) == 0 && S_ISDIR(st.st_mode)) err = EISDIR;
    if (err != 0) {
        io.dialogs.message_box(io_error_message(err));
        return false;
    }

    Rect panel = io.win.rect(Win::Panel);
    std::string line;
    for (size_t n = 0; read_line(file.get(), line); ++n) {
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
        } else {
            cfg.*f.int_member = *v;
        }
    }
    if (std::ferror(file.get())) {
        io.dialogs.message_box(io_error_message(errno ? errno : EIO));
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
