// The control panel with a bundled skin on the real port: its shape is the skin's outline,
// it shows the composed surface pixel for pixel, and on a HiDPI screen it scales without
// smoothing. Pictures of every kind Qt reads load; lying ones are refused.

#include <QImage>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "fake_engines.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_support.h"
#include "shell/player.h"

namespace zefa {
namespace {

class PanelTest : public ::testing::Test {
  protected:
    PanelTest() {
        exe = QFile::encodeName(dir.path()).toStdString() + "/";
        for (const char* name : {"Default01", "Default02"}) {
            const std::string to = exe + "Skin/" + name + "/";
            std::filesystem::create_directories(to);
            for (const char* file : {"main.da1", "main.bmp"})
                std::filesystem::copy_file(std::string(ZEFA_SKIN_DIR) + "/" + name + "/" + file,
                                           to + file);
        }
        player = std::make_unique<Player>(platform.ports(),
                                          Engines{velmo.api(), real1, real2, flash}, exe, "");
    }
    QWidget* panel() const { return platform.window(Win::Panel); }

    // The outline read straight from the picture file: layer 0's pixels that are not white.
    QRegion outline_of(const std::string& name) const {
        const QImage img(QString::fromStdString(exe + "Skin/" + name + "/main.bmp"));
        const SkinElement& e0 = player->skin.el[kElFace];
        QRegion r;
        for (int y = 0; y < e0.h; ++y)
            for (int x = 0; x < e0.w; ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) r += QRect(x, y, 1, 1);
        return r;
    }

    QTemporaryDir dir;
    std::string exe;
    QtPlatform platform;
    test::FakeVelmo velmo;
    test::FakeRealPlayer real1, real2;
    test::FakeFlash flash;
    std::unique_ptr<Player> player;
};

TEST_F(PanelTest, TheWindowIsShapedByTheSkinAndReshapedByASwitch) {
    player->load_skin("Default01");
    const QRegion first = outline_of("Default01");
    EXPECT_EQ(panel()->size(), QSize(player->skin.el[kElFace].w, player->skin.el[kElFace].h));
    EXPECT_EQ(panel()->mask(), first);

    player->load_skin("Default02");
    const QRegion second = outline_of("Default02");
    EXPECT_EQ(panel()->size(), QSize(player->skin.el[kElFace].w, player->skin.el[kElFace].h));
    EXPECT_EQ(panel()->mask(), second);
    EXPECT_NE(first, second);
    // The dial's play button is an island: the ring around it is not the panel's.
    EXPECT_FALSE(panel()->mask().contains(QPoint(56, 56 - 21)));
    EXPECT_TRUE(panel()->mask().contains(QPoint(56, 56)));
}

// Only what changed since the last redraw goes to the window: after each change (the time, the
// pause lamp, another skin of another size) the window still shows the whole surface.
TEST_F(PanelTest, ShowsTheComposedSurfaceInsideTheOutlineAfterEveryChange) {
    const auto expect_shown = [this](const char* step) {
        test::settle();
        const QImage shown = panel()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const Bitmap& surface = player->skin.panel_surface;
        ASSERT_EQ(shown.size(), QSize(surface.width(), surface.height())) << step;
        int compared = 0;
        for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x)
                if (panel()->mask().contains(QPoint(x, y))) {
                    ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, surface.pixel(x, y))
                        << step << " " << x << "," << y;
                    ++compared;
                }
        EXPECT_GT(compared, surface.width() * surface.height() / 2) << step;
    };
    player->load_skin("Default01");
    platform.show(Win::Panel, true);
    player->list.play_state = 1;
    player->sh.paused = 0;
    player->sh.media_pos = 3723000;
    player->put_ch();
    expect_shown("first");
    player->sh.media_pos = 5000;
    player->put_ch();
    expect_shown("time");
    player->sh.paused = 1;
    player->put_ch();
    player->put_ch(); // nothing changed
    expect_shown("paused");
    player->load_skin("Default02");
    player->put_ch();
    expect_shown("other skin");
}

TEST_F(PanelTest, OnAHiDpiScreenEveryPixelBecomesASharpBlock) {
    player->load_skin("Default02");
    player->put_ch();
    const Bitmap& surface = player->skin.panel_surface;
    QImage doubled(surface.width() * 2, surface.height() * 2, QImage::Format_RGB32);
    doubled.setDevicePixelRatio(2);
    doubled.fill(Qt::white);
    // render() places the masked area's bounding box at the offset; put it where it belongs.
    const QRegion mask = panel()->mask();
    panel()->render(&doubled, mask.boundingRect().topLeft(), QRegion(), QWidget::DrawChildren);
    int compared = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            if (!mask.contains(QPoint(x, y))) continue;
            for (int d = 0; d < 4; ++d)
                ASSERT_EQ(doubled.pixel(2 * x + d % 2, 2 * y + d / 2) & 0xFFFFFF,
                          surface.pixel(x, y))
                    << x << "," << y;
            ++compared;
        }
    EXPECT_GT(compared, surface.width() * surface.height() / 2);
}

// BMP files built byte by byte: what Qt's reader accepts, the skin accepts.
std::string bmp(int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                const std::string& palette, const std::string& data) {
    std::string s = "BM";
    auto u32 = [&s](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            s.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
    };
    auto u16 = [&s](uint16_t v) {
        s.push_back(static_cast<char>(v & 0xFF));
        s.push_back(static_cast<char>(v >> 8));
    };
    const auto offset = static_cast<uint32_t>(54 + palette.size());
    u32(offset + static_cast<uint32_t>(data.size()));
    u32(0);
    u32(offset);
    u32(40);
    u32(static_cast<uint32_t>(w));
    u32(static_cast<uint32_t>(h));
    u16(1);
    u16(bits);
    u32(compression);
    u32(static_cast<uint32_t>(data.size()));
    u32(2835);
    u32(2835);
    u32(static_cast<uint32_t>(palette.size() / 4));
    u32(0);
    return s + palette + data;
}

class SkinPictureTest : public ::testing::Test {
  protected:
    std::optional<Bitmap> load(const std::string& bytes) {
        const std::string path = QFile::encodeName(dir.path()).toStdString() + "/main.bmp";
        std::ofstream(path, std::ios::binary) << bytes;
        error.clear();
        return platform.load_bmp(path, error);
    }
    QTemporaryDir dir;
    QtPlatform platform;
    std::string error;
};

TEST_F(SkinPictureTest, PalettedRunLengthAndTopDownPicturesLoad) {
    const std::string two_colours("\x00\x00\x00\x00\xff\xff\xff\x00", 8); // black, white
    const std::string sixteen = two_colours + std::string(14 * 4, '\x40');
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<uint32_t> want; // 2 x 2, top row first
    } cases[] = {
        {"1 bit, top-down",
         bmp(2, -2, 1, 0, two_colours, std::string("\x40\0\0\0\x80\0\0\0", 8)),
         {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}},
        {"4 bits",
         bmp(2, 2, 4, 0, sixteen, std::string("\x01\0\0\0\x10\0\0\0", 8)),
         {0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF}},
        {"8 bits, run length",
         bmp(2, 2, 8, 1, two_colours, std::string("\x02\x01\0\0\x02\0\0\x01", 8)),
         {0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF}},
        {"4 bits, run length",
         bmp(2, 2, 4, 2, sixteen, std::string("\x02\x10\0\0\x02\x01\0\x01", 8)),
         {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}},
        {"32 bits, top-down",
         bmp(2, -2, 32, 0, "",
             std::string("\x01\x02\x03\0\x04\x05\x06\0\x07\x08\x09\0\x0a\x0b\x0c\0", 16)),
         {0x030201, 0x060504, 0x090807, 0x0C0B0A}},
    };
    for (const Case& c : cases) {
        const std::optional<Bitmap> b = load(c.bytes);
        ASSERT_TRUE(b) << c.what << ": " << error;
        ASSERT_EQ(b->width(), 2) << c.what;
        ASSERT_EQ(b->height(), 2) << c.what;
        EXPECT_EQ(
            (std::vector<uint32_t>{b->pixel(0, 0), b->pixel(1, 0), b->pixel(0, 1), b->pixel(1, 1)}),
            c.want)
            << c.what;
    }
}

TEST_F(SkinPictureTest, LyingHeadersAreRefusedWithoutHugeAllocations) {
    const std::string pixels(64, '\x11');
    const std::pair<const char*, std::string> cases[] = {
        {"100000 x 100000", bmp(100000, 100000, 24, 0, "", pixels)},
        {"100000 x 100000 run length", bmp(100000, 100000, 8, 1, std::string(8, '\0'), pixels)},
        {"0 x 0", bmp(0, 0, 24, 0, "", "")},
        {"truncated", bmp(16, 16, 24, 0, "", pixels)},
        {"depth 7", bmp(2, 2, 7, 0, "", pixels)},
    };
    for (const auto& [what, bytes] : cases) {
        const std::optional<Bitmap> b = load(bytes);
        // Qt pads a short picture; a padded one is harmless, a refused one has the message.
        if (b)
            EXPECT_LE(int64_t{b->width()} * b->height(), 16 * 16) << what;
        else
            EXPECT_EQ(error, "ビットマップイメージが不正です") << what;
    }
}

} // namespace
} // namespace zefa
