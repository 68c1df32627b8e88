#pragma once

// Shared by the Qt port tests: a log of what the port reports, and event-loop helpers.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/events.h"

namespace zefa::test {

using Log = std::vector<std::string>;

// Every report as one line, e.g. "down main left 10,20", in order of arrival.
class RecordingEvents : public PlayerEvents {
  public:
    Log log;
    int ticks = 0;
    std::function<void()> on_key; // runs inside FormKeyDown

    // The lines that start with this word.
    Log only(const std::string& word) const {
        Log out;
        for (const std::string& line : log)
            if (line.rfind(word + " ", 0) == 0 || line == word) out.push_back(line);
        return out;
    }

    void Timer1Timer() override { ++ticks; }
    void FormKeyDown() override {
        log.push_back("key");
        if (on_key) on_key();
    }
    void mouse_down(Win w, Button b, Point p) override { add("down", w, name(b) + " " + at(p)); }
    void mouse_up(Win w, Button b, Point p) override { add("up", w, name(b) + " " + at(p)); }
    void mouse_move(Win w, Point p) override { add("move", w, at(p)); }
    void mouse_wheel(Win w, int32_t delta) override { add("wheel", w, std::to_string(delta)); }
    void double_click(Win w, Point p) override { add("double", w, at(p)); }
    void window_moved(Win w) override { add("moved", w, ""); }
    void files_dropped(Win w, const std::vector<std::string>& paths) override {
        std::string all;
        for (const std::string& p : paths)
            all += (all.empty() ? "" : "|") + p;
        add("drop", w, all);
    }
    void app_restored() override { log.push_back("restored"); }
    void playlist_double_click() override { log.push_back("list-double"); }
    void playlist_mouse_up(Button b) override { log.push_back("list-up " + name(b)); }
    void copy_data(uint32_t dw_data, const std::string& path) override {
        log.push_back("copy " + std::to_string(dw_data) + " " + path);
    }

  private:
    static std::string name(Button b) {
        return b == Button::Left ? "left" : b == Button::Right ? "right" : "middle";
    }
    static std::string at(Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    void add(const char* what, Win w, const std::string& rest) {
        static const char* const wins[] = {"main", "dialog", "panel", "playlist"};
        std::string line = std::string(what) + " " + wins[static_cast<int>(w)];
        if (!rest.empty()) line += " " + rest;
        log.push_back(line);
    }
};

// Runs the event loop until the condition holds; false if it never does. The bound on
// rounds only keeps a broken case from hanging the run.
inline bool pump_until(const std::function<bool()>& done, int rounds = 2000) {
    QTimer wake; // waiting for events returns at least this often
    wake.start(5);
    for (int i = 0; i < rounds; ++i) {
        if (done()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return done();
}

// Lets everything already queued be handled.
inline void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Once a pop-up menu or a modal window is up, hands it to act (which should close it).
inline void when_modal_up(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* w = QApplication::activePopupWidget();
        if (!w) w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(w);
    });
    timer->start();
}

} // namespace zefa::test
