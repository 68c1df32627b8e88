#include "swf/swf_player.h"

#include <algorithm>
#include <string_view>

namespace zefa::swf {

namespace {

// Fields a PlaceObject gives, over an object's current ones.
void take_fields(DisplayObject& o, const Place& p) {
    if (p.matrix) o.matrix = *p.matrix;
    if (p.cxform) o.cxform = *p.cxform;
    if (p.ratio) o.ratio = *p.ratio;
    if (p.clip_depth) o.clip_depth = *p.clip_depth;
    if (p.name) o.name = *p.name;
    if (p.visible) o.visible = *p.visible;
}

} // namespace

MoviePlayer::MoviePlayer(const MovieDef& def, SoundEvents* sound, const PlayerLimits& limits)
    : def_(def), sound_(sound), limits_(limits) {
    // The host starts it; the first frame's actions run when it does.
    root_ = make_timeline(&def_.main(), nullptr, false);
}

MoviePlayer::~MoviePlayer() {
    if (root_) forget(*root_);
}

std::unique_ptr<TimelineState> MoviePlayer::make_timeline(const Timeline* def,
                                                          TimelineState* parent, bool playing) {
    auto t = std::make_unique<TimelineState>();
    t->playing = playing;
    t->def = def;
    t->parent = parent;
    t->level = parent ? parent->level + 1 : 0;
    t->key = next_key_++;
    t->born = ticks_;
    alive_[t->key] = t.get();
    t->frame = -1;
    if (def->frame_count() > 0)
        enter(*t, 0, false);
    else
        t->frame = 0;
    return t;
}

void MoviePlayer::forget(TimelineState& t) {
    for (auto& [depth, o] : t.list)
        if (o.sprite) forget(*o.sprite);
    objects_ -= std::min(objects_, t.list.size());
    stop_stream(t);
    alive_.erase(t.key);
}

void MoviePlayer::stop_stream(TimelineState& t) {
    if (sound_ && t.def->stream) sound_->stream_stop(t.key);
}

void MoviePlayer::tick() {
    ++ticks_;
    advance(*root_);
    run_actions();
}

void MoviePlayer::advance(TimelineState& t) {
    const int32_t count = t.def->frame_count();
    if (t.born != ticks_ && t.playing && count > 1) {
        if (t.level == 0) {
            if (t.frame < count - 1) enter(t, t.frame + 1, false);
            if (t.frame >= count - 1) t.playing = false; // the main timeline holds at its end
        } else if (t.frame < count - 1) {
            enter(t, t.frame + 1, false);
        } else {
            enter(t, 0, true); // sprites loop
        }
    }
    for (auto& [depth, o] : t.list)
        if (o.sprite) advance(*o.sprite);
}

void MoviePlayer::enter(TimelineState& t, int32_t f, bool jumped) {
    ++generation_;
    const auto& frames = t.def->frames;
    if (!jumped && f == t.frame + 1) {
        t.frame = f;
        for (const Control& c : frames[static_cast<size_t>(f)])
            apply(t, c, true);
        return;
    }
    // Rebuild: replay the display-list changes of frames 0..f onto an empty list, then keep
    // every object whose depth and character did not change, so placed sprites run on.
    if (t.playing) stop_stream(t); // a stopped timeline's stream has ended already
    TimelineState scratch;
    scratch.def = t.def;
    scratch.level = t.level;
    for (int32_t i = 0; i <= f; ++i)
        for (const Control& c : frames[static_cast<size_t>(i)]) {
            if (const Place* p = std::get_if<Place>(&c)) {
                auto it = scratch.list.find(p->depth);
                if (p->character && (!p->move || it == scratch.list.end())) {
                    DisplayObject o;
                    o.character = *p->character;
                    take_fields(o, *p);
                    scratch.list[p->depth] = std::move(o);
                } else if (it != scratch.list.end()) {
                    if (p->character) it->second.character = *p->character;
                    take_fields(it->second, *p);
                }
            } else if (const Remove* r = std::get_if<Remove>(&c)) {
                scratch.list.erase(r->depth);
            }
        }
    for (auto it = t.list.begin(); it != t.list.end();) {
        const auto next = scratch.list.find(it->first);
        if (next == scratch.list.end() || next->second.character != it->second.character) {
            if (it->second.sprite) forget(*it->second.sprite);
            --objects_;
            it = t.list.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [depth, o] : scratch.list) {
        auto it = t.list.find(depth);
        if (it != t.list.end()) {
            std::unique_ptr<TimelineState> kept = std::move(it->second.sprite);
            it->second = std::move(o);
            it->second.sprite = std::move(kept);
            continue;
        }
        if (objects_ >= limits_.max_objects) break;
        ++objects_;
        DisplayObject& placed = t.list[depth] = std::move(o);
        const Sprite* sp = def_.get<Sprite>(placed.character);
        if (sp && t.level + 1 <= limits_.max_level)
            placed.sprite = make_timeline(&sp->timeline, &t, true);
    }
    t.frame = f;
    // The frame jumped to plays its sounds and actions; the frames passed over do not.
    for (const Control& c : frames[static_cast<size_t>(f)])
        if (!std::holds_alternative<Place>(c) && !std::holds_alternative<Remove>(c))
            apply(t, c, true);
}

void MoviePlayer::apply(TimelineState& t, const Control& c, bool sounds) {
    if (const Place* p = std::get_if<Place>(&c)) return place(t, *p);
    if (const Remove* r = std::get_if<Remove>(&c)) return remove(t, r->depth);
    if (const Actions* a = std::get_if<Actions>(&c)) {
        queued_.emplace_back(t.key, &a->actions);
        return;
    }
    if (!sounds || !sound_) return;
    if (const StartSound* s = std::get_if<StartSound>(&c)) {
        if (const SoundDef* def = def_.get<SoundDef>(s->id)) sound_->start_sound(*def, s->info);
    } else if (const StreamData* d = std::get_if<StreamData>(&c)) {
        if (t.def->stream && t.playing) sound_->stream_block(t.key, *t.def->stream, d->block);
    }
}

void MoviePlayer::place(TimelineState& t, const Place& p) {
    ++generation_;
    auto it = t.list.find(p.depth);
    if (p.character && (!p.move || it == t.list.end())) {
        if (it != t.list.end()) remove(t, p.depth);
        if (objects_ >= limits_.max_objects) return;
        ++objects_;
        DisplayObject& o = t.list[p.depth];
        o.character = *p.character;
        take_fields(o, p);
        const Sprite* sp = def_.get<Sprite>(o.character);
        if (sp && t.level + 1 <= limits_.max_level)
            o.sprite = make_timeline(&sp->timeline, &t, true);
        return;
    }
    if (it == t.list.end()) return;
    DisplayObject& o = it->second;
    if (p.character && *p.character != o.character) {
        if (o.sprite) forget(*o.sprite);
        o.sprite.reset();
        o.character = *p.character;
        const Sprite* sp = def_.get<Sprite>(o.character);
        if (sp && t.level + 1 <= limits_.max_level)
            o.sprite = make_timeline(&sp->timeline, &t, true);
    }
    take_fields(o, p);
}

void MoviePlayer::remove(TimelineState& t, uint16_t depth) {
    ++generation_;
    auto it = t.list.find(depth);
    if (it == t.list.end()) return;
    if (it->second.sprite) forget(*it->second.sprite);
    --objects_;
    t.list.erase(it);
}

void MoviePlayer::run_actions() {
    // Entering frames queues more blocks; they run in the same pass, up to the limit.
    for (size_t i = 0; i < queued_.size() && i < static_cast<size_t>(limits_.max_action_blocks);
         ++i) {
        const auto [key, actions] = queued_[i];
        const auto it = alive_.find(key);
        if (it != alive_.end()) act(*it->second, *actions);
    }
    queued_.clear();
}

void MoviePlayer::act(TimelineState& self, const std::vector<FrameAction>& actions) {
    using Op = FrameAction::Op;
    const uint32_t self_key = self.key;
    uint32_t target_key = self_key;
    for (const FrameAction& a : actions) {
        // Any action may take away the timeline it runs in or acts on.
        const auto me = alive_.find(self_key);
        if (me == alive_.end()) return;
        if (a.op == Op::SetTarget) {
            TimelineState* t = a.text.empty() ? me->second : resolve(*me->second, a.text);
            target_key = t ? t->key : 0;
            continue;
        }
        const auto found = alive_.find(target_key);
        if (found == alive_.end()) continue;
        TimelineState& t = *found->second;
        switch (a.op) {
        case Op::Play:
            // The main timeline does not start again from its last frame.
            if (t.level > 0 || t.frame < t.def->frame_count() - 1) t.playing = true;
            break;
        case Op::Stop:
            if (t.playing) stop_stream(t);
            t.playing = false;
            break;
        case Op::NextFrame:
            go(t, t.frame + 1);
            t.playing = false;
            break;
        case Op::PreviousFrame:
            go(t, t.frame - 1);
            t.playing = false;
            break;
        case Op::GotoFrame:
            go(t, static_cast<int32_t>(std::min<uint32_t>(a.frame, INT32_MAX)));
            break;
        case Op::GotoLabel:
            if (const std::optional<int32_t> f = t.def->label(a.text)) go(t, *f);
            break;
        case Op::SetTarget:
            break;
        }
    }
}

TimelineState* MoviePlayer::resolve(TimelineState& from, const std::string& path) {
    TimelineState* t = &from;
    size_t i = 0;
    if (!path.empty() && path[0] == '/') {
        t = root_.get();
        i = 1;
    }
    while (t && i <= path.size()) {
        size_t end = path.find_first_of("/.", i);
        if (end == std::string::npos) end = path.size();
        const std::string_view part(path.data() + i, end - i);
        // ".." splits into two empty parts around the dot, read as going up once.
        if (part.empty() && end < path.size() && path[end] == '.' && end + 1 < path.size() &&
            path[end + 1] == '.') {
            t = t->parent;
            i = end + 2;
            continue;
        }
        if (part == "_root" || part == "_level0") {
            t = root_.get();
        } else if (part == "_parent") {
            t = t->parent;
        } else if (!part.empty()) {
            TimelineState* child = nullptr;
            for (auto& [depth, o] : t->list)
                if (o.sprite && o.name == part) child = o.sprite.get();
            if (!child)
                for (auto& [depth, o] : t->list)
                    if (o.sprite && swf::same_ignoring_ascii_case(o.name, part))
                        child = o.sprite.get();
            t = child;
        }
        i = end + 1;
    }
    return t;
}

void MoviePlayer::go(TimelineState& t, int32_t f) {
    const int32_t count = t.def->frame_count();
    if (count == 0) return;
    f = std::clamp(f, 0, count - 1);
    if (f == t.frame) return;
    enter(t, f, f != t.frame + 1);
    if (t.level == 0 && t.frame >= count - 1) t.playing = false; // nothing left to play
}

void MoviePlayer::play() {
    if (root_->frame < total() - 1) root_->playing = true;
    run_actions(); // the first frame's, on the first play
}

void MoviePlayer::stop() {
    if (root_->playing) stop_stream(*root_);
    root_->playing = false;
}

void MoviePlayer::goto_frame(int32_t f) {
    stop();
    go(*root_, f);
    run_actions();
    root_->playing = false; // a frame action may not start it: the host decides
}

} // namespace zefa::swf
