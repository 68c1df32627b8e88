// BMP files into bitmaps, and the title text measured and drawn in one font.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bounded_child.h"
#include "platform/qt/qt_platform.h"

namespace zefa {
namespace {

class ImagesTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const {
        return QFile::encodeName(dir.path()).toStdString() + "/" + name;
    }
    static QString qpath(const std::string& p) {
        return QFile::decodeName(QByteArray::fromStdString(p));
    }
    static void write_bytes(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string read_bytes(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // A picture whose every pixel differs from its neighbours.
    static QImage pattern(int w, int h, QImage::Format format) {
        QImage img(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) % 256));
        return img.convertToFormat(format);
    }

    QTemporaryDir dir;
    QtPlatform platform;
};

TEST_F(ImagesTest, BmpFilesDecodeToTheirPixelsWhateverTheirDepthOrName) {
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888,
                                  QImage::Format_ARGB32, QImage::Format_Indexed8}) {
        const QImage img = pattern(37, 11, format);
        ASSERT_TRUE(img.save(qpath(path("main.bmp")), "BMP"));
        // A name that is no UTF-8 opens as well.
        const std::string odd = path("skin\xff\xfe.bmp");
        write_bytes(odd, read_bytes(path("main.bmp")));
        std::string error;
        const std::optional<Bitmap> b = platform.load_bmp(odd, error);
        unlink(odd.c_str()); // Qt could not name it to remove it with the folder
        ASSERT_TRUE(b) << error;
        ASSERT_EQ(b->width(), 37);
        ASSERT_EQ(b->height(), 11);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(b->pixel(x, y), img.pixel(x, y) & 0xFFFFFFu)
                    << x << "," << y << " " << format;
    }
}

TEST_F(ImagesTest, FilesThatCannotBeReadOrAreNoBitmapsGetTheirMessages) {
    std::string error;
    for (const std::string& p : {path("missing.bmp"), path("folder.bmp")}) {
        QDir().mkpath(qpath(path("folder.bmp")));
        EXPECT_FALSE(platform.load_bmp(p, error));
        EXPECT_EQ(error, "ファイル " + p + " は開けません");
    }

    ASSERT_TRUE(pattern(16, 16, QImage::Format_RGB32).save(qpath(path("good.bmp")), "BMP"));
    ASSERT_TRUE(pattern(4, 4, QImage::Format_RGB32).save(qpath(path("png.bmp")), "PNG"));
    const std::string bmp = read_bytes(path("good.bmp"));
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"text", "this is no picture\n"},
        {"header only", bmp.substr(0, 14)},
        {"truncated info", bmp.substr(0, 30)},
        {"wrong magic", "XY" + bmp.substr(2)},
        {"bad sizes",
         std::string("BM\xff\xff\xff\xff\0\0\0\0\xff\xff\xff\x7f", 14) + std::string(64, '\xee')},
        // A picture Qt could read in another format is still no bitmap.
        {"png", read_bytes(path("png.bmp"))},
    };
    for (const auto& [name, bytes] : cases) {
        write_bytes(path("bad.bmp"), bytes);
        error.clear();
        EXPECT_FALSE(platform.load_bmp(path("bad.bmp"), error)) << name;
        EXPECT_EQ(error, "ビットマップイメージが不正です") << name;
    }
}

// BMP headers built byte by byte: a Windows info header of 40 bytes or the OS/2 one of 12.
std::string bmp_headers(uint32_t info, int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                        uint32_t offset) {
    std::string s = "BM";
    auto put = [&s](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            s.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
    };
    const int size = info == 12 ? 2 : 4;
    put(0, 4);
    put(0, 4);
    put(offset, 4);
    put(info, 4);
    put(static_cast<uint32_t>(w), size);
    put(static_cast<uint32_t>(h), size);
    put(1, 2);
    put(bits, 2);
    if (info != 12) put(compression, 4);
    s.resize(14 + info, '\0');
    return s;
}

TEST_F(ImagesTest, BitmapsWithLessPixelDataThanTheirHeadersPromiseAreInvalid) {
    ASSERT_TRUE(pattern(120, 40, QImage::Format_RGB888).save(qpath(path("main.bmp")), "BMP"));
    const std::string saved = read_bytes(path("main.bmp"));
    ASSERT_EQ(saved.size(), 54u + 40 * 360);
    const std::string pixels = std::string(12, '\x7f');
    const struct {
        const char* what;
        std::string bytes;
    } whole[] = {
        {"saved by Qt", saved},
        {"OS/2 core header", bmp_headers(12, 2, 2, 24, 0, 26) + pixels + std::string(4, '\0')},
        {"top-down", bmp_headers(40, 2, -2, 24, 0, 54) + std::string(16, '\x7f')},
        {"bit fields", bmp_headers(40, 2, 2, 32, 3, 66)
                               .replace(54, 0, std::string("\0\0\xff\0\0\xff\0\0\xff\0\0\0", 12)) +
                           std::string(16, '\x7f')},
    };
    for (const auto& [what, bytes] : whole) {
        write_bytes(path("main.bmp"), bytes);
        std::string error;
        EXPECT_TRUE(platform.load_bmp(path("main.bmp"), error)) << what << ": " << error;
        for (const size_t cut : {bytes.size() - 1, std::min<size_t>(bytes.size() - 5, 2000)}) {
            write_bytes(path("main.bmp"), bytes.substr(0, cut));
            error.clear();
            EXPECT_FALSE(platform.load_bmp(path("main.bmp"), error)) << what << " cut to " << cut;
            EXPECT_EQ(error, "ビットマップイメージが不正です") << what << " cut to " << cut;
        }
    }
}

TEST_F(ImagesTest, BundledSkinPicturesLoadWholeAndNotOneByteShort) {
    for (const char* skin : {"Default01", "Default02"}) {
        const std::string bytes = read_bytes(std::string(ZEFA_SKIN_DIR) + "/" + skin + "/main.bmp");
        ASSERT_GT(bytes.size(), 2000u) << skin;
        for (const bool cut : {false, true}) {
            write_bytes(path("main.bmp"), bytes.substr(0, bytes.size() - (cut ? 1 : 0)));
            std::string error;
            const std::optional<Bitmap> b = platform.load_bmp(path("main.bmp"), error);
            EXPECT_EQ(b.has_value(), !cut) << skin << ": " << error;
            if (cut) {
                EXPECT_EQ(error, "ビットマップイメージが不正です") << skin;
            }
        }
    }
}

TEST_F(ImagesTest, HeadersThatLieAboutTheirSizesAreRefusedWithoutCrashing) {
    const std::string pixels(64, '\x11');
    const std::string cases[] = {
        // Pictures Qt would pad with black.
        bmp_headers(40, 1000, 1000, 24, 0, 54) + pixels,
        bmp_headers(40, 2000, -2000, 16, 3, 66) + pixels,
        bmp_headers(12, 1000, 1000, 8, 0, 0) + pixels,
        // Absurd values.
        bmp_headers(40, INT32_MAX, INT32_MIN, 0xFFFF, 0, 0xFFFFFFFF) + pixels,
        bmp_headers(40, INT32_MAX, INT32_MAX, 32, 3, 0) + pixels,
        bmp_headers(40, INT32_MIN, 2, 24, 0, 54) + pixels,
        bmp_headers(40, -1, -1, 24, 0, 54) + pixels,
        bmp_headers(40, 2, 2, 0, 0, 54) + pixels,
        bmp_headers(40, 2, 2, 24, 0xFFFFFFFF, 54) + pixels,
        bmp_headers(40, 30000, 30000, 8, 1, 54) + pixels,
        bmp_headers(12, 0xFFFF, 0xFFFF, 0xFFFF, 0, 0xFFFFFFFF) + pixels,
        bmp_headers(12, 0, 0, 24, 0, 0) + pixels,
        bmp_headers(0xFFFFFFFF, 2, 2, 24, 0, 54) + pixels,
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        write_bytes(path("main.bmp"), cases[i]);
        std::string error;
        EXPECT_FALSE(platform.load_bmp(path("main.bmp"), error)) << i;
        EXPECT_EQ(error, "ビットマップイメージが不正です") << i;
    }
}

TEST_F(ImagesTest, PipesDevicesAndHugeFilesAreNeverReadIn) {
    const std::string pipe = path("pipe.bmp"), zero = path("zero.bmp"), huge = path("huge.bmp");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    write_bytes(huge, "BM");
    ASSERT_EQ(truncate(huge.c_str(), 256 * 1024 * 1024 + 1), 0); // sparse
    const std::pair<std::string, std::string> cases[] = {
        {pipe, "ファイル " + pipe + " は開けません"},
        {zero, "ファイル " + zero + " は開けません"},
        {huge, "ビットマップイメージが不正です"},
    };
    for (const auto& [p, want] : cases) {
        // In a child with a time limit: a blocking open would never return.
        const std::optional<std::string> error = test::run_bounded([&] {
            std::string e;
            return platform.load_bmp(p, e) ? "loaded" : e;
        });
        EXPECT_EQ(error.value_or("hung"), want);
    }
}

TEST_F(ImagesTest, TitleTextIsMeasuredWithTheFontThatDrawsIt) {
    EXPECT_EQ(platform.text_width(""), 0);
    const int32_t one = platform.text_width("zefa.avi");
    EXPECT_GT(one, 0);
    EXPECT_GT(platform.text_width("zefa.avizefa.avi"), one);
    EXPECT_GT(platform.text_width("日本語のファイル名.mpg"), platform.text_width(".mpg"));

    Bitmap strip(400, 40, 0xFFFFFF);
    platform.draw_text(strip, 10, 5, "zefa.avi");
    int left = 400, right = -1, top = 40, bottom = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x) {
            const uint32_t p = strip.pixel(x, y);
            if (p == 0xFFFFFF) continue;
            ASSERT_EQ(p, 0x000000u) << "only black on white, for the panel's bitwise combining";
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    ASSERT_GE(right, 0) << "nothing was drawn";
    EXPECT_GE(left, 10);
    EXPECT_LT(right, 10 + one + 2);
    EXPECT_GE(top, 5);
    EXPECT_LT(bottom, 5 + 30);

    Bitmap none;
    platform.draw_text(none, 0, 0, "x");
    EXPECT_TRUE(none.empty());
}

} // namespace
} // namespace zefa
