#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

namespace {

struct SettingsFile : ::testing::Test {
    Harness h;
    Player& p = h.p();
    void load(const std::string& text) {
        h.dir.write("ZEFA.cfg", text);
        apply_setting_defaults(p.cfg, DefaultPhase::Create);
        apply_setting_defaults(p.cfg, DefaultPhase::Startup);
        loaded = p.CFG_DATA(0);
    }
    bool loaded = false;
};

} // namespace

TEST_F(SettingsFile, SaveWritesFortyThreeCrLfLinesThatLoadBackIdentically) {
    apply_setting_defaults(p.cfg, DefaultPhase::Startup);
    int32_t v = 1;
    for (const SettingField& f : kSettingFields) {
        if (f.str_member)
            p.cfg.*f.str_member = std::string(".s") + std::to_string(v++);
        else
            p.cfg.*f.int_member = (v++) * 37 - 500; // distinct values, some negative
    }
    p.cfg.Window_x = 12, p.cfg.Window_y = 34; // keep the windows on the screen
    h.win.rects[Win::Panel] = {p.cfg.MainPanel_x = 50, p.cfg.MainPanel_y = 60, 10, 10};
    const Settings saved = p.cfg;
    ASSERT_TRUE(p.CFG_DATA(1));

    const std::string text = h.dir.read("ZEFA.cfg");
    size_t crlf = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        crlf += text.compare(i, 2, "\r\n") == 0;
    EXPECT_EQ(crlf, kSettingCount);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(text.rfind("Window_x=12\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nWheelFF1=" + std::to_string(saved.WheelFF1) + "\r\n"),
              std::string::npos);

    p.cfg = Settings{};
    h.win.rects[Win::Panel] = {0, 0, 10, 10};
    ASSERT_TRUE(p.CFG_DATA(0));
    p.cfg.MainPanel_x = h.win.rects[Win::Panel].x; // the tick copies them from the window
    p.cfg.MainPanel_y = h.win.rects[Win::Panel].y;
    EXPECT_EQ(p.cfg, saved);
    EXPECT_EQ(p.cfg.R_Mask, saved.R_Mask);
    EXPECT_EQ(p.cfg.L_Mask, saved.L_Mask);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(h.dir.path()), {}), 1);
}

TEST_F(SettingsFile, KeysArePositionalAndValuesDropEveryEqualsSign) {
    load(settings_text({{3, "1"}, {29, "a=b"}, {30, ""}}));
    EXPECT_TRUE(loaded);
    EXPECT_EQ(p.cfg.Randam, 1);
    EXPECT_EQ(p.cfg.SkinName, "ab");
    EXPECT_EQ(p.cfg.DropFileType, "");

    std::string text = settings_text({});
    text.replace(text.find("Randam="), 7, "Volume=");
    text.replace(text.find("Volume=0"), 8, "Volume=1"); // line 3 names Volume with value 1
    load(text);
    EXPECT_EQ(p.cfg.Randam, 1);
    EXPECT_EQ(p.cfg.Volume, 75);
}

TEST_F(SettingsFile, ShortFilesKeepDefaultsAndLongFilesIgnoreTheRest) {
    load(settings_text({{7, "10"}, {9, "1234"}}, 10));
    EXPECT_EQ(p.cfg.Volume, 10);
    EXPECT_EQ(p.cfg.REW, 1234);
    EXPECT_EQ(p.cfg.WheelFF1, -1000);
    EXPECT_EQ(p.cfg.SkinName, "Default01");
    EXPECT_EQ(p.cfg.FlashWindow, 0);

    load(settings_text({{42, "2"}, {45, "junk that is never converted"}}, 50));
    EXPECT_TRUE(loaded);
    EXPECT_EQ(p.cfg.FlashWindow, 2);
    EXPECT_TRUE(h.dialogs.messages.empty());
}

TEST_F(SettingsFile, BadIntegerStopsTheLoadWithTheMessage) {
    load(settings_text({{4, "6"}, {7, "12 "}, {8, "9"}, {0, "5000"}}));
    EXPECT_FALSE(loaded);
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0], "'12 ' は整数ではありません");
    EXPECT_EQ(p.cfg.NormalZoom, 6); // before the bad line: loaded
    EXPECT_EQ(p.cfg.Volume, 75);    // the bad line and later ones keep their defaults
    EXPECT_EQ(p.cfg.FF, 5000);
    EXPECT_EQ(p.cfg.Window_x, 5000); // the bring-back step did not run

    load(settings_text({{7, " 12"}}));
    EXPECT_TRUE(loaded);
    EXPECT_EQ(p.cfg.Volume, 12);

    h.dialogs.messages.clear();
    load(settings_text({{7, ""}}));
    EXPECT_EQ(h.dialogs.messages.at(0), "'' は整数ではありません");
}

TEST_F(SettingsFile, WindowsAreBroughtBackOntoTheScreen) {
    h.screen.size = {1024, 768};
    load(settings_text({{0, "5000"}, {1, "-20"}, {27, "-7"}, {28, "736"}}));
    EXPECT_EQ(p.cfg.Window_x, 0);
    EXPECT_EQ(p.cfg.Window_y, 0);
    EXPECT_EQ(h.win.rects[Win::Panel].x, 0);
    EXPECT_EQ(h.win.rects[Win::Panel].y, 240); // past the bottom: 240, not 0

    load(settings_text({{0, "991"}, {1, "735"}, {27, "992"}, {28, "-5"}}));
    EXPECT_EQ(p.cfg.Window_x, 991);
    EXPECT_EQ(p.cfg.Window_y, 735);
    EXPECT_EQ(h.win.rects[Win::Panel].x, 0);
    EXPECT_EQ(h.win.rects[Win::Panel].y, 0);

    load(settings_text({{5, "12"}})); // out of range values load unchanged
    EXPECT_EQ(p.cfg.FullZoom, 12);
}

TEST_F(SettingsFile, TheLoadEmptiesThePlaylistOnlyWhenTheFileExists) {
    p.list.ListBox1 = {"/a.avi", "/b.avi"};
    EXPECT_TRUE(p.CFG_DATA(0));
    EXPECT_EQ(p.list.ListBox1.size(), 2u);
    EXPECT_EQ(p.list.entry_count, 2);
    load(settings_text({}));
    EXPECT_TRUE(p.list.ListBox1.empty());
}

TEST_F(SettingsFile, LineEndsMayBeLfOrLoneCr) {
    load(settings_text({{7, "33"}, {29, "Skin2"}}, kSettingCount, "\n"));
    EXPECT_EQ(p.cfg.Volume, 33);
    EXPECT_EQ(p.cfg.SkinName, "Skin2");
    load(settings_text({{7, "44"}, {29, "Skin3"}}, kSettingCount, "\r"));
    EXPECT_EQ(p.cfg.Volume, 44);
    EXPECT_EQ(p.cfg.SkinName, "Skin3");
}

TEST_F(SettingsFile, GarbageIsReportedAndNeverCorruptsLaterSettings) {
    std::string binary = "Window_x=1\r\n";
    for (int i = 0; i < 4096; ++i)
        binary.push_back(static_cast<char>(i * 7919 % 256));
    load(binary);
    EXPECT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(p.cfg.Volume, 75);
    EXPECT_EQ(p.cfg.SkinName, "Default01");

    h.dialogs.messages.clear();
    load("Window_x=" + std::string(10 * 1024 * 1024, '7') + "\r\n");
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_LT(h.dialogs.messages[0].size(), 300u);
    EXPECT_EQ(p.cfg.Window_x, 0);

    load(settings_text({{29, std::string(10 * 1024 * 1024, 's')}}));
    EXPECT_TRUE(loaded);
    EXPECT_EQ(p.cfg.SkinName.size(), 10u * 1024 * 1024);
}

TEST_F(SettingsFile, UnreadableOrUnwritableFilesAreReported) {
    std::filesystem::create_directory(h.dir.path() / "ZEFA.cfg");
    EXPECT_FALSE(p.CFG_DATA(0));
    EXPECT_EQ(h.dialogs.messages.at(0), "I/O エラー (21)");
    EXPECT_FALSE(p.CFG_DATA(1)); // a directory is in the way
    EXPECT_EQ(h.dialogs.messages.at(1), "ファイル " + h.dir.str() + "ZEFA.cfg を作成できません");
    std::filesystem::remove(h.dir.path() / "ZEFA.cfg");

    if (geteuid() != 0) { // root reads and writes anything
        h.dir.write("ZEFA.cfg", settings_text({}));
        chmod((h.dir.path() / "ZEFA.cfg").c_str(), 0);
        EXPECT_FALSE(p.CFG_DATA(0));
        EXPECT_EQ(h.dialogs.messages.back(), "ファイルへのアクセスが拒否されました");
    }
}

TEST_F(SettingsFile, FailedSaveKeepsTheOldFileWhole) {
    h.dir.write("ZEFA.cfg", "old contents\r\n");
    // A file-size limit makes the write fail part-way, even for root.
    rlimit old_limit{};
    getrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_limit;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = p.CFG_DATA(1);
    setrlimit(RLIMIT_FSIZE, &old_limit);
    EXPECT_FALSE(saved);
    EXPECT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dir.read("ZEFA.cfg"), "old contents\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(h.dir.path()), {}), 1);
}
