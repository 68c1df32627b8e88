// The keyboard poll: the precedence table, the latch, the volume keys and InputMode.

#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct Keys : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        h.start_idle();
        p.sh.view_mode = kViewWindow;
        p.cfg.InputMode = 1;
    }
    // The keys held on this call only; the executor pass is kept from running.
    void poll(std::set<int> keys) {
        h.input.down = std::move(keys);
        p.sh.exec_countdown = 2;
        p.pbt_chk();
    }
    int32_t state(Element e) const { return p.skin.el[e].state; }
    void clear_elements() {
        for (SkinElement& e : p.skin.el)
            e.state = kIdle;
    }
};

} // namespace

TEST_F(Keys, OnlyTheFirstKeyOfTheTableActsAndTheArrowsBlockTheRestBelowThem) {
    poll({vk::Right, vk::Up});
    EXPECT_EQ(state(kElNext), kPending) << "Right comes before the arrows' row";
    EXPECT_EQ(p.sh.info_kind, kInfoNext);
    EXPECT_EQ(p.sh.info_keep, 1);
    poll({});
    poll({vk::C, vk::Up});
    EXPECT_EQ(state(kElZoomMenu), kIdle) << "C comes after it";

    poll({});
    clear_elements();
    poll({vk::Control, vk::Menu, vk::Q, vk::S});
    EXPECT_EQ(state(kElScanLines), kPending);
    EXPECT_EQ(state(kElQuit), kIdle) << "S comes before the quit keys";
    poll({});
    poll({vk::Control, vk::Menu, vk::Q});
    EXPECT_EQ(state(kElQuit), kPending);

    poll({});
    clear_elements();
    const std::pair<int, Element> table[] = {
        {vk::X, kElZoomIn},     {vk::Z, kElZoomOut},  {vk::F, kElFullScreen},
        {vk::Left, kElBack},    {vk::Space, kElPlay}, {vk::MButton, kElPlay},
        {vk::A, kElAspectMenu}, {vk::L, kElLineMask}, {vk::C, kElZoomMenu},
    };
    for (const auto& [key, element] : table) {
        poll({key});
        EXPECT_EQ(state(element), kPending) << key;
        poll({});
        EXPECT_EQ(p.sh.key_latch, 0);
        clear_elements();
    }
}

TEST_F(Keys, TheLatchMakesAKeyActOncePerPress) {
    poll({vk::X});
    EXPECT_EQ(p.sh.key_latch, 1);
    clear_elements();
    poll({vk::X});
    poll({vk::X, vk::Z});
    EXPECT_EQ(state(kElZoomIn), kIdle);
    EXPECT_EQ(state(kElZoomOut), kIdle);
    poll({});
    EXPECT_EQ(p.sh.key_latch, 0);
    poll({vk::Z});
    EXPECT_EQ(state(kElZoomOut), kPending);
}

TEST_F(Keys, VolumeKeysStepByOneThenTwoAndHandTheVolumeOverOnRelease) {
    p.cfg.Volume = 3;
    poll({vk::N});
    EXPECT_EQ(p.cfg.Volume, 2);
    EXPECT_EQ(p.sh.key_latch, 2);
    p.skin.el[kElRepeat].state = kPending;
    poll({vk::N});
    EXPECT_EQ(p.cfg.Volume, 0);
    EXPECT_EQ(p.sh.info_kind, kInfoVolume);
    EXPECT_EQ(state(kElRepeat), kIdle) << "the executor runs on this call";
    poll({vk::N});
    EXPECT_EQ(p.cfg.Volume, 0);
    EXPECT_EQ(state(kElVolume), kIdle) << "handed over only on release";
    poll({});
    EXPECT_EQ(state(kElVolume), kPending);
    EXPECT_EQ(p.sh.key_latch, 0);

    p.cfg.Volume = 900; // hand-edited
    poll({vk::M});
    EXPECT_EQ(p.cfg.Volume, 100);
}

TEST_F(Keys, FullScreenIsLeftByFAltEnterAndEscWithoutALatch) {
    h.screen.size = {1024, 768};
    for (const std::set<int>& keys :
         {std::set<int>{vk::F}, std::set<int>{vk::Menu, vk::Return}, std::set<int>{vk::Escape}}) {
        p.sh.view_mode = kViewFull;
        h.win.placements.clear();
        poll(keys);
        EXPECT_EQ(p.sh.view_mode, kViewWindow) << *keys.begin();
        ASSERT_FALSE(h.win.placements.empty());
        EXPECT_EQ(h.win.placements.front().stacking, Stacking::Bottom);
        EXPECT_EQ(p.sh.key_latch, 0);
        poll({});
    }
    // Esc in the normal window does nothing; F there asks for full screen.
    poll({vk::Escape});
    EXPECT_EQ(p.sh.view_mode, kViewWindow);
    poll({vk::F});
    EXPECT_EQ(state(kElFullScreen), kPending);
}

TEST_F(Keys, InputModeZeroReadsTheKeysOnlyInFullScreen) {
    p.cfg.InputMode = 0;
    poll({vk::Space});
    EXPECT_EQ(state(kElPlay), kIdle);
    p.sh.view_mode = kViewFullPanel;
    poll({vk::Space});
    EXPECT_EQ(state(kElPlay), kPending);
}
