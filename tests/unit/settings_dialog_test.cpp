// The settings dialog's model: what it shows, and what OK, the wheel reset and cancel store.

#include <gtest/gtest.h>

#include <filesystem>

#include "harness.h"
#include "skin/skin_file.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct SettingsDialog : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void SetUp() override {
        for (const char* skin : {"Default01", "Default02", "Blue"})
            std::filesystem::create_directories(h.dir.path() / "Skin" / skin);
        h.dir.write("Skin/readme.txt", "not a skin");
        std::filesystem::create_directories(h.dir.path() / "Skin" / "\xff\xfe"); // not UTF-8
        h.images.pictures[h.dir.str() + "Skin/Default02/main.bmp"] = Bitmap(1, 1, 0xFFFFFF);
        h.start_idle();
        h.dialogs.settings_result = 1;
    }
    // Opens the dialog from the settings button; the user acts, then closes it with `result`.
    void open(int result, std::function<void(DialogFields&)> user = {}) {
        h.dialogs.settings_result = result;
        h.dialogs.settings_user = std::move(user);
        p.skin.el[kElSettings].state = kPending;
        p.sh.exec_countdown = 0;
        p.pbt_chk();
    }
    const DialogFields& shown() const { return h.dialogs.settings_shown; }
};

} // namespace

TEST_F(SettingsDialog, OpensWithTheStoredValuesAndTheSkinFolders) {
    p.cfg.SkinName = "default02"; // stored in another letter case than the folder
    p.cfg.MaskMode = 1, p.cfg.AutoTop = 0, p.cfg.U_Mask = 25, p.cfg.R_Mask = 26;
    p.cfg.FlashQuality = 4, p.cfg.FlashScale = -1, p.cfg.AutoPlay = 1;
    open(0);
    EXPECT_EQ(shown().combo_items[1],
              (std::vector<std::string>{"Blue", "Default01", "Default02", "\xff\xfe"}));
    EXPECT_EQ(shown().combo_index[1], 2);
    EXPECT_TRUE(shown().check[6]);
    EXPECT_FALSE(shown().check[1]);
    EXPECT_TRUE(shown().check[10]) << "AutoPlay";
    EXPECT_EQ(shown().combo_items[2].size(), 26u);
    EXPECT_EQ(shown().combo_items[2].back(), "25");
    EXPECT_EQ(shown().combo_index[2], 25);
    EXPECT_EQ(shown().combo_index[5], -1) << "a mask outside 0..25 selects nothing";
    EXPECT_EQ(shown().combo_items[6][4], "Best");
    EXPECT_EQ(shown().combo_index[6], 4);
    EXPECT_EQ(shown().combo_index[7], -1);
    EXPECT_EQ(shown().edit[2], "5000");
    EXPECT_EQ(shown().edit[13], p.cfg.DropFileType);
    EXPECT_EQ(p.sh.dialog_open, 0);

    std::filesystem::remove_all(h.dir.path() / "Skin"); // no Skin folder: an empty list
    open(0);
    EXPECT_TRUE(shown().combo_items[1].empty());
    EXPECT_EQ(shown().combo_index[1], -1);
}

TEST_F(SettingsDialog, CancelAndTheCloseBoxChangeNothing) {
    const Settings before = p.cfg;
    open(0, [](DialogFields& f) {
        f.check[1] = !f.check[1];
        f.edit[2] = "7000";
        f.combo_index[1] = 0;
        f.edit[13] = ".x;";
    });
    EXPECT_EQ(p.cfg, before);
    EXPECT_EQ(p.dlg.edit[2], "5000") << "the edits show the stored values again";
    EXPECT_EQ(h.flash.calls.size(), 0u);
}

TEST_F(SettingsDialog, OkStoresEveryFieldInOrderAndReturnsToTheWindow) {
    p.sh.view_mode = kViewFull;
    open(1, [](DialogFields& f) {
        f.edit[2] = "7000";
        f.edit[12] = "-5";
        f.check[1] = true;     // AutoTop
        f.check[7] = false;    // ScanLine
        f.combo_index[3] = 10; // D_Mask
        f.combo_index[6] = 1;  // High
        f.combo_index[7] = 3;  // NoScale
        f.combo_index[8] = 2;  // Transparent
        f.edit[13] = ".avi;\r\n";
    });
    EXPECT_EQ(p.cfg.FF, 7000);
    EXPECT_EQ(p.cfg.WheelREW5, -5);
    EXPECT_EQ(p.cfg.AutoTop, 1);
    EXPECT_EQ(p.cfg.ScanLine, 0);
    EXPECT_EQ(p.cfg.D_Mask, 10);
    EXPECT_EQ(p.cfg.FlashQuality, 1);
    EXPECT_EQ(p.cfg.FlashScale, 3);
    EXPECT_EQ(p.cfg.FlashWindow, 2);
    EXPECT_EQ(p.cfg.DropFileType, ".avi;") << "no line break reaches ZEFA.cfg";
    EXPECT_EQ(h.flash.calls,
              (std::vector<std::string>{"quality High", "scale NoScale", "wmode Transparent"}));
    EXPECT_EQ(p.sh.view_mode, kViewWindow) << "back in the window with its panel";
}

TEST_F(SettingsDialog, ANumberThatIsNotAnIntegerStopsTheSeekFieldsThere) {
    p.sh.view_mode = kViewFull;
    open(1, [](DialogFields& f) {
        f.edit[2] = "7000";  // FF, converted first
        f.edit[1] = "7,000"; // REW stops the sequence
        f.edit[3] = "-2";    // WheelFF1, after it
        f.check[1] = true;   // before the seek fields: applied
    });
    EXPECT_EQ(h.dialogs.messages, std::vector<std::string>{"'7,000' は整数ではありません"});
    EXPECT_EQ(p.cfg.FF, 7000);
    EXPECT_EQ(p.cfg.REW, 5000);
    EXPECT_EQ(p.cfg.WheelFF1, -1000);
    EXPECT_EQ(p.cfg.AutoTop, 1);
    EXPECT_EQ(p.sh.view_mode, kViewFull) << "no layout after the error";

    for (const char* bad : {"", "12345678901", "１２", "7 000"}) {
        h.dialogs.messages.clear();
        open(1, [&](DialogFields& f) { f.edit[2] = bad; });
        EXPECT_EQ(h.dialogs.messages.size(), 1u) << bad;
        EXPECT_EQ(p.cfg.FF, 7000) << bad;
    }
}

TEST_F(SettingsDialog, TheWheelResetRestoresOnlyTheTenStepsAndDropsOtherChanges) {
    p.cfg.WheelFF3 = 7, p.cfg.FF = 1234;
    open(2, [](DialogFields& f) {
        f.check[1] = true;
        f.edit[8] = "99";
    });
    EXPECT_EQ(p.cfg.WheelFF3, -9000);
    EXPECT_EQ(p.cfg.FF, 1234);
    EXPECT_EQ(p.cfg.AutoTop, 0);
    EXPECT_EQ(p.dlg.edit[8], "1000");
    EXPECT_EQ(p.dlg.edit[5], "-9000");
}

TEST_F(SettingsDialog, TheSkinReloadsOnlyWhenTheChoiceDiffersExactly) {
    const int loads = h.images.loads;
    open(1, [](DialogFields& f) { f.combo_index[1] = 1; }); // Default01, in use
    EXPECT_EQ(h.images.loads, loads);

    p.cfg.SkinName = "DEFAULT01"; // selected when the dialog opens; OK stores the folder's name
    open(1);
    EXPECT_EQ(p.cfg.SkinName, "Default01");
    EXPECT_EQ(h.images.loads, loads + 1);

    open(1, [](DialogFields& f) { f.combo_index[1] = 2; });
    EXPECT_EQ(p.cfg.SkinName, "Default02");
    EXPECT_EQ(h.images.loads, loads + 2);
}

TEST_F(SettingsDialog, ASkinThatDoesNotLoadLeavesTheOneInUse) {
    h.dir.write("Skin/Default01/main.da1", "Panel=0,0,1,1\r\n");
    ASSERT_TRUE(p.load_skin("Default01"));
    ASSERT_FALSE(p.skin.panel_surface.empty());
    h.dir.write("Skin/Blue/main.da1", "Panel=0,0,50,20\r\n"); // and no main.bmp
    const SkinTable table = p.skin.el;
    const Bitmap picture = p.skin.skin_bitmap;
    open(1, [](DialogFields& f) { f.combo_index[1] = 0; }); // Blue
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(p.cfg.SkinName, "Default01");
    EXPECT_EQ(p.skin.el[kElFace].w, table[kElFace].w);
    EXPECT_EQ(p.skin.skin_bitmap.width(), picture.width());
    EXPECT_FALSE(p.skin.panel_surface.empty());
}

TEST_F(SettingsDialog, TypedComboTextStoresOnlyWhatNamesAnItem) {
    p.cfg.U_Mask = 3, p.cfg.FlashScale = 1, p.cfg.FlashWindow = 1;
    open(1, [](DialogFields& f) {
        f.combo_index[2] = -1, f.combo_text[2] = " 12 "; // names item "12"
        f.combo_index[3] = -1, f.combo_text[3] = "99";   // no such item
        f.combo_index[7] = -1, f.combo_text[7] = "Huge";
        f.combo_index[8] = -1, f.combo_text[8] = "Opaque";
        f.combo_index[6] = -1, f.combo_text[6] = "fast";
        f.combo_index[1] = -1, f.combo_text[1] = "Nowhere";
    });
    EXPECT_EQ(p.cfg.U_Mask, 12);
    EXPECT_EQ(p.cfg.D_Mask, 2);
    EXPECT_EQ(p.cfg.FlashScale, 1);
    EXPECT_EQ(p.cfg.FlashWindow, 1);
    EXPECT_EQ(p.cfg.FlashQuality, 4) << "a quality that names nothing is Best";
    EXPECT_EQ(p.cfg.SkinName, "Default01");
}
