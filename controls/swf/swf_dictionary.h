#pragma once

// A movie decoded for playing: every character by id, and each timeline (the movie's and each
// sprite's) as its frames' display-list changes, actions and sounds. Built once after the
// reader; a definition that cannot be decoded is skipped with a reason and the rest plays.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "swf/swf_actions.h"
#include "swf/swf_bitmap.h"
#include "swf/swf_button.h"
#include "swf/swf_font.h"
#include "swf/swf_morph.h"
#include "swf/swf_place.h"
#include "swf/swf_reader.h"
#include "swf/swf_shape.h"
#include "swf/swf_sound.h"
#include "swf/swf_text.h"

namespace zefa::swf {

struct Remove {
    uint16_t depth = 0;
};
struct StartSound {
    uint16_t id = 0;
    SoundInfo info;
};
struct StreamData {
    std::span<const uint8_t> block; // a SoundStreamBlock's data, in the movie's body
};
struct Actions {
    std::vector<FrameAction> actions;
};
// One display-list change, sound or action block of a frame, in tag order.
using Control = std::variant<Place, Remove, StartSound, StreamData, Actions>;

struct Timeline {
    std::vector<std::vector<Control>> frames; // one per ShowFrame
    std::vector<std::pair<std::string, int32_t>> labels;
    std::optional<StreamHead> stream;
    int32_t frame_count() const { return static_cast<int32_t>(frames.size()); }
    // The frame of a label: exact match first, then ignoring ASCII case.
    std::optional<int32_t> label(std::string_view name) const;
};

struct Sprite {
    Timeline timeline;
};

using Character =
    std::variant<Shape, MorphShape, Bitmap, Font, Text, EditText, Button, Sprite, SoundDef>;

struct DictionaryLimits {
    size_t max_edges = 2'000'000;                  // all shapes, morphs and glyphs together
    int64_t max_bitmap_pixels = int64_t{64} << 20; // all bitmaps together (256 MiB decoded)
    size_t max_controls = 4'000'000;               // display-list changes of all timelines
    size_t max_reasons = 16;                       // skipped definitions kept with a reason
};

class MovieDef {
  public:
    // The movie's body must outlive the definition: sounds and stream blocks point into it.
    static MovieDef build(const Movie& movie, const DictionaryLimits& limits = {});

    const Character* character(uint16_t id) const;
    template <class T> const T* get(uint16_t id) const {
        const Character* c = character(id);
        return c ? std::get_if<T>(c) : nullptr;
    }
    const Timeline& main() const { return main_; }
    uint8_t version() const { return version_; }
    size_t characters() const { return dictionary_.size(); }
    bool has_sound() const { return has_sound_; } // a sound defined or a stream announced
    size_t skipped() const { return skipped_; }
    const std::vector<std::string>& reasons() const { return reasons_; } // the first few

  private:
    friend class DictionaryBuilder;
    std::unordered_map<uint16_t, Character> dictionary_; // nodes: addresses stay put
    Timeline main_;
    uint8_t version_ = 0;
    bool has_sound_ = false;
    size_t skipped_ = 0;
    std::vector<std::string> reasons_;
};

} // namespace zefa::swf
