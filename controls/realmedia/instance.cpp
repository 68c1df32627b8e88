#include "instance.h"

namespace zefa::realmedia {

Instance::Instance(Console& console, std::function<void()> after_call)
    : console_(console), after_call_(std::move(after_call)) {}

void Instance::set_source(const std::string& path) {
    console_.set_source(path);
    after_call_();
}

void Instance::play() {
    console_.play();
    after_call_();
}

void Instance::pause() {
    console_.pause();
    after_call_();
}

void Instance::stop() {
    console_.stop();
    after_call_();
}

void Instance::toggle_play_pause() {
    console_.toggle_play_pause();
    after_call_();
}

void Instance::seek(int32_t ms) {
    console_.seek(ms);
    after_call_();
}

void Instance::set_volume(int16_t percent) {
    console_.set_volume(percent);
}

void Instance::deliver(const Event& event) {
    if (!sink_) return;
    switch (event.kind) {
    case Event::Kind::PositionChange:
        sink_->RealAudio1PositionChange(event.first, event.second);
        break;
    case Event::Kind::PresentationOpened:
        sink_->RealAudio1PresentationOpened();
        break;
    case Event::Kind::PresentationClosed:
        sink_->RealAudio1PresentationClosed();
        break;
    case Event::Kind::OpenFailed:
        sink_->RealAudio1OpenFailed();
        break;
    case Event::Kind::PlayStateChange:
        sink_->RealAudio1PlayStateChange(event.first, event.second);
        break;
    case Event::Kind::PostSeek:
        sink_->RealAudio1PostSeek(event.first, event.second);
        break;
    }
}

} // namespace zefa::realmedia
