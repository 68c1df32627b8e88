// The movie player on movies written here: display lists across frames, sprites on their own
// timelines, frame actions, jumps that rebuild, and what bad movies cannot make it do.

#include <gtest/gtest.h>
#include <memory>

#include "shape_writer.h"
#include "sound_writer.h"
#include "swf/swf_player.h"
#include "swf_writer.h"
#include "timeline_writer.h"

namespace zefa {
namespace {

using namespace test;
using swf::Matrix;

struct Loaded {
    swf::Movie movie;
    swf::MovieDef def;
};

std::unique_ptr<Loaded> load(const SwfWriter& w) {
    auto l = std::make_unique<Loaded>();
    swf::ReadResult r = swf::read_movie(as_bytes(w.fws()));
    EXPECT_TRUE(r.ok()) << r.error;
    l->movie = std::move(r.movie);
    l->def = swf::MovieDef::build(l->movie);
    return l;
}

std::string square(uint16_t id) {
    return ShapeBuilder::rect(id, 0, 0, 200, 200, {255, 0, 0, 255}).bytes(kDefineShape3);
}

Matrix at(double x, double y) {
    return Matrix{1, 0, 0, 1, x, y};
}

// A sprite of `frames` empty frames.
std::string empty_sprite(uint16_t id, int frames) {
    std::vector<std::pair<uint16_t, std::string>> tags;
    for (int i = 0; i < frames; ++i)
        tags.emplace_back(kShowFrame, "");
    return sprite(id, tags);
}

TEST(Player, DisplayListFollowsPlaceMoveAndRemoveAndRebuildsOnAJumpBack) {
    SwfWriter w;
    w.tag(kDefineShape3, square(1)).tag(kDefineShape3, square(2));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(1).with_matrix(at(100, 0))))
        .tag(kPlaceObject2, place2(PlaceFields(5).with_character(2).with_name("b")))
        .show_frames(1);
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_matrix(at(200, 0)).moving())).show_frames(1);
    w.tag(kRemoveObject2, remove2(5))
        .tag(kPlaceObject2, place2(PlaceFields(1).with_character(2).moving()))
        .show_frames(1);
    const auto l = load(w.end());
    ASSERT_EQ(l->def.characters(), 2u);
    swf::MoviePlayer p(l->def, nullptr);
    const auto& list = p.root().list;
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.at(1).matrix.tx, 100);
    EXPECT_EQ(list.at(5).name, "b");

    p.tick();
    EXPECT_EQ(p.frame(), 0) << "stopped until played";
    p.play();
    p.tick();
    EXPECT_EQ(p.frame(), 1);
    EXPECT_EQ(list.at(1).matrix.tx, 200) << "moved, character kept";
    EXPECT_EQ(list.at(1).character, 1);
    p.tick();
    EXPECT_EQ(p.frame(), 2);
    EXPECT_FALSE(p.playing()) << "holds on the last frame";
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.at(1).character, 2) << "replaced, matrix kept";
    EXPECT_EQ(list.at(1).matrix.tx, 200);

    p.goto_frame(1);
    ASSERT_EQ(list.size(), 2u) << "rebuilt from the first frame";
    EXPECT_EQ(list.at(1).character, 1);
    EXPECT_EQ(list.at(1).matrix.tx, 200);
    p.goto_frame(99);
    EXPECT_EQ(p.frame(), 2) << "clamped";
    EXPECT_EQ(p.objects(), 1u);
}

TEST(Player, SpritesRunTheirOwnTimelinesAndLoopWhileTheMainOneStops) {
    SwfWriter w;
    w.tag(kDefineSprite, empty_sprite(7, 3));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(7))).show_frames(1);
    w.tag(kDoAction, do_action({action_stop()})).show_frames(1);
    w.show_frames(1);
    const auto l = load(w.end());
    swf::MoviePlayer p(l->def, nullptr);
    p.play();
    const swf::TimelineState* s = p.root().list.at(1).sprite.get();
    ASSERT_NE(s, nullptr);
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        p.tick();
        frames.push_back(s->frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 0, 1, 2}));
    EXPECT_EQ(p.frame(), 1) << "stopped by its frame action";
    EXPECT_FALSE(p.playing());
    EXPECT_EQ(p.root().list.at(1).sprite.get(), s) << "the same instance throughout";
}

TEST(Player, ASpritePlacedByAFrameShowsItsFirstFrameUntilTheNextTick) {
    SwfWriter w;
    w.tag(kDefineSprite, empty_sprite(7, 4));
    w.show_frames(1);
    w.tag(kPlaceObject2, place2(PlaceFields(3).with_character(7))).show_frames(1);
    w.show_frames(2);
    const auto l = load(w.end());
    swf::MoviePlayer p(l->def, nullptr);
    p.play();
    p.tick();
    ASSERT_NE(p.root().list.at(3).sprite, nullptr);
    EXPECT_EQ(p.root().list.at(3).sprite->frame, 0);
    p.tick();
    EXPECT_EQ(p.root().list.at(3).sprite->frame, 1);
}

TEST(Player, FrameActionsStopGoToLabelsAndStep) {
    SwfWriter w;
    w.show_frames(1);                                         // 0
    w.tag(kFrameLabel, frame_label("Loop")).show_frames(1);   // 1
    w.show_frames(1);                                         // 2
    w.tag(kDoAction, do_action({action_goto_label("loop")})); // 3: case ignored as a fallback
    w.show_frames(1);
    w.show_frames(1); // 4: never reached while looping
    const auto l = load(w.end());
    ASSERT_EQ(l->def.main().label("LOOP"), 1);
    swf::MoviePlayer p(l->def, nullptr);
    p.play();
    std::vector<int> frames;
    for (int i = 0; i < 7; ++i) {
        p.tick();
        frames.push_back(p.frame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 1, 2, 1, 2, 1})) << "frame 3 jumps before it shows";
    EXPECT_TRUE(p.playing());

    SwfWriter steps;
    steps.show_frames(2);
    steps.tag(kDoAction, do_action({action_previous_frame()})).show_frames(1);
    steps.show_frames(1);
    steps.tag(kDoAction, do_action({action_goto(60000), action_play()})).show_frames(1);
    const auto s = load(steps.end());
    swf::MoviePlayer q(s->def, nullptr);
    q.play();
    q.tick();
    q.tick(); // frame 2 steps back and stops
    EXPECT_EQ(q.frame(), 1);
    EXPECT_FALSE(q.playing());
    q.goto_frame(3);
    q.play();
    q.tick(); // a jump far past the end stays on the last frame, which does not play on
    EXPECT_EQ(q.frame(), 4);
    EXPECT_FALSE(q.playing());
}

TEST(Player, SetTargetActsOnANamedSprite) {
    SwfWriter w;
    w.tag(kDefineSprite, empty_sprite(7, 5));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(7).with_name("child")))
        .show_frames(1);
    w.tag(kDoAction, do_action({action_set_target("/child"), action_stop(), action_set_target(""),
                                action_stop()}))
        .show_frames(1);
    w.show_frames(1);
    const auto l = load(w.end());
    swf::MoviePlayer p(l->def, nullptr);
    p.play();
    p.tick();
    const swf::TimelineState* child = p.root().list.at(1).sprite.get();
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(child->playing);
    EXPECT_EQ(child->frame, 1);
    EXPECT_FALSE(p.playing());
    p.tick();
    EXPECT_EQ(child->frame, 1);
}

TEST(Player, AJumpBackKeepsASpriteThatStaysAndRestartsOneThatChanged) {
    SwfWriter w;
    w.tag(kDefineSprite, empty_sprite(7, 10)).tag(kDefineSprite, empty_sprite(8, 10));
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(7)))
        .tag(kPlaceObject2, place2(PlaceFields(2).with_character(7)))
        .show_frames(1);
    w.tag(kPlaceObject2, place2(PlaceFields(2).with_character(8))).show_frames(1);
    w.show_frames(1);
    const auto l = load(w.end());
    swf::MoviePlayer p(l->def, nullptr);
    p.play();
    p.tick();
    p.tick();
    const swf::TimelineState* kept = p.root().list.at(1).sprite.get();
    EXPECT_EQ(kept->frame, 2);
    p.goto_frame(0);
    EXPECT_EQ(p.root().list.at(1).sprite.get(), kept);
    EXPECT_EQ(kept->frame, 2) << "runs on";
    EXPECT_EQ(p.root().list.at(2).character, 7);
    EXPECT_EQ(p.root().list.at(2).sprite->frame, 0) << "a new instance";
}

TEST(Player, FramesThatJumpToEachOtherCannotHoldTheTick) {
    SwfWriter w;
    w.tag(kDoAction, do_action({action_goto(1)})).show_frames(1);
    w.tag(kDoAction, do_action({action_goto(0)})).show_frames(1);
    const auto l = load(w.end());
    swf::MoviePlayer p(l->def, nullptr); // frame 0's action runs here already
    p.play();
    for (int i = 0; i < 3; ++i)
        p.tick();
    EXPECT_GE(p.frame(), 0);
    EXPECT_LE(p.frame(), 1);
}

TEST(Player, BadMoviesArePlayedAsFarAsTheyMakeSense) {
    SwfWriter w;
    // A character placed before its definition, a sprite placing itself, a sprite of 0 frames.
    w.tag(kPlaceObject2, place2(PlaceFields(1).with_character(1)));
    w.tag(kDefineShape3, square(1));
    w.tag(kDefineSprite,
          sprite(9, {{kPlaceObject2, place2(PlaceFields(1).with_character(9))}, {kShowFrame, ""}}));
    w.tag(kDefineSprite, sprite(10, {}));
    w.tag(kPlaceObject2, place2(PlaceFields(2).with_character(9)))
        .tag(kPlaceObject2, place2(PlaceFields(3).with_character(10)))
        .tag(kPlaceObject2, place2(PlaceFields(4).with_matrix(Matrix{}).moving()))
        .show_frames(1);
    const auto l = load(w.end());
    EXPECT_GE(l->def.skipped(), 2u);
    swf::MoviePlayer p(l->def, nullptr);
    const auto& list = p.root().list;
    EXPECT_FALSE(list.contains(1));
    ASSERT_TRUE(list.contains(2));
    EXPECT_TRUE(list.at(2).sprite->list.empty()) << "it could not place itself";
    EXPECT_EQ(list.at(3).sprite->frame, 0);
    EXPECT_FALSE(list.contains(4)) << "moving nothing places nothing";
    p.play();
    p.tick();

    // Sprites nested deeper than the limit are shown without a timeline of their own.
    SwfWriter deep;
    for (uint16_t id = 1; id <= 40; ++id) {
        std::vector<std::pair<uint16_t, std::string>> tags;
        if (id > 1)
            tags.emplace_back(kPlaceObject2,
                              place2(PlaceFields(1).with_character(uint16_t(id - 1))));
        tags.emplace_back(kShowFrame, "");
        deep.tag(kDefineSprite, sprite(id, tags));
    }
    deep.tag(kPlaceObject2, place2(PlaceFields(1).with_character(40))).show_frames(1);
    const auto d = load(deep.end());
    swf::PlayerLimits limits;
    limits.max_level = 8;
    swf::MoviePlayer q(d->def, nullptr, limits);
    EXPECT_EQ(q.objects(), 9u) << "lists of levels 0 to 8";
}

// Records what the player asks of the sound output.
struct SoundLog final : swf::SoundEvents {
    std::vector<std::string> calls;
    void stream_block(uint32_t stream, const swf::StreamHead&,
                      std::span<const uint8_t> block) override {
        calls.push_back("block " + std::to_string(stream) + " " + std::to_string(block.size()));
    }
    void stream_stop(uint32_t stream) override {
        calls.push_back("stop " + std::to_string(stream));
    }
    void start_sound(const swf::SoundDef& sound, const swf::SoundInfo&) override {
        calls.push_back("start " + std::to_string(sound.id));
    }
    void stop_all() override { calls.push_back("stop all"); }
};

TEST(Player, StreamBlocksFollowThePlayingTimelineAndEventSoundsTheirFrame) {
    swf::StreamHead head;
    head.format = swf::SoundFormat::from_byte(0x3E); // raw little-endian, 44.1 kHz, 16 bit, mono
    head.samples_per_frame = 4;
    SwfWriter w;
    w.tag(14, define_sound(3, head.format, 4, pcm16({1, 2, 3, 4})));
    w.tag(45, stream_head(head)).tag(19, pcm16({1, 2, 3, 4})).show_frames(1);
    w.tag(19, pcm16({5, 6})).tag(15, start_sound(3, {})).show_frames(1);
    w.tag(19, pcm16({7})).show_frames(1);
    w.show_frames(1);
    const auto l = load(w.end());
    ASSERT_TRUE(l->def.has_sound());
    SoundLog log;
    swf::MoviePlayer p(l->def, &log);
    EXPECT_TRUE(log.calls.empty()) << "nothing sounds before the movie plays";
    p.play();
    p.tick();
    p.stop();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"block 1 4", "start 3", "stop 1"}));
    log.calls.clear();
    p.play();
    p.tick();
    p.goto_frame(0);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"block 1 2", "stop 1"}))
        << "a jump ends the stream; the frame jumped to does not play its block while stopped";
}

} // namespace
} // namespace zefa
