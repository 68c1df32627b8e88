#pragma once

// Plays a decoded movie: the main timeline and every placed sprite, each with its own frame,
// play state and display list, advanced one frame per tick, with the frame actions run after
// each tick. The renderer draws root(); sound goes to a SoundEvents.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/swf_dictionary.h"

namespace zefa::swf {

struct TimelineState;

// One object on a display list.
struct DisplayObject {
    uint16_t character = 0;
    Matrix matrix;
    ColorTransform cxform;
    uint16_t ratio = 0;
    uint16_t clip_depth = 0; // non-zero: a mask over the depths above it up to this one
    std::string name;
    bool visible = true;
    std::unique_ptr<TimelineState> sprite; // a placed sprite's own timeline
};

struct TimelineState {
    const Timeline* def = nullptr;
    uint32_t key = 0;  // unique while it lives; names its stream sound
    int level = 0;     // sprites inside sprites: 0 is the main timeline
    int32_t frame = 0; // 0-based
    bool playing = true;
    uint64_t born = 0; // the tick it was placed in: it shows its first frame until the next
    TimelineState* parent = nullptr;
    std::map<uint16_t, DisplayObject> list; // by depth, drawn in increasing order
};

struct PlayerLimits {
    int max_level = 32;           // sprite nesting; deeper sprites are not instantiated
    size_t max_objects = 100'000; // display objects across all timelines
    int max_action_blocks = 256;  // per tick: a frame that jumps to itself cannot spin
};

class MoviePlayer {
  public:
    // The definition (and the movie it points into) must outlive the player. sound may be null.
    MoviePlayer(const MovieDef& def, SoundEvents* sound, const PlayerLimits& limits = {});
    ~MoviePlayer();
    MoviePlayer(const MoviePlayer&) = delete;
    MoviePlayer& operator=(const MoviePlayer&) = delete;

    // One frame of time: the main timeline moves on when playing (it holds on its last frame,
    // it never loops), every playing sprite moves on and loops, then the actions run.
    void tick();

    // The main timeline.
    int32_t frame() const { return root_->frame; }
    int32_t total() const { return def_.main().frame_count(); }
    bool playing() const { return root_->playing; }
    void play(); // nothing on the last frame
    void stop();
    void goto_frame(int32_t f); // clamped into the movie; stops there, runs that frame's actions

    const TimelineState& root() const { return *root_; }
    const MovieDef& definition() const { return def_; }
    // Bumped whenever what would be drawn may have changed.
    uint64_t generation() const { return generation_; }
    size_t objects() const { return objects_; }

  private:
    std::unique_ptr<TimelineState> make_timeline(const Timeline* def, TimelineState* parent,
                                                 bool playing);
    void forget(TimelineState& t); // t and everything placed in it go away
    void advance(TimelineState& t);
    // Enters frame f: from the current one when f is the next, otherwise by rebuilding the
    // display list from frame 0, keeping objects that stay the same.
    void enter(TimelineState& t, int32_t f, bool jumped);
    void apply(TimelineState& t, const Control& c, bool sounds);
    void place(TimelineState& t, const Place& p);
    void remove(TimelineState& t, uint16_t depth);
    void run_actions();
    void act(TimelineState& self, const std::vector<FrameAction>& actions);
    TimelineState* resolve(TimelineState& from, const std::string& path);
    void go(TimelineState& t, int32_t f);
    void stop_stream(TimelineState& t);

    const MovieDef& def_;
    SoundEvents* sound_;
    PlayerLimits limits_;
    std::unique_ptr<TimelineState> root_;
    std::unordered_map<uint32_t, TimelineState*> alive_;
    uint32_t next_key_ = 1;
    // Action blocks queued while frames were entered: run by timeline key, so a timeline that
    // went away in the meantime is simply skipped.
    std::vector<std::pair<uint32_t, const std::vector<FrameAction>*>> queued_;
    uint64_t generation_ = 0;
    uint64_t ticks_ = 0;
    size_t objects_ = 0;
};

} // namespace zefa::swf
