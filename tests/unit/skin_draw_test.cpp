// The panel redraw: which picture each element shows, the digit displays and the sliders.

#include <random>

#include "skin_fixture.h"

namespace zefa::test {
namespace {

constexpr int32_t kW = 64, kH0 = 24;

class PanelDraw : public SkinTest {
  protected:
    PanelDraw() {
        auto& e = p.skin.el;
        e[0] = {0, 0, kW, kH0};
        const int buttons[] = {1,  25, 2,  3,  4,  5,  6,  7,  36, 8, 9,
                               10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
        int i = 0;
        for (int k : buttons) {
            e[static_cast<size_t>(k)] = {2 + (i % 10) * 6, 1 + (i / 10) * 5, 4, 4};
            ++i;
        }
        e[29] = {2, 16, 2, 2};
        e[30] = {5, 16, 2, 2};
        e[31] = {8, 16, 2, 2};
        e[33] = {30, 16, 2, 2}; // reverse steps end at x 32
        e[32] = {34, 16, 2, 2};
        e[20] = {2, 20, 20, 2};
        e[21] = {30, 20, 20, 2};
        p.skin.skin_bitmap = coded_picture(kW, 4 * kH0 + 30, kH0);
        p.skin.panel_surface = Bitmap(kW, kH0);
        p.cfg.ScanLine = p.cfg.MaskMode = p.cfg.ListBox = p.cfg.Repeat = p.cfg.Randam = 0;
        p.cfg.Volume = 0;
    }

    // The layer the surface shows over the whole rectangle, or -1 when it is mixed or moved.
    int layer_at(Rect r) const {
        int layer = -2;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                for (int l = 0; l < 3; ++l)
                    if (h.win.panel.pixel(x, y) == coded(x, y + l * kH0, kH0)) {
                        if (layer != -2 && layer != l) return -1;
                        layer = l;
                    }
        return layer == -2 ? -1 : layer;
    }
    int layer_of(int k) const { return layer_at(el(k)); }
    void draw() { p.put_ch(); }
};

TEST_F(PanelDraw, BeforeAnythingPlayedOnlyQuitAndTheDecorationAreLit) {
    draw();
    EXPECT_EQ(h.win.panel_draws, 1);
    EXPECT_EQ(h.win.panel, p.skin.panel_surface);
    for (int k : {1, 25, 2, 3, 4, 5, 7, 36, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 29, 30, 31})
        EXPECT_EQ(layer_of(k), 0) << k;
    EXPECT_EQ(layer_of(6), 1);
    EXPECT_EQ(layer_of(19), 1);
}

TEST_F(PanelDraw, PlayAndPauseShowTheFirstRuleThatApplies) {
    struct Case {
        int32_t play_held, pause_held, paused, play_state;
        int play, pause, playing_lamp, paused_lamp;
    } cases[] = {
        {1, 1, 0, 1, 2, 0, 1, 0}, // a held play wins over everything
        {0, 1, 0, 1, 0, 2, 1, 0},  {0, 0, 0, 1, 1, 0, 1, 0},
        {0, 0, 1, 1, 0, 1, 0, 1},  {0, 0, 1, 2, 0, 0, 0, 0}, // an entry pending is not playing
        {0, 0, -1, 1, 0, 0, 0, 1}, // paused neither 0 nor 1 lights only the paused lamp
    };
    for (const Case& c : cases) {
        p.skin.el[kElPlay].state = c.play_held;
        p.skin.el[kElPause].state = c.pause_held;
        p.sh.paused = c.paused;
        p.list.play_state = c.play_state;
        draw();
        const std::string at = std::to_string(c.play_held) + std::to_string(c.pause_held) +
                               std::to_string(c.paused) + std::to_string(c.play_state);
        EXPECT_EQ(layer_of(1), c.play) << at;
        EXPECT_EQ(layer_of(25), c.pause) << at;
        EXPECT_EQ(layer_of(30), c.playing_lamp) << at;
        EXPECT_EQ(layer_of(29), c.paused_lamp) << at;
    }
}

TEST_F(PanelDraw, SeekLevelBarsGrowFromTheirEndsAndHideTheHeldSeekButtons) {
    p.list.play_state = 1;
    p.sh.paused = 0;
    p.skin.el[kElForward].state = p.skin.el[kElRewind].state = kHeld;

    p.sh.seek_speed = -5;
    draw();
    EXPECT_EQ(layer_of(31), 1);
    EXPECT_EQ(layer_at({22, 16, 10, 2}), 1) << "five steps ending at x33 + w33";
    EXPECT_EQ(layer_at({20, 16, 2, 2}), 0);
    EXPECT_EQ(layer_at({32, 16, 2, 2}), 0);
    EXPECT_EQ(layer_of(30), 0) << "the playing lamp is off while seeking back";
    EXPECT_EQ(layer_of(2), 0);
    EXPECT_EQ(layer_of(3), 0);

    p.sh.seek_speed = -1;
    draw();
    EXPECT_EQ(layer_at({30, 16, 2, 2}), 1);
    EXPECT_EQ(layer_at({22, 16, 8, 2}), 0);

    p.sh.seek_speed = 3;
    draw();
    EXPECT_EQ(layer_of(30), 1);
    EXPECT_EQ(layer_of(31), 0);
    EXPECT_EQ(layer_at({34, 16, 6, 2}), 1) << "three steps from x32";
    EXPECT_EQ(layer_at({40, 16, 4, 2}), 0);

    p.sh.seek_speed = 0;
    draw();
    EXPECT_EQ(layer_of(2), 2);
    EXPECT_EQ(layer_of(3), 2);
    EXPECT_EQ(layer_at({22, 16, 22, 2}), 0);
}

TEST_F(PanelDraw, ARightPressShowsTheButtonPressedAlongWithWhatItHolds) {
    p.skin.right_press = 1;
    p.skin.el[kElForward].state = kHeld; // held by a right press on next
    draw();
    EXPECT_EQ(layer_of(5), 2);
    EXPECT_EQ(layer_of(2), 2);
    EXPECT_EQ(layer_of(4), 0);
    p.sh.seek_speed = 2;
    draw();
    EXPECT_EQ(layer_of(5), 2);
    EXPECT_EQ(layer_of(2), 0);

    p.sh.seek_speed = 0;
    p.skin.el[kElForward].state = kIdle;
    p.skin.el[kElRewind].state = kHeld;
    p.skin.el[kElPlaylist].state = kHeld;
    draw();
    EXPECT_EQ(layer_of(4), 2);
    EXPECT_EQ(layer_of(13), 2);
    EXPECT_EQ(layer_of(12), 2);

    p.skin.right_press = 0; // a left press on rewind or the list button holds only itself
    draw();
    EXPECT_EQ(layer_of(4), 0);
    EXPECT_EQ(layer_of(13), 0);
}

TEST_F(PanelDraw, SettingButtonsAreLitOnlyWhenTheirSettingIsOneAndPressedWhenHeld) {
    struct Toggle {
        int k;
        int32_t Settings::*setting;
    } toggles[] = {{7, &Settings::ScanLine},
                   {36, &Settings::MaskMode},
                   {12, &Settings::ListBox},
                   {16, &Settings::Repeat},
                   {17, &Settings::Randam}};
    for (const Toggle& t : toggles) {
        for (int32_t value : {0, 1, 2}) {
            p.cfg.*t.setting = value;
            draw();
            EXPECT_EQ(layer_of(t.k), value == 1 ? 1 : 0) << t.k << " " << value;
        }
        p.cfg.*t.setting = 1;
        p.skin.el[static_cast<size_t>(t.k)].state = kHeld;
        draw();
        EXPECT_EQ(layer_of(t.k), 2) << t.k;
        p.skin.el[static_cast<size_t>(t.k)].state = kPending;
        draw();
        EXPECT_EQ(layer_of(t.k), 1) << "only a held button shows pressed";
        p.skin.el[static_cast<size_t>(t.k)].state = kIdle;
        p.cfg.*t.setting = 0;
    }
    for (int k : {6, 8, 9, 10, 11, 13, 14, 15, 18}) {
        p.skin.el[static_cast<size_t>(k)].state = kHeld;
        draw();
        EXPECT_EQ(layer_of(k), 2) << k;
        p.skin.el[static_cast<size_t>(k)].state = kIdle;
    }
}

TEST_F(PanelDraw, ABusyRedrawReturnsWithoutDrawing) {
    p.skin.panel_busy = 1;
    draw();
    EXPECT_EQ(h.win.panel_draws, 0);
    p.skin.panel_busy = 0;
    draw();
    EXPECT_EQ(h.win.panel_draws, 1);
    EXPECT_EQ(p.skin.panel_busy, 0);
}

// A redraw puts the face back only where the last one drew and hands the window only what
// changed: over a long run of random states the surface stays what a redraw from the whole
// face makes, and the window, which takes only the changed part, shows all of it.
TEST_F(PanelDraw, RedrawingOnlyWhatWasDrawnMatchesRedrawingTheWholeFace) {
    std::mt19937 rng(7);
    const auto pick = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    int pushes = 0;
    for (int step = 0; step < 400; ++step) {
        for (SkinElement& e : p.skin.el)
            e.state = pick(0, 5) == 0 ? kHeld : kIdle;
        p.list.play_state = pick(0, 1);
        p.sh.paused = pick(0, 1);
        p.sh.seek_speed = pick(0, 2) == 0 ? pick(-10, 10) : 0;
        p.skin.right_press = pick(0, 1);
        for (int32_t* setting :
             {&p.cfg.ScanLine, &p.cfg.MaskMode, &p.cfg.ListBox, &p.cfg.Repeat, &p.cfg.Randam})
            *setting = pick(0, 1);
        p.cfg.Volume = pick(0, 100);
        p.sh.media_len = pick(0, 7200000);
        p.sh.media_pos = pick(0, p.sh.media_len);
        const int draws = h.win.panel_draws;
        draw();
        pushes += h.win.panel_draws - draws;
        ASSERT_EQ(h.win.panel, p.skin.panel_surface) << step;
        if (step % 3 == 2) {
            const Bitmap incremental = p.skin.panel_surface;
            p.skin.panel_trace = {};
            draw();
            ASSERT_EQ(p.skin.panel_surface, incremental) << step;
        }
    }
    EXPECT_GT(pushes, 100);
    // Nothing changed: nothing is handed over.
    const int draws = h.win.panel_draws;
    draw();
    EXPECT_EQ(h.win.panel_draws, draws);
}

// The digit displays, each on a row of its own with cells 3 x 2 cut from its font.
class DigitDisplays : public PanelDraw {
  protected:
    DigitDisplays() {
        p.skin.el[kElEntryDigits] = {0, 10, 3, 2};
        p.skin.el[kElPositionDigits] = {0, 13, 3, 4};
        p.skin.el[kElLengthDigits] = {0, 18, 3, 5};
        // Wide enough for glyphs far beyond 13, so the tests see what was selected.
        p.skin.skin_bitmap = coded_picture(250, 4 * kH0 + 11, kH0);
        p.skin.panel_surface = Bitmap(kW, kH0);
    }
    // Glyph numbers the display's cells show, read back from their source columns.
    std::vector<int> glyphs(int k, size_t cells) const {
        const SkinElement& e = p.skin.el[static_cast<size_t>(k)];
        const int32_t font_row = 4 * kH0 + (k >= 27 ? 2 : 0) + (k == 28 ? 4 : 0);
        std::vector<int> out;
        for (size_t i = 0; i < cells; ++i) {
            const int32_t x = e.x + static_cast<int32_t>(i) * e.w;
            const uint32_t c = h.win.panel.pixel(x, e.y);
            const auto source_row = static_cast<int32_t>(((c >> 16) - 1) * kH0 + (c >> 8 & 0xFF));
            out.push_back(source_row == font_row ? static_cast<int>(c & 0xFF) / e.w : -1);
        }
        return out;
    }
};

TEST_F(DigitDisplays, TimeModeShowsEntryOfCountAndHoursMinutesSeconds) {
    p.sh.engine_kind = kEngineLibrary;
    p.list.current_entry = 4;
    p.list.entry_count = 12;
    p.sh.media_pos = 3723000; // 1:02:03
    p.sh.media_len = 10 * 3600000 + 59 * 60000 + 59999;
    draw();
    EXPECT_EQ(glyphs(26, 7), (std::vector<int>{0, 0, 5, 10, 0, 1, 2}));
    EXPECT_EQ(glyphs(27, 8), (std::vector<int>{1, 11, 0, 2, 12, 0, 3, 13}));
    EXPECT_EQ(glyphs(28, 8), (std::vector<int>{10, 11, 5, 9, 12, 5, 9, 13}))
        << "ten hours select glyph 10 in the hours cell";

    p.cfg.Randam = 1;
    p.list.shuffle_pos = 8;
    p.sh.engine_kind = kEngineReal;
    draw();
    EXPECT_EQ(glyphs(26, 7), (std::vector<int>{0, 0, 9, 10, 0, 1, 2})) << "shuffle position";
}

TEST_F(DigitDisplays, FrameModeShowsEightDigitsAndTheEntryInListOrder) {
    p.sh.engine_kind = kEngineFlash;
    p.cfg.Randam = 1;
    p.list.current_entry = 122;
    p.list.shuffle_pos = 3;
    p.list.entry_count = 1234;
    p.sh.media_pos = 907;
    p.sh.media_len = 123456789;
    draw();
    EXPECT_EQ(glyphs(26, 7), (std::vector<int>{1, 2, 3, 10, 12, 3, 4}));
    EXPECT_EQ(glyphs(27, 8), (std::vector<int>{0, 0, 0, 0, 0, 9, 0, 7}));
    EXPECT_EQ(glyphs(28, 8), (std::vector<int>{12, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(DigitDisplays, AFontBitmapTooShortLeavesTheFaceInItsCells) {
    p.skin.skin_bitmap = coded_picture(250, 4 * kH0 + 2, kH0); // no rows for fonts 2 and 3
    p.sh.engine_kind = kEngineLibrary;
    draw();
    EXPECT_EQ(glyphs(26, 7)[0], 0);
    EXPECT_EQ(layer_at({6, 13, 18, 4}), 0); // right of the lit decoration
    EXPECT_EQ(layer_at({0, 18, 24, 5}), 0);
}

TEST_F(PanelDraw, SeekBarFollowsThePositionThePointerOrKeepsItsWidth) {
    p.sh.media_len = 1000;
    p.sh.media_pos = 250;
    draw();
    EXPECT_EQ(p.skin.seek_fill, 5);
    EXPECT_EQ(layer_at({2, 20, 5, 2}), 1);
    EXPECT_EQ(layer_at({7, 20, 15, 2}), 0);

    for (int32_t len : {0, 1}) {
        p.sh.media_len = len;
        p.sh.media_pos = 900;
        draw();
        EXPECT_EQ(p.skin.seek_fill, 5) << len;
    }
    p.sh.media_len = 1000;
    p.sh.real_seek_stage = 1;
    draw();
    EXPECT_EQ(p.skin.seek_fill, 5) << "a RealMedia seek in progress";
    p.sh.real_seek_stage = 0;
    p.sh.media_pos = 5000;
    draw();
    EXPECT_EQ(p.skin.seek_fill, 20) << "clamped to the bar";

    p.skin.el[kElSeekBar].state = kPending;
    for (auto [x, fill] : {std::pair{9, 7}, {1, 0}, {40, 20}}) {
        p.skin.pointer_x = x;
        draw();
        EXPECT_EQ(p.skin.seek_fill, fill) << x;
    }
}

TEST_F(PanelDraw, VolumeSliderTakesThePointerOncePerPressWithinZeroToHundred) {
    p.cfg.Volume = 50;
    draw();
    EXPECT_EQ(p.cfg.Volume, 50);
    EXPECT_EQ(layer_at({30, 20, 10, 2}), 1);
    EXPECT_EQ(layer_at({40, 20, 10, 2}), 0);

    for (auto [x, volume] : {std::pair{30, 0}, {10, 0}, {37, 35}, {50, 100}, {90, 100}}) {
        p.skin.el[kElVolume].state = kHeld;
        p.skin.pointer_x = x;
        draw();
        EXPECT_EQ(p.cfg.Volume, volume) << x;
        EXPECT_EQ(p.skin.el[kElVolume].state, kPending);
    }
    p.skin.pointer_x = 30;
    draw();
    EXPECT_EQ(p.cfg.Volume, 100) << "a pending slider no longer follows the pointer";
}

TEST_F(PanelDraw, ZeroWidthSlidersDrawNothingAndStillWork) {
    p.skin.el[kElSeekBar].w = p.skin.el[kElVolume].w = 0;
    p.sh.media_len = 1000;
    p.sh.media_pos = 500;
    p.skin.el[kElVolume].state = kHeld;
    p.skin.pointer_x = 31;
    draw();
    EXPECT_EQ(p.skin.seek_fill, 0);
    EXPECT_EQ(p.cfg.Volume, 100);
    p.skin.el[kElVolume].state = kHeld;
    p.skin.pointer_x = 30;
    draw();
    EXPECT_EQ(p.cfg.Volume, 0);
}

} // namespace
} // namespace zefa::test
