#pragma once

// The control's window: paints the movie's stage where the Scale mode places it, black around
// it, the background colour under the movie (unless the movie is transparent) and the movie's
// own drawing through a painter the control hands in. Pointer input passes through to whatever
// lies below; the keyboard focus comes only when asked for, and keys the stage does not use go
// on to its parent.

#include <QTransform>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "swf/stage_mapping.h"

namespace zefa {

struct StageScene {
    bool loaded = false;            // false: nothing to show, all black
    uint32_t background = 0xFFFFFF; // 0xRRGGBB
    bool transparent = false;       // the background colour is not painted
    double width = 0, height = 0;   // the stage in pixels
    double x_min = 0, y_min = 0;    // the stage's origin in twips
    ScaleMode scale = ScaleMode::ShowAll;
    bool operator==(const StageScene&) const = default;
};

class SwfStage final : public QWidget {
  public:
    // Draws the movie; the painter is clipped to the stage, the transform maps twips to the
    // widget's pixels, and only the area (widget pixels) needs painting.
    using Drawing = std::function<void(QPainter&, const QTransform&, const QRect&)>;

    explicit SwfStage(QWidget* parent = nullptr);

    void set_scene(const StageScene& scene); // repaints when it changed
    const StageScene& scene() const { return scene_; }
    void set_drawing(Drawing drawing);

    // Where twips land in a view of this size, for the scene's Scale mode.
    static QTransform twips_to_view(const StageScene& scene, int view_w, int view_h);
    QTransform twips_to_view() const { return twips_to_view(scene_, width(), height()); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    StageScene scene_;
    Drawing drawing_;
};

} // namespace zefa
