#include "swf/swf_stage.h"

#include <QPainter>

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

void SwfStage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!scene_.loaded) return;
    const PixelRect r = map_stage(scene_.scale, scene_.width, scene_.height, width(), height());
    if (r.empty()) return;
    painter.fillRect(QRect(r.x, r.y, r.w, r.h), QColor::fromRgb(scene_.background));
}

} // namespace zefa
