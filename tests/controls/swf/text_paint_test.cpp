// Edit text fields painted with the system's fonts into an image, at 20 twips a pixel.

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "swf/swf_text_paint.h"

namespace zefa {
namespace {

constexpr QRgb kGreen = 0xFF00FF00; // the image before the field is painted

// A field from (10, 10) to (110, 40) pixels, 12-pixel text.
swf::EditText field(const std::string& text) {
    swf::EditText t;
    t.bounds = {200, 2200, 200, 800};
    t.has_font = true;
    t.height = 240;
    t.has_color = true;
    t.color = {200, 0, 0, 255};
    t.has_text = true;
    t.text = text;
    return t;
}

QImage paint(const swf::EditText& t, const swf::Font* font = nullptr,
             const swf::ColorTransform& cx = {}) {
    QImage image(160, 80, QImage::Format_ARGB32_Premultiplied);
    image.fill(kGreen);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(1 / 20.0, 1 / 20.0);
    paint_edit_text(p, t, font, cx);
    return image;
}

// The painted pixels' extent, and whether any lies outside `inside`.
struct Ink {
    QRect box;
    bool outside = false;
    int count = 0;
};

Ink ink(const QImage& image, const QRect& inside, QRgb background = kGreen) {
    Ink k;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background) continue;
            k.box = k.box.united(QRect(x, y, 1, 1));
            k.outside |= !inside.contains(x, y);
            ++k.count;
        }
    return k;
}

const QRect kBounds(10, 10, 100, 30);

TEST(EditTextPaint, TextInItsColourStaysInsideTheBounds) {
    const QImage image = paint(field("Wide words run far past the right edge of the field"));
    const Ink k = ink(image, kBounds);
    EXPECT_GT(k.count, 50);
    EXPECT_FALSE(k.outside);
    // Ink up to the right edge (clipped there), starting after the 2-pixel gutter.
    EXPECT_GE(k.box.right(), kBounds.right() - 1);
    EXPECT_GE(k.box.left(), kBounds.left() + 2);
    int red = 0;
    for (int y = kBounds.top(); y <= kBounds.bottom(); ++y)
        for (int x = kBounds.left(); x <= kBounds.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_GT(red, 10);
}

TEST(EditTextPaint, BorderDrawsAWhiteBoxWithABlackFrame) {
    swf::EditText t = field("");
    t.border = true;
    const QImage image = paint(t);
    EXPECT_FALSE(ink(image, kBounds).outside);
    for (const QPoint at : {QPoint(10, 25), QPoint(109, 25), QPoint(60, 10), QPoint(60, 39)})
        EXPECT_LT(qGray(image.pixel(at)), 60) << at.x() << "," << at.y();
    EXPECT_EQ(image.pixel(60, 25), 0xFFFFFFFFu);
    EXPECT_EQ(ink(paint(field("")), kBounds).count, 0);
}

TEST(EditTextPaint, PasswordDrawsAStarPerCharacter) {
    swf::EditText secret = field("WMW\xC3\xA9");
    secret.password = true;
    const QImage masked = paint(secret);
    EXPECT_EQ(masked, paint(field("****")));
    EXPECT_NE(masked, paint(field("WMW\xC3\xA9")));
}

TEST(EditTextPaint, AlignmentMarginsAndLines) {
    const auto extent = [](const swf::EditText& t) { return ink(paint(t), kBounds).box; };
    swf::EditText t = field("ab");
    t.has_layout = true;
    const QRect left = extent(t);
    t.align = swf::EditText::Align::Right;
    const QRect right = extent(t);
    t.align = swf::EditText::Align::Center;
    const QRect centre = extent(t);
    EXPECT_LT(left.right(), 40);
    EXPECT_GT(right.left(), 80);
    EXPECT_NEAR(centre.center().x(), kBounds.center().x(), 3);
    t.align = swf::EditText::Align::Left;
    t.left_margin = 600; // 30 pixels
    EXPECT_NEAR(extent(t).left(), left.left() + 30, 1);

    // Two lines need a multiline field; a single-line field shows the first.
    swf::EditText two = field("ab\rcd");
    two.bounds.y_max = 2000;
    const QRect one_line = ink(paint(two), QRect(10, 10, 100, 90)).box;
    two.multiline = true;
    const QRect two_lines = ink(paint(two), QRect(10, 10, 100, 90)).box;
    EXPECT_GE(two_lines.height(), one_line.height() + 10);

    // Word wrap breaks a long line within the width.
    swf::EditText wrapped = field("one two three four five six seven eight nine ten");
    wrapped.bounds.y_max = 2000;
    wrapped.multiline = wrapped.word_wrap = true;
    const QRect w = ink(paint(wrapped), QRect(10, 10, 100, 90)).box;
    EXPECT_LE(w.right(), 108);
    EXPECT_GE(w.height(), 30);
}

TEST(EditTextPaint, ColourTransformAppliesToTextAndBorder) {
    swf::EditText t = field("Text");
    t.border = true;
    swf::ColorTransform clear;
    clear.mult[3] = 0;
    EXPECT_EQ(ink(paint(t, nullptr, clear), kBounds).count, 0);
    swf::ColorTransform blue;
    blue.mult[0] = blue.mult[1] = 0;
    blue.add[2] = 255;
    const QImage image = paint(t, nullptr, blue);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (image.pixel(x, y) == kGreen) continue;
            ASSERT_EQ(c.red() + c.green(), 0) << x << "," << y;
        }
}

TEST(EditTextPaint, DeviceFontStyleComesFromTheFont) {
    swf::Font font;
    font.name = "_sans";
    const QImage regular = paint(field("Bold"), &font);
    font.bold = true;
    const QImage bold = paint(field("Bold"), &font);
    EXPECT_GT(ink(bold, kBounds).count, ink(regular, kBounds).count);
    font.bold = false;
    font.name = "_typewriter";
    EXPECT_NE(paint(field("iiii"), &font), paint(field("iiii")));
}

} // namespace
} // namespace zefa
