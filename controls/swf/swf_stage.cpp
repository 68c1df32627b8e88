#include "swf/swf_stage.h"

#include <QPaintEvent>
#include <QPainter>
#include <utility>

namespace zefa {

SwfStage::SwfStage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void SwfStage::set_scene(const StageScene& scene) {
    if (scene == scene_) return;
    scene_ = scene;
    update();
}

void SwfStage::set_drawing(Drawing drawing) {
    drawing_ = std::move(drawing);
    update();
}

QTransform SwfStage::twips_to_view(const StageScene& s, int view_w, int view_h) {
    const PixelRect r = map_stage(s.scale, s.width, s.height, view_w, view_h);
    if (r.empty() || s.width <= 0 || s.height <= 0) return QTransform(0, 0, 0, 0, 0, 0);
    const double sx = r.w / (s.width * 20.0);
    const double sy = r.h / (s.height * 20.0);
    return QTransform(sx, 0, 0, sy, r.x - s.x_min * sx, r.y - s.y_min * sy);
}

void SwfStage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!scene_.loaded) return;
    const PixelRect r = map_stage(scene_.scale, scene_.width, scene_.height, width(), height());
    if (r.empty()) return;
    const QRect stage(r.x, r.y, r.w, r.h);
    painter.setClipRect(stage); // what lies off the stage does not show
    if (!scene_.transparent) painter.fillRect(stage, QColor::fromRgb(scene_.background));
    if (drawing_) drawing_(painter, twips_to_view(), event->rect() & stage);
}

} // namespace zefa
