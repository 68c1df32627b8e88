// Any bytes as ZEFA.cfg: the load either succeeds or reports once, and a loaded record saves
// and loads back unchanged.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zefa;
    test::Harness h;
    h.dir.write("ZEFA.cfg", std::string(reinterpret_cast<const char*>(data), size));
    apply_setting_defaults(h.p().cfg, DefaultPhase::Startup);
    const bool loaded = h.p().CFG_DATA(0);
    if (h.dialogs.messages.size() != (loaded ? 0u : 1u)) throw std::logic_error("report count");
    if (!loaded) return 0;

    Settings first = h.p().cfg;
    const Rect panel = h.win.rects[Win::Panel];
    first.MainPanel_x = panel.x, first.MainPanel_y = panel.y;
    h.p().cfg = first;
    // Loaded strings may hold line breaks' neighbours but never line breaks themselves.
    if (!h.p().CFG_DATA(1)) throw std::logic_error("save failed");
    h.p().cfg = Settings{};
    if (!h.p().CFG_DATA(0)) throw std::logic_error("saved file does not load");
    Settings second = h.p().cfg;
    second.MainPanel_x = h.win.rects[Win::Panel].x, second.MainPanel_y = h.win.rects[Win::Panel].y;
    if (!(first == second)) throw std::logic_error("round trip changed the record");
    return 0;
}
