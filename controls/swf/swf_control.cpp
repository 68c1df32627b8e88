#include "swf/swf_control.h"

#include <utility>

namespace zefa {

SwfControl::SwfControl(Clock clock) : timeline_(std::move(clock)), stage_(new SwfStage) {}

SwfControl::~SwfControl() {
    delete stage_.data();
}

QWidget* SwfControl::widget() const {
    return stage_.data();
}

void SwfControl::set_movie(const std::string& path) {
    timeline_.unload();
    movie_ = {};
    loaded_ = false;
    load_error_.clear();
    if (path != "None" && !path.empty()) {
        ready_state_ = ReadyStateLoading;
        swf::ReadResult read = swf::read_movie_file(path);
        ready_state_ = ReadyStateIdle;
        if (read.ok()) {
            movie_ = std::move(read.movie);
            loaded_ = true;
            timeline_.load(movie_.frame_count, movie_.frame_rate);
        } else {
            load_error_ = std::move(read.error);
        }
    }
    show_stage();
}

int32_t SwfControl::frame_num() {
    return timeline_.frame();
}

int32_t SwfControl::total_frames() {
    return timeline_.total();
}

void SwfControl::set_background_color(int32_t color) {
    background_color_ = color;
    show_stage();
}

void SwfControl::set_wmode(const std::string& mode) {
    wmode_ = mode;
}

void SwfControl::set_scale(const std::string& mode) {
    scale_ = mode;
    show_stage();
}

void SwfControl::set_quality2(const std::string& mode) {
    quality2_ = mode;
}

int32_t SwfControl::ready_state() {
    return ready_state_;
}

void SwfControl::play() {
    timeline_.play();
}

void SwfControl::stop() {
    timeline_.stop();
}

void SwfControl::stop_play() {
    timeline_.stop();
}

void SwfControl::goto_frame(int32_t frame) {
    timeline_.goto_frame(frame);
}

void SwfControl::focus() {
    if (stage_) stage_->setFocus(Qt::OtherFocusReason);
}

void SwfControl::show_stage() {
    if (!stage_) return;
    StageScene scene;
    scene.loaded = loaded_;
    if (loaded_) {
        // A movie without a colour of its own shows white, as the control always has.
        scene.background = background_color_ >= 0 ? static_cast<uint32_t>(background_color_)
                                                  : movie_.background.value_or(0xFFFFFF);
        scene.background &= 0xFFFFFF;
        scene.width = static_cast<double>(movie_.stage.width()) / 20.0;
        scene.height = static_cast<double>(movie_.stage.height()) / 20.0;
        scene.scale = scale_mode_from(scale_);
    }
    stage_->set_scene(scene);
}

} // namespace zefa
