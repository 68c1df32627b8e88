#include "swf/stage_mapping.h"

#include "swf/swf_text.h"

#include <algorithm>
#include <cmath>

namespace zefa {

namespace {

// Pixel sizes of a stage that may be absurdly large, kept within int.
int to_pixels(double v) {
    return static_cast<int>(std::lround(std::min(v, 1e9)));
}

} // namespace

ScaleMode scale_mode_from(std::string_view name) {
    if (swf::same_ignoring_ascii_case(name, "NoBorder")) return ScaleMode::NoBorder;
    if (swf::same_ignoring_ascii_case(name, "ExactFit")) return ScaleMode::ExactFit;
    if (swf::same_ignoring_ascii_case(name, "NoScale")) return ScaleMode::NoScale;
    return ScaleMode::ShowAll;
}

PixelRect map_stage(ScaleMode mode, double stage_w, double stage_h, int view_w, int view_h) {
    if (!(stage_w > 0) || !(stage_h > 0) || view_w <= 0 || view_h <= 0) return {};
    if (mode == ScaleMode::ExactFit) return {0, 0, view_w, view_h};
    double scale = 1.0;
    if (mode == ScaleMode::ShowAll) scale = std::min(view_w / stage_w, view_h / stage_h);
    if (mode == ScaleMode::NoBorder) scale = std::max(view_w / stage_w, view_h / stage_h);
    const int w = std::max(to_pixels(stage_w * scale), 1);
    const int h = std::max(to_pixels(stage_h * scale), 1);
    // Floor division, so a stage larger than the view overhangs by the same rule.
    const auto centre = [](int view, int size) {
        const int d = view - size;
        return d >= 0 ? d / 2 : -((-d + 1) / 2);
    };
    return {centre(view_w, w), centre(view_h, h), w, h};
}

} // namespace zefa
