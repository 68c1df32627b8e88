// The extension test against the DropFileType and RealFileType lists.

#include <gtest/gtest.h>

#include "harness.h"

using namespace zefa;
using namespace zefa::test;

TEST(ExtChk, DefaultListsIgnoringCase) {
    Harness h;
    Player& p = h.p();
    apply_setting_defaults(p.cfg, DefaultPhase::Startup);
    for (const char* ext : {".mpg", ".MP3", ".Avi", ".swf", ".mpeg", ".rm"})
        EXPECT_EQ(p.ext_chk(0, ext), 1) << ext;
    for (const char* ext : {".mp", ".mpe", ".txt", ".hen", "", ".", "mp3", ".mp3;", "mp3."})
        EXPECT_EQ(p.ext_chk(0, ext), 0) << ext;
    EXPECT_EQ(p.ext_chk(1, ".rm"), 1);
    EXPECT_EQ(p.ext_chk(1, ".RM"), 1);
    EXPECT_EQ(p.ext_chk(1, ".mp3"), 0);
}

TEST(ExtChk, OnlyExtensionsFollowedByADotOrSemicolonCount) {
    Harness h;
    Player& p = h.p();
    p.cfg.DropFileType = ".mp3.avi";
    EXPECT_EQ(p.ext_chk(0, ".mp3"), 1);
    EXPECT_EQ(p.ext_chk(0, ".avi"), 0) << "the last one needs its closing ;";
    p.cfg.DropFileType = "";
    EXPECT_EQ(p.ext_chk(0, ".mp3"), 0);
    EXPECT_EQ(p.ext_chk(0, ""), 0);
    p.cfg.DropFileType = ";;.ogg;junk.wav;";
    EXPECT_EQ(p.ext_chk(0, ".ogg"), 1);
    EXPECT_EQ(p.ext_chk(0, ".wav"), 1);
    EXPECT_EQ(p.ext_chk(0, "junk"), 0);
    EXPECT_EQ(p.ext_chk(0, ""), 0) << "an empty extension never matches";
    p.cfg.RealFileType = ".rm;.ra;";
    p.cfg.DropFileType = ".x;";
    EXPECT_EQ(p.ext_chk(1, ".ra"), 1) << "the selector picks the list";
    EXPECT_EQ(p.ext_chk(0, ".ra"), 0);
}
