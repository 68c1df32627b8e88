#pragma once

// The control's window: paints the movie's stage. Until shapes are drawn, every frame is the
// background colour over the stage rectangle that the Scale mode places, black around it.
// Pointer input passes through to whatever lies below; the keyboard focus comes only when
// asked for, and keys the stage does not use go on to its parent.

#include <QWidget>
#include <cstdint>

#include "swf/stage_mapping.h"

namespace zefa {

struct StageScene {
    bool loaded = false;            // false: nothing to show, all black
    uint32_t background = 0xFFFFFF; // 0xRRGGBB
    double width = 0, height = 0;   // the stage in pixels
    ScaleMode scale = ScaleMode::ShowAll;
    bool operator==(const StageScene&) const = default;
};

class SwfStage final : public QWidget {
  public:
    explicit SwfStage(QWidget* parent = nullptr);

    void set_scene(const StageScene& scene); // repaints when it changed
    const StageScene& scene() const { return scene_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    StageScene scene_;
};

} // namespace zefa
