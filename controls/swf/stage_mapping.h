#pragma once

// Where a movie's stage lies inside the control for each Scale mode. Pure geometry in the
// control's pixels; the rectangle may reach past the control (NoBorder, NoScale), which then
// crops it.

#include <string_view>

namespace zefa {

enum class ScaleMode { ShowAll, NoBorder, ExactFit, NoScale };

// "ShowAll", "NoBorder", "ExactFit", "NoScale" in any case; anything else is ShowAll, the
// control's default.
ScaleMode scale_mode_from(std::string_view name);

struct PixelRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool operator==(const PixelRect&) const = default;
};

// stage_w and stage_h in pixels (twips / 20). An empty stage or view maps to an empty rectangle.
// ShowAll fits the whole stage (letterbox), NoBorder fills the view (crops), ExactFit stretches
// to the view, NoScale keeps 1:1; all but ExactFit centre the stage, half pixels rounded toward
// the top left.
PixelRect map_stage(ScaleMode mode, double stage_w, double stage_h, int view_w, int view_h);

} // namespace zefa
