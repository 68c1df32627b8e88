// Paths of the generated test media and a bounded wait for conditions of a playing graph.
#pragma once

#include <chrono>
#include <string>
#include <thread>

namespace velmo_test {

inline std::string media(const std::string& name) {
    return std::string(VELMO_TEST_MEDIA_DIR) + "/" + name;
}

// Polls every 20 ms, as the player's tick does. The limit only keeps a broken build from
// hanging; nothing is asserted about how long it took.
template <typename Pred> bool eventually(Pred pred, int seconds = 10) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

inline void wait_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace velmo_test
