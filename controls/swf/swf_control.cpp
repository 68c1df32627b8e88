#include "swf/swf_control.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <utility>

#include "swf/swf_sound_output.h"

namespace zefa {

namespace {

// Ticks run in one catch-up at most; a control left unattended longer drops the rest rather
// than stalling the UI thread.
constexpr int64_t kMaxCatchUp = 2000;

} // namespace

// Opens the sound output only when the movie first makes a sound, and keeps it across movies.
class SwfControl::Sound final : public swf::SoundEvents {
  public:
    SoundOutput& out() {
        if (!out_) {
            out_ = std::make_unique<SoundOutput>();
            out_->set_volume(volume_);
            out_->pause(paused_);
        }
        return *out_;
    }
    void stream_block(uint32_t stream, const swf::StreamHead& head,
                      std::span<const uint8_t> block) override {
        out().stream_block(stream, head, block);
    }
    void stream_stop(uint32_t stream) override {
        if (out_) out_->stream_stop(stream);
    }
    void start_sound(const swf::SoundDef& sound, const swf::SoundInfo& info) override {
        out().start_sound(sound, info);
    }
    void stop_all() override {
        if (out_) out_->stop_all();
    }
    void pause(bool paused) {
        paused_ = paused;
        if (out_) out_->pause(paused);
    }
    void set_volume(int percent) {
        volume_ = percent;
        if (out_) out_->set_volume(percent);
    }
    void clear() {
        if (out_) out_->clear();
    }
    void tick() {
        if (out_) out_->tick();
    }

  private:
    std::unique_ptr<SoundOutput> out_;
    bool paused_ = true;
    int volume_ = 100;
};

SwfControl::SwfControl(Clock clock)
    : clock_(std::move(clock)), sound_(std::make_unique<Sound>()), stage_(new SwfStage) {
    stage_->set_drawing([this](QPainter& p, const QTransform& t, const QRect& area) {
        if (!player_ || !renderer_) return;
        catch_up(); // what shows is the frame the clock has reached
        repaint_if_changed();
        renderer_->render(p, player_->root(), t, paint_options(), area);
    });
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
}

SwfControl::~SwfControl() {
    unload();
    delete stage_.data();
}

QWidget* SwfControl::widget() const {
    return stage_.data();
}

void SwfControl::unload() {
    set_running(false);
    renderer_.reset();
    player_.reset(); // before the definition it plays
    def_.reset();
    sound_->clear();
    movie_ = {};
    clock_.unload();
    ticks_done_ = 0;
    noted_generation_ = UINT64_MAX; // the next player's changes are all new
}

void SwfControl::set_movie(const std::string& path) {
    unload();
    load_error_.clear();
    if (path != "None" && !path.empty()) {
        ready_state_ = ReadyStateLoading;
        swf::ReadResult read = swf::read_movie_file(path);
        if (read.ok()) {
            movie_ = std::move(read.movie);
            def_ = std::make_unique<swf::MovieDef>(swf::MovieDef::build(movie_));
            player_ = std::make_unique<swf::MoviePlayer>(*def_, def_->has_sound() ? sound_.get()
                                                                                  : nullptr);
            renderer_ = std::make_unique<SwfRenderer>(*def_);
            // The clock counts ticks, never reaching an end in practice.
            clock_.load(INT32_MAX, movie_.frame_rate);
        } else {
            load_error_ = std::move(read.error);
        }
        ready_state_ = ReadyStateIdle;
    }
    show_stage();
    if (stage_) stage_->update();
}

void SwfControl::catch_up() {
    if (!player_ || !running_) return;
    const int64_t due = clock_.frame();
    if (due - ticks_done_ > kMaxCatchUp) ticks_done_ = due - kMaxCatchUp;
    while (ticks_done_ < due) {
        player_->tick();
        ++ticks_done_;
    }
    if (ticks_done_ > INT32_MAX / 2) { // start counting again long before the clock's end
        clock_.load(INT32_MAX, movie_.frame_rate);
        clock_.play();
        ticks_done_ = 0;
    }
}

void SwfControl::tick() {
    catch_up();
    sound_->tick();
    repaint_if_changed();
}

// Only the pixels of what changed are painted again: a movie moving a few objects over a
// still picture costs what those objects cost.
void SwfControl::repaint_if_changed() {
    if (!player_ || !renderer_ || !stage_ || player_->generation() == noted_generation_) return;
    noted_generation_ = player_->generation();
    const QRect dirty =
        renderer_->changes(player_->root(), stage_->twips_to_view(), stage_->rect());
    if (!dirty.isEmpty()) stage_->update(dirty);
}

int32_t SwfControl::frame_num() {
    catch_up();
    return player_ ? player_->frame() : 0;
}

int32_t SwfControl::total_frames() {
    return player_ ? player_->total() : 0;
}

bool SwfControl::playing() {
    catch_up();
    return running_ && player_ && player_->playing();
}

void SwfControl::set_background_color(int32_t color) {
    background_color_ = color;
    show_stage();
}

void SwfControl::set_wmode(const std::string& mode) {
    wmode_ = mode;
    show_stage();
}

void SwfControl::set_scale(const std::string& mode) {
    scale_ = mode;
    show_stage();
}

void SwfControl::set_quality2(const std::string& mode) {
    quality2_ = mode;
    if (stage_) stage_->update();
}

PaintOptions SwfControl::paint_options() const {
    PaintOptions o;
    if (swf::same_ignoring_ascii_case(quality2_, "Low") ||
        swf::same_ignoring_ascii_case(quality2_, "AutoLow")) {
        o.antialias = false;
        o.smooth_bitmaps = false;
    } else if (swf::same_ignoring_ascii_case(quality2_, "Medium")) {
        o.smooth_bitmaps = false;
    }
    return o;
}

int32_t SwfControl::ready_state() {
    return ready_state_;
}

void SwfControl::set_running(bool running) {
    if (running == running_) return;
    running_ = running;
    sound_->pause(!running);
    if (running) {
        clock_.play();
        timer_.start(std::max(1, static_cast<int>(256'000 / std::max<int>(clock_.rate(), 1))));
    } else {
        clock_.stop();
        timer_.stop();
    }
}

void SwfControl::play() {
    if (!player_) return;
    catch_up();
    player_->play();
    set_running(true);
}

void SwfControl::stop() {
    catch_up();
    if (player_) player_->stop();
    set_running(false);
    repaint_if_changed();
}

void SwfControl::stop_play() {
    stop();
}

void SwfControl::goto_frame(int32_t frame) {
    catch_up();
    set_running(false);
    if (!player_) return;
    player_->goto_frame(frame);
    repaint_if_changed();
}

void SwfControl::focus() {
    if (stage_) stage_->setFocus(Qt::OtherFocusReason);
}

void SwfControl::set_volume(int16_t percent) {
    volume_ = std::clamp<int>(percent, 0, 100);
    sound_->set_volume(volume_);
}

void SwfControl::show_stage() {
    if (!stage_) return;
    StageScene scene;
    scene.loaded = player_ != nullptr;
    if (scene.loaded) {
        // A movie without a colour of its own shows white, as the control always has.
        scene.background = background_color_ >= 0 ? static_cast<uint32_t>(background_color_)
                                                  : movie_.background.value_or(0xFFFFFF);
        scene.background &= 0xFFFFFF;
        scene.transparent = swf::same_ignoring_ascii_case(wmode_, "Transparent");
        scene.width = static_cast<double>(movie_.stage.width()) / 20.0;
        scene.height = static_cast<double>(movie_.stage.height()) / 20.0;
        scene.x_min = movie_.stage.x_min;
        scene.y_min = movie_.stage.y_min;
        scene.scale = scale_mode_from(scale_);
    }
    stage_->set_scene(scene);
}

} // namespace zefa
