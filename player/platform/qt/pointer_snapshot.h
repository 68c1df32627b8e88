#pragma once

#include <functional>
#include <optional>
#include <utility>

// The pointer and modifier state of one moment. Within a tick the first question asks the X
// server and every later one of that tick gets the same answer: the tick reads buttons,
// position and modifiers a dozen times, and each round trip wakes three threads.

namespace zefa::qt {

struct PointerState {
    int buttons = 0; // virtual-key bits: 1 left, 2 right, 4 middle
    int x = 0;       // on the screen, in device pixels
    int y = 0;
    bool on_screen = false; // the position is on our screen
    bool control = false;
    bool alt = false;
};

class PointerSnapshot {
  public:
    using Query = std::function<std::optional<PointerState>()>;
    explicit PointerSnapshot(Query query) : query_(std::move(query)) {}

    // Between these two one query serves the whole tick.
    void begin_tick() {
        cached_.reset();
        caching_ = true;
    }
    // Also before any loop of events inside the tick (a menu, a dialog, a move): what comes
    // after it in the tick asks afresh.
    void end_tick() {
        cached_.reset();
        caching_ = false;
    }
    // After the program moved the pointer itself.
    void forget() { cached_.reset(); }

    // Empty when the query cannot answer (no X connection).
    std::optional<PointerState> state() const {
        if (!caching_) return query_();
        if (!cached_) cached_ = query_();
        return *cached_;
    }

  private:
    Query query_;
    bool caching_ = false;
    mutable std::optional<std::optional<PointerState>> cached_;
};

} // namespace zefa::qt
