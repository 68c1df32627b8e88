// Reading "main.da1" into the layout table and the load's steps and failures.

#include "skin_fixture.h"

namespace zefa::test {
namespace {

class SkinLoad : public SkinTest {
  protected:
    // Loads a table of the given text with a plain picture.
    void load(const std::string& text) {
        write_table(text);
        set_picture(Bitmap(40, 200, 0x123456));
        p.load_skin("T");
    }
    std::vector<std::string>& messages() { return h.dialogs.messages; }
};

TEST_F(SkinLoad, LinesFillElementsZeroToTwentyOneThenTwentyFiveOn) {
    std::string text;
    for (int j = 0; j < 60; ++j)
        text += "L" + std::to_string(j) + "=" + std::to_string(j) + ",1,2,3\n";
    text += "garbage after the last element is never read\n";
    load(text);
    EXPECT_TRUE(messages().empty());
    for (int k = 0; k <= 21; ++k)
        EXPECT_EQ(el(k), (Rect{k, 1, 2, 3})) << k;
    for (int k = 22; k <= 24; ++k)
        EXPECT_EQ(el(k), Rect{}) << k;
    for (int k = 25; k < 50; ++k)
        EXPECT_EQ(el(k), (Rect{k - 3, 1, 2, 3})) << k;
}

TEST_F(SkinLoad, AShortTableChangesOnlyItsElementsAcrossASkinSwitch) {
    load(table_text(
        {{0, {0, 0, 30, 10}}, {9, {9, 9, 9, 9}}, {39, {1, 2, 3, 4}}, {12, {7, 7, 7, 7}}}));
    std::string ten;
    for (int j = 0; j < 10; ++j)
        ten += "=" + std::to_string(100 + j) + ",0,5,5\n";
    write_table(ten, "Ten");
    set_picture(Bitmap(40, 200), "Ten");
    p.load_skin("Ten");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(el(0), (Rect{100, 0, 5, 5}));
    EXPECT_EQ(el(9), (Rect{109, 0, 5, 5}));
    EXPECT_EQ(el(12), (Rect{7, 7, 7, 7})) << "kept from the previous skin";
    EXPECT_EQ(el(39), (Rect{1, 2, 3, 4}));
}

TEST_F(SkinLoad, ScanningRuleDropsLabelsCommentsAndFifthFields) {
    struct Case {
        const char* line;
        Rect want;
    } cases[] = {
        {"Stop=1,2,3,4;comment", {1, 2, 3, 4}},
        {"Stop=1,2,3,4,99", {1, 2, 3, 4}},
        {"=5,6,7,8", {5, 6, 7, 8}},
        {"Play;=9;10;11;12", {9, 10, 11, 12}},
        {"Hex=$10,0x1f,X2,-7", {16, 31, 2, -7}},
        {"Blanks= 1,\t2,  +3,4", {1, 2, 3, 4}},
        {"Sign=-2147483648,2147483647,0,0", {INT32_MIN, INT32_MAX, 0, 0}},
    };
    for (const Case& c : cases) {
        messages().clear();
        load(std::string(c.line) + "\n");
        EXPECT_TRUE(messages().empty()) << c.line;
        EXPECT_EQ(el(0), c.want) << c.line;
    }
}

TEST_F(SkinLoad, ASecondEqualsSignRestartsAtTheFirstFieldAndStoresUntilAFailure) {
    load("a=1,2=3,4\n");
    EXPECT_EQ(messages(), std::vector<std::string>{"'' は整数ではありません"});
    EXPECT_EQ(p.skin.el[kElFace].x, 13);
    EXPECT_EQ(p.skin.el[kElFace].y, 24);
}

TEST_F(SkinLoad, FieldsThatAreNoIntegersStopTheLoadWithTheirText) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "''"},
        {"Play 1,2,3,4", "''"}, // no "=": nothing reaches a field
        {"P=1,2,3", "''"},
        {"P=1,2 ,3,4", "'2 '"},
        {"P=1,2,3,4x", "'4x'"},
        {"P=1,2,3,2147483648", "'2147483648'"},
    };
    for (const auto& [line, shown] : cases) {
        messages().clear();
        load(std::string(line) + "\r\n");
        EXPECT_EQ(messages(),
                  std::vector<std::string>{std::string(shown) + " は整数ではありません"})
            << line;
    }
    messages().clear();
    load(std::string("P=1,2,3,4\nQ=1,", 14) + std::string(1, '\0') + "5,6,7\n");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], std::string("'") + '\0' + "5' は整数ではありません");
}

TEST_F(SkinLoad, EveryLineEndIsAcceptedAndTheLastLineNeedsNone) {
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        std::string text = "A=1,1,1,1" + std::string(eol) + "B=2,2,2,2" + eol + "C=3,3,3,3";
        load(text);
        EXPECT_TRUE(messages().empty()) << eol[0];
        EXPECT_EQ(el(2), (Rect{3, 3, 3, 3}));
        EXPECT_EQ(el(1), (Rect{2, 2, 2, 2}));
    }
    load(table_text({{0, {0, 0, 8, 8}}}, "\n") + "\n"); // an empty line after the last element
    EXPECT_TRUE(messages().empty());
}

TEST_F(SkinLoad, AGarbageLineOfMegabytesGivesAShortMessage) {
    load("P=1,2," + std::string(10 * 1024 * 1024, '7') + "x,4\n");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_LT(messages()[0].size(), 300u);
    EXPECT_EQ(messages()[0].rfind("'777", 0), 0u);
}

TEST_F(SkinLoad, AStoppedTableKeepsTheOldPicturesSizeAndOutline) {
    load(table_text({{0, {0, 0, 40, 50}}}));
    const Bitmap picture = p.skin.skin_bitmap, surface = p.skin.panel_surface;
    const Region outline = h.win.regions[Win::Panel];
    const Rect panel = h.win.rects[Win::Panel];
    ASSERT_FALSE(outline.empty());

    write_table("P=0,0,90,9\nQ=5,6,x,8\n");
    set_picture(Bitmap(99, 999, 0));
    p.load_skin("T");
    EXPECT_EQ(messages(), std::vector<std::string>{"'x' は整数ではありません"});
    EXPECT_EQ(el(0), (Rect{0, 0, 90, 9})) << "fields before the failure keep their values";
    EXPECT_EQ(p.skin.el[kElPlay].x, 5);
    EXPECT_EQ(p.skin.el[kElPlay].y, 6);
    EXPECT_EQ(p.skin.skin_bitmap, picture);
    EXPECT_EQ(p.skin.panel_surface, surface);
    EXPECT_EQ(h.win.regions[Win::Panel], outline);
    EXPECT_EQ(h.win.rects[Win::Panel], panel);
}

TEST_F(SkinLoad, AMissingOrBadBitmapEmptiesThePicturesAndKeepsSizeAndOutline) {
    load(table_text({{0, {0, 0, 40, 50}}}));
    const Region outline = h.win.regions[Win::Panel];
    const Rect panel = h.win.rects[Win::Panel];

    write_table(table_text({{0, {0, 0, 20, 10}}}), "NoPicture");
    p.load_skin("NoPicture");
    EXPECT_EQ(messages(), std::vector<std::string>{"ファイル " + folder("NoPicture") +
                                                   "main.bmp は開けません"});
    EXPECT_EQ(el(0), (Rect{0, 0, 20, 10})) << "the table holds the new rectangles";
    EXPECT_TRUE(p.skin.skin_bitmap.empty());
    EXPECT_TRUE(p.skin.panel_surface.empty());
    EXPECT_EQ(h.win.regions[Win::Panel], outline);
    EXPECT_EQ(h.win.rects[Win::Panel], panel);

    messages().clear();
    write_table("", "Garbage");
    h.dir.write("Skin/Garbage/main.bmp", "BM this is no picture");
    p.load_skin("Garbage");
    EXPECT_EQ(messages(), std::vector<std::string>{"ビットマップイメージが不正です"});
    EXPECT_EQ(el(0), (Rect{0, 0, 20, 10})) << "an empty table changes nothing";
}

TEST_F(SkinLoad, AFolderInPlaceOfTheTableIsAnIoError) {
    std::filesystem::create_directories(folder() + "main.da1");
    set_picture(Bitmap(10, 10));
    p.load_skin("T");
    EXPECT_EQ(messages(), std::vector<std::string>{"I/O エラー (21)"});
}

TEST_F(SkinLoad, AGoodLoadComposesTheFaceSizesThePanelAndClearsTheTitle) {
    write_table(table_text({{0, {0, 0, 30, 20}}, {35, {2, 3, 24, 9}}}));
    set_picture(coded_picture(30, 4 * 20, 20));
    p.skin.title_strip = Bitmap(5, 5, 0xFFFFFF);
    p.load_skin("T");
    ASSERT_TRUE(messages().empty());
    ASSERT_EQ(p.skin.panel_surface.width(), 30);
    ASSERT_EQ(p.skin.panel_surface.height(), 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(p.skin.panel_surface.pixel(x, y), coded(x, y, 20));
    EXPECT_EQ(h.win.rects[Win::Panel].w, 30);
    EXPECT_EQ(h.win.rects[Win::Panel].h, 20);
    EXPECT_EQ(h.win.regions[Win::Panel].rects.size(), 20u); // no white: one run per row
    // Two blanks: a strip without text, black after inverting.
    EXPECT_EQ(p.skin.title_width, 12);
    EXPECT_EQ(p.skin.title_gap, 8);
    EXPECT_EQ(p.skin.title_strip, Bitmap(1640, 9, 0));
}

TEST_F(SkinLoad, WithoutATableTheOldRectanglesServeTheNewPicture) {
    load(table_text({{0, {0, 0, 12, 6}}}));
    std::filesystem::remove(folder() + "main.da1");
    set_picture(Bitmap(12, 30, 0x445566));
    p.load_skin("T");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(el(0), (Rect{0, 0, 12, 6}));
    EXPECT_EQ(p.skin.panel_surface, Bitmap(12, 6, 0x445566));
}

TEST_F(SkinLoad, StartUpLoadsTheNamedSkin) {
    h.dir.write("ZEFA.cfg", settings_text({{29, "Mine"}}));
    write_table(table_text({{0, {0, 0, 16, 8}}}), "Mine");
    set_picture(Bitmap(16, 32, 0x202020), "Mine");
    h.start();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(el(0), (Rect{0, 0, 16, 8}));
    EXPECT_EQ(h.win.rects[Win::Panel].w, 16);
    EXPECT_EQ(h.win.regions[Win::Panel].rects.size(), 8u);
}

} // namespace
} // namespace zefa::test
