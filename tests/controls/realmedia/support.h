// Shared by the RealMedia control tests: media paths, waits that keep Qt's event loop running
// (the console reports through it), and a recorder of the events an instance delivers.
#pragma once

#include "shell/engine_controls.h"

#include <QTest>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace realmedia_test {

inline std::string media(const std::string& name) {
    return std::string(REALMEDIA_TEST_MEDIA_DIR) + "/" + name;
}

// Runs the event loop until pred holds. The limit only keeps a broken build from hanging;
// nothing is asserted about how long it took.
template <typename Pred> bool pump_until(Pred pred, int seconds = 30) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QTest::qWait(10);
    }
    return true;
}

inline void pump_for(int ms) {
    QTest::qWait(ms);
}

enum class Kind { Position, Opened, Closed, StateChange, PostSeek, OpenFailed };

struct Recorded {
    Kind kind;
    int32_t first = 0, second = 0;
    std::thread::id thread;
    // What the shell reads back inside its handlers.
    int32_t state = -1, width = -1, height = -1, length = -1;
};

class EventLog final : public zefa::RealPlayerEvents {
  public:
    explicit EventLog(zefa::RealPlayerControl& control) : control_(control) {}

    void RealAudio1PositionChange(int32_t position, int32_t length) override {
        add(Kind::Position, position, length);
    }
    void RealAudio1PresentationOpened() override { add(Kind::Opened); }
    void RealAudio1PresentationClosed() override { add(Kind::Closed); }
    void RealAudio1OpenFailed() override { add(Kind::OpenFailed); }
    void RealAudio1PlayStateChange(int32_t old_state, int32_t new_state) override {
        add(Kind::StateChange, old_state, new_state);
    }
    void RealAudio1PostSeek(int32_t old_time, int32_t new_time) override {
        add(Kind::PostSeek, old_time, new_time);
    }

    int count(Kind kind) const {
        int n = 0;
        for (const Recorded& r : events)
            n += r.kind == kind;
        return n;
    }
    // Index of the n-th event of a kind (0-based), or -1.
    int find(Kind kind, int nth = 0) const {
        for (size_t i = 0; i < events.size(); ++i)
            if (events[i].kind == kind && nth-- == 0) return static_cast<int>(i);
        return -1;
    }
    std::vector<int32_t> positions_after(int index) const {
        std::vector<int32_t> result;
        for (size_t i = static_cast<size_t>(index + 1); i < events.size(); ++i)
            if (events[i].kind == Kind::Position) result.push_back(events[i].first);
        return result;
    }
    bool wait_for(Kind kind, int nth = 0, int seconds = 30) {
        return pump_until([&] { return find(kind, nth) >= 0; }, seconds);
    }

    std::vector<Recorded> events;

  private:
    void add(Kind kind, int32_t first = 0, int32_t second = 0) {
        events.push_back({kind, first, second, std::this_thread::get_id(), control_.play_state(),
                          control_.clip_width(), control_.clip_height(), control_.length()});
    }

    zefa::RealPlayerControl& control_;
};

} // namespace realmedia_test
