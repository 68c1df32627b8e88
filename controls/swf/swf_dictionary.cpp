#include "swf/swf_dictionary.h"

#include <algorithm>

namespace zefa::swf {

namespace {

constexpr uint16_t kTagDefineSprite = 39;
constexpr uint16_t kTagFrameLabel = 43;

bool is_shape(uint16_t c) {
    return c == 2 || c == 22 || c == 32 || c == 83;
}
bool is_morph(uint16_t c) {
    return c == 46 || c == 84;
}
bool is_bitmap(uint16_t c) {
    return c == 6 || c == 20 || c == 21 || c == 35 || c == 36 || c == 90;
}
bool is_font(uint16_t c) {
    return c == 10 || c == 48 || c == 75;
}

size_t edges_of(const Shape& s) {
    size_t n = 0;
    for (const Shape::Layer& l : s.layers)
        for (const Contour& c : l.path.contours)
            n += c.segments.size() + 1;
    return n;
}

// The tags inside a sprite: same headers as the movie's, bounded by the sprite's data.
struct TagView {
    uint16_t code;
    std::span<const uint8_t> data;
};

template <class F> void walk(std::span<const uint8_t> data, F&& each) {
    Stream s(data);
    while (!s.at_end()) {
        const uint16_t head = s.u16();
        uint32_t length = head & 0x3f;
        if (length == 0x3f) length = s.u32();
        if (!s.ok() || length > s.remaining()) return; // a cut-off tag ends the sprite
        const TagView tag{static_cast<uint16_t>(head >> 6), s.bytes(length)};
        if (tag.code == kTagEnd) return;
        each(tag);
    }
}

} // namespace

std::optional<int32_t> Timeline::label(std::string_view name) const {
    for (const auto& [text, frame] : labels)
        if (text == name) return frame;
    for (const auto& [text, frame] : labels)
        if (swf::same_ignoring_ascii_case(text, name)) return frame;
    return std::nullopt;
}

class DictionaryBuilder {
  public:
    DictionaryBuilder(MovieDef& def, const Movie& movie, const DictionaryLimits& limits)
        : def_(def), movie_(movie), limits_(limits) {}

    void run() {
        def_.version_ = movie_.version;
        std::vector<Control> frame;
        for (const Tag& t : movie_.tags) {
            const std::span<const uint8_t> data(movie_.body.data() + t.offset, t.length);
            if (t.code == kTagEnd) break;
            if (t.code == kTagShowFrame) {
                def_.main_.frames.push_back(std::move(frame));
                frame.clear();
            } else if (t.code == kTagDefineSprite) {
                sprite(data);
            } else if (!control(def_.main_, frame, t.code, data)) {
                definition(t.code, data);
            }
        }
    }

  private:
    Stream stream(std::span<const uint8_t> data) const { return Stream(data, movie_.version); }

    void skip(const std::string& reason) {
        ++def_.skipped_;
        if (def_.reasons_.size() < limits_.max_reasons) def_.reasons_.push_back(reason);
    }

    bool defined(uint16_t id) const { return def_.dictionary_.contains(id); }

    // The first definition of an id stands: what was placed from it stays valid.
    void add(uint16_t id, Character c, const char* what) {
        if (defined(id)) return skip(std::string(what) + " " + std::to_string(id) + " redefined");
        def_.dictionary_.emplace(id, std::move(c));
    }

    void definition(uint16_t code, std::span<const uint8_t> data) {
        Stream s = stream(data);
        if (code == kTagJpegTables) {
            if (jpeg_tables_.empty()) jpeg_tables_ = data;
        } else if (is_shape(code)) {
            ShapeResult r = decode_shape(code, s, shape_limits());
            if (!r.error.empty()) return skip("shape " + std::to_string(r.id) + ": " + r.error);
            edges_ += edges_of(r.shape);
            add(r.id, std::move(r.shape), "shape");
        } else if (is_morph(code)) {
            MorphResult r = decode_morph(code, s, shape_limits());
            if (!r.error.empty()) return skip("morph " + std::to_string(r.id) + ": " + r.error);
            edges_ += edges_of(morph_at(r.morph, 0)) * 2;
            add(r.id, std::move(r.morph), "morph");
        } else if (is_bitmap(code)) {
            BitmapLimits bl;
            bl.max_pixels = std::min(bl.max_pixels, limits_.max_bitmap_pixels - pixels_);
            BitmapResult r = decode_bitmap(code, s, jpeg_tables_, bl);
            if (!r.error.empty()) return skip("bitmap " + std::to_string(r.id) + ": " + r.error);
            pixels_ += int64_t{r.bitmap.width} * r.bitmap.height;
            add(r.id, std::move(r.bitmap), "bitmap");
        } else if (is_font(code)) {
            FontResult r = decode_font(code, s, shape_limits());
            if (!r.error.empty()) return skip("font " + std::to_string(r.id) + ": " + r.error);
            for (const Shape& g : r.font.glyphs)
                edges_ += edges_of(g);
            add(r.id, std::move(r.font), "font");
        } else if (code == kTagDefineFontInfo || code == kTagDefineFontInfo2) {
            const uint16_t id = font_info_id(s);
            auto it = def_.dictionary_.find(id);
            Font* font = it == def_.dictionary_.end() ? nullptr : std::get_if<Font>(&it->second);
            if (!font) return skip("font info for a font not defined: " + std::to_string(id));
            Stream again = stream(data);
            apply_font_info(*font, code, again);
        } else if (code == kTagDefineText || code == kTagDefineText2) {
            TextResult r = decode_text(code, s);
            if (!r.error.empty()) return skip("text " + std::to_string(r.id) + ": " + r.error);
            add(r.id, std::move(r.text), "text");
        } else if (code == kTagDefineEditText) {
            EditTextResult r = decode_edit_text(code, s);
            if (!r.error.empty()) return skip("edit text " + std::to_string(r.id) + ": " + r.error);
            add(r.id, std::move(r.text), "edit text");
        } else if (code == kTagDefineButton || code == kTagDefineButton2) {
            ButtonResult r = decode_button(code, s);
            if (!r.error.empty()) return skip("button " + std::to_string(r.id) + ": " + r.error);
            add(r.id, std::move(r.button), "button");
        } else if (code == kTagDefineButtonCxform) {
            const uint16_t id = s.u16();
            auto it = def_.dictionary_.find(id);
            Button* button =
                it == def_.dictionary_.end() ? nullptr : std::get_if<Button>(&it->second);
            if (button) apply_button_cxform(*button, s);
        } else if (code == kTagDefineSound) {
            SoundDefResult r = decode_define_sound(s);
            if (!r.ok()) return skip("sound " + std::to_string(r.sound.id) + ": " + r.error);
            def_.has_sound_ = true;
            add(r.sound.id, std::move(r.sound), "sound");
        }
        // Anything else (scripts, metadata, video, tags of later versions) is skipped.
    }

    ShapeLimits shape_limits() const {
        ShapeLimits sl;
        sl.max_edges =
            std::min(sl.max_edges, limits_.max_edges - std::min(edges_, limits_.max_edges));
        return sl;
    }

    // A display-list change, sound or action of the timeline being read. False when the tag
    // is not one of those.
    bool control(Timeline& t, std::vector<Control>& frame, uint16_t code,
                 std::span<const uint8_t> data) {
        Stream s = stream(data);
        const auto push = [&](Control c) {
            if (controls_ >= limits_.max_controls) return skip("too many display-list changes");
            ++controls_;
            frame.push_back(std::move(c));
        };
        switch (code) {
        case kTagPlaceObject:
        case kTagPlaceObject2:
        case kTagPlaceObject3: {
            std::optional<Place> p = decode_place(code, s);
            if (!p) {
                skip("a place tag cut short");
            } else if (p->character && !defined(*p->character)) {
                // Characters come before their use; a later or missing one is not placed.
                skip("character " + std::to_string(*p->character) + " placed before defined");
            } else {
                push(std::move(*p));
            }
            return true;
        }
        case kTagRemoveObject:
        case kTagRemoveObject2:
            if (std::optional<uint16_t> depth = decode_remove(code, s)) push(Remove{*depth});
            return true;
        case kTagDoAction:
            if (std::vector<FrameAction> a = decode_actions(s); !a.empty())
                push(Actions{std::move(a)});
            return true;
        case kTagFrameLabel: {
            std::string name = s.string();
            if (s.ok()) t.labels.emplace_back(std::move(name), t.frame_count());
            return true;
        }
        case kTagStartSound:
            if (std::optional<SoundStart> start = decode_start_sound(s);
                start && defined(start->id))
                push(StartSound{start->id, std::move(start->info)});
            return true;
        case kTagSoundStreamHead:
        case kTagSoundStreamHead2:
            if (!t.stream) t.stream = decode_stream_head(code, s);
            def_.has_sound_ |= t.stream.has_value();
            return true;
        case kTagSoundStreamBlock:
            if (t.stream) push(StreamData{data});
            return true;
        default:
            return false;
        }
    }

    void sprite(std::span<const uint8_t> data) {
        Stream s = stream(data);
        const uint16_t id = s.u16();
        s.u16(); // the declared frame count: the ShowFrame tags decide
        if (!s.ok()) return skip("a sprite cut short");
        Sprite sp;
        std::vector<Control> frame;
        walk(s.rest(), [&](const TagView& tag) {
            if (tag.code == kTagShowFrame) {
                sp.timeline.frames.push_back(std::move(frame));
                frame.clear();
            } else {
                control(sp.timeline, frame, tag.code, tag.data); // definitions are not allowed
            }
        });
        // Changes after the last frame would never show; a sprite without frames shows nothing.
        add(id, std::move(sp), "sprite");
    }

    MovieDef& def_;
    const Movie& movie_;
    const DictionaryLimits& limits_;
    std::span<const uint8_t> jpeg_tables_;
    size_t edges_ = 0;
    int64_t pixels_ = 0;
    size_t controls_ = 0;
};

MovieDef MovieDef::build(const Movie& movie, const DictionaryLimits& limits) {
    MovieDef def;
    DictionaryBuilder(def, movie, limits).run();
    return def;
}

const Character* MovieDef::character(uint16_t id) const {
    const auto it = dictionary_.find(id);
    return it == dictionary_.end() ? nullptr : &it->second;
}

} // namespace zefa::swf
