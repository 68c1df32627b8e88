#pragma once

// Fakes of the desktop ports: they keep the state a real desktop would and record calls.

#include <cerrno>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bmp_decode.h"
#include "config/file_text.h"
#include "platform/ports.h"

namespace zefa::test {

struct Placement {
    Win win;
    Stacking stacking;
    Rect rect;
    bool show;
};

class FakeWindows : public WindowPort {
  public:
    std::map<Win, Rect> rects{{Win::Main, {165, 117, 310, 231}},
                              {Win::Dialog, {222, 175, 573, 358}},
                              {Win::Panel, {0, 0, 312, 73}},
                              {Win::Playlist, {0, 0, 344, 109}}};
    std::map<Win, bool> visible;
    std::map<Win, Region> regions;
    std::map<Child, Rect> children{
        {Child::Panel1, {328, 96, 25, 25}},     {Child::Edit1, {376, -3, 0, 1}},
        {Child::Edit2, {0, 240, 25, 35}},       {Child::Image4, {416, 144, 105, 105}},
        {Child::Image5, {440, 8, 24, 19}},      {Child::RealAudio1, {0, 0, 320, 240}},
        {Child::RealAudio2, {356, 0, 100, 20}}, {Child::Flash, {328, 64, 33, 25}}};
    std::map<Child, Region> child_regions;
    std::map<Child, std::string> child_texts;
    std::vector<Placement> placements;
    std::vector<std::string> playlist_items;
    int playlist_selected = -1;
    int invalidations = 0;
    int panel_draws = 0;
    Bitmap panel; // the last surface drawn
    bool closed = false;
    int minimises = 0;
    std::vector<Win> moves; // interactive moves
    Child focused = Child::Edit1;

    void place(Win w, Stacking s, Rect r, bool show) override {
        placements.push_back({w, s, r, show});
        rects[w] = r;
        if (show) visible[w] = true;
    }
    Rect rect(Win w) const override { return rects.at(w); }
    void move(Win w, Point p) override { rects[w].x = p.x, rects[w].y = p.y; }
    void resize(Win w, Size s) override { rects[w].w = s.w, rects[w].h = s.h; }
    void show(Win w, bool v) override { visible[w] = v; }
    void set_region(Win w, const Region& r) override { regions[w] = r; }
    void invalidate(Win) override { ++invalidations; }
    void bring_to_front(Win) override {}
    void minimise_app() override { ++minimises; }
    void restore_app() override {}
    void interactive_move(Win w) override { moves.push_back(w); }
    void close_main() override { closed = true; }
    void place_child(Child c, Rect r) override { children[c] = r; }
    Rect child_rect(Child c) const override { return children.at(c); }
    void set_child_region(Child c, const Region& r) override { child_regions[c] = r; }
    void set_child_text(Child c, const std::string& t) override { child_texts[c] = t; }
    void set_child_image(Child, const Bitmap&) override {}
    void focus_child(Child c) override { focused = c; }
    uintptr_t native_handle(Child) override { return 0x5a; }
    void draw_panel(const Bitmap& surface, Rect changed) override {
        ++panel_draws;
        // Takes only the changed part, as the window does, so a wrong rectangle shows.
        if (panel.width() != surface.width() || panel.height() != surface.height())
            panel = surface;
        else
            panel.blit(changed.x, changed.y, changed.w, changed.h, surface, changed.x, changed.y);
    }
    void set_playlist_items(const std::vector<std::string>& names) override {
        playlist_items = names;
    }
    int playlist_selection() const override { return playlist_selected; }
};

// Capture target of the pointer; None when released.
enum class CaptureTo { None, Main, Panel };

class FakeInput : public InputPort {
  public:
    Point pos{};
    std::set<int> down;
    bool cursor_visible = true;
    int cursor_refreshes = 0;
    int show_calls = 0, hide_calls = 0;
    CaptureTo captured = CaptureTo::None;
    std::vector<Point> warps;
    std::vector<Rect> foreign; // other programs' windows stacked above ours

    Point cursor_pos() const override { return pos; }
    void set_cursor_pos(Point p) override {
        pos = p;
        warps.push_back(p);
    }
    void show_cursor(bool v) override {
        cursor_visible = v;
        ++(v ? show_calls : hide_calls);
    }
    void refresh_cursor() override { ++cursor_refreshes; }
    void capture(Win w) override {
        captured = w == Win::Panel ? CaptureTo::Panel : CaptureTo::Main;
    }
    void release_capture() override { captured = CaptureTo::None; }
    bool own_window_at(Point p) const override {
        for (const Rect& r : foreign)
            if (p.x >= r.x && p.x < r.x + r.w && p.y >= r.y && p.y < r.y + r.h) return false;
        return true;
    }
    bool key_down(int vkey) const override { return down.count(vkey) != 0; }
};

class FakeScreen : public ScreenPort {
  public:
    Size size{1024, 768};
    Size screen_size() const override { return size; }
};

class FakeDialogs : public DialogPort {
  public:
    std::vector<std::string> messages;
    std::optional<std::string> open_result;  // what the open dialog picks; nothing cancels
    int popup_result = -1;                   // the menu item chosen
    int settings_result = 0;                 // how the settings dialog closes
    std::vector<std::pair<Menu, int>> menus; // menus opened, with their ticked value
    int open_dialogs = 0, settings_dialogs = 0;
    std::function<void()> while_modal; // runs inside a message box, as a modal loop's events
    void message_box(const std::string& text) override {
        messages.push_back(text);
        if (while_modal) while_modal();
    }
    std::optional<std::string> open_file() override {
        ++open_dialogs;
        return open_result;
    }
    int popup_menu(Menu m, Point, int checked) override {
        menus.emplace_back(m, checked);
        return popup_result;
    }
    DialogFields settings_shown;                      // the fields as the dialog opened
    std::function<void(DialogFields&)> settings_user; // what the user does in the dialog
    int settings_dialog(DialogFields& fields) override {
        ++settings_dialogs;
        settings_shown = fields;
        if (settings_user) settings_user(fields);
        return settings_result;
    }
};

class FakeImages : public ImagePort {
  public:
    std::map<std::string, Bitmap> pictures; // paths that load without a file
    int loads = 0;

    // A registered picture, else the file decoded by the small BMP reader; the file is read
    // as the Qt port reads it.
    std::optional<Bitmap> load_bmp(const std::string& path, std::string& error) override {
        ++loads;
        if (auto it = pictures.find(path); it != pictures.end()) return it->second;
        std::string bytes;
        const int err = read_regular_file(path, kMaxBitmapBytes, bytes);
        if (err != 0 && err != EFBIG) {
            error = "ファイル " + path + " は開けません";
            return std::nullopt;
        }
        std::optional<Bitmap> b = err == 0 ? decode_bmp(bytes) : std::nullopt;
        if (!b) error = "ビットマップイメージが不正です";
        return b;
    }
    // Every character is a 6-pixel cell; all but blanks draw a black 5 x 8 block at its left.
    int32_t text_width(const std::string& t) override { return 6 * static_cast<int32_t>(t.size()); }
    void draw_text(Bitmap& b, int32_t x, int32_t y, const std::string& t) override {
        for (size_t i = 0; i < t.size(); ++i)
            if (t[i] != ' ') b.fill({x + 6 * static_cast<int32_t>(i), y, 5, 8}, 0);
    }
};

} // namespace zefa::test
