#include "swf/swf_text_paint.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace zefa {

namespace {

constexpr double kGutter = 40;      // twips between the bounds and the text (2 px)
constexpr int kDefaultHeight = 240; // a field without a font: 12 px
constexpr int kMaxHeight = 20000;   // 1000 px; larger sizes only cost memory
constexpr int kMaxLines = 4096;     // beyond any field's bounds
constexpr double kUnwrapped = 1e9;  // the width of a line that never wraps

QColor color_of(swf::Rgba c, const swf::ColorTransform& cx) {
    c = cx.apply(c);
    return QColor(c.r, c.g, c.b, c.a);
}

// The field is drawn in twips: a pixel size of the field's height in twips, scaled down by the
// painter, keeps its size exact (pixel sizes are whole numbers).
QFont field_font(const swf::EditText& t, const swf::Font* font) {
    const std::string name = font ? font->name : std::string();
    QFont q;
    if (name == "_serif") {
        q.setFamilies({QStringLiteral("serif")});
        q.setStyleHint(QFont::Serif);
    } else if (name == "_typewriter") {
        q.setFamilies({QStringLiteral("monospace")});
        q.setStyleHint(QFont::Monospace);
    } else if (name.empty() || name == "_sans") {
        q.setFamilies({QStringLiteral("sans-serif")});
        q.setStyleHint(QFont::SansSerif);
    } else {
        q.setFamilies({QString::fromUtf8(name), QStringLiteral("sans-serif")});
        q.setStyleHint(QFont::SansSerif);
    }
    q.setBold(font && font->bold);
    q.setItalic(font && font->italic);
    q.setPixelSize(std::clamp<int>(t.height ? t.height : kDefaultHeight, 1, kMaxHeight));
    // Hinted for a size the field is never shown at, the outlines would only get worse.
    q.setHintingPreference(QFont::PreferNoHinting);
    return q;
}

// The field's lines as written: '\r', '\n' and "\r\n" end one.
QStringList paragraphs(const swf::EditText& t) {
    QString text = QString::fromUtf8(t.plain_text());
    if (t.password) {
        QString masked;
        masked.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.isLowSurrogate()) continue; // one star for a pair
            masked += (c == u'\r' || c == u'\n') ? c : QChar(u'*');
        }
        text = masked;
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    // A single-line field shows its first line.
    if (!t.multiline && lines.size() > 1) lines.resize(1);
    return lines;
}

// One device pixel in the painter's user units (twips), for the frame's inset.
double device_pixel(const QPainter& p) {
    const double det = std::abs(p.worldTransform().determinant());
    return det > 1e-12 ? 1 / std::sqrt(det) : 20;
}

} // namespace

void paint_edit_text(QPainter& p, const swf::EditText& t, const swf::Font* font,
                     const swf::ColorTransform& cx) {
    const swf::Rect& b = t.bounds;
    const QRectF box(b.x_min, b.y_min, double(b.width()), double(b.height()));
    if (!(box.width() > 0 && box.height() > 0)) return;

    p.save();
    p.setClipRect(box, Qt::IntersectClip);
    if (t.border) {
        p.fillRect(box, color_of({255, 255, 255, 255}, cx));
        QPen frame(color_of({0, 0, 0, 255}, cx));
        frame.setCosmetic(true);
        frame.setWidthF(1);
        p.setPen(frame);
        p.setBrush(Qt::NoBrush);
        const double half = device_pixel(p) / 2;
        p.drawRect(box.adjusted(half, half, -half, -half));
    }

    const QFont qfont = field_font(t, font);
    const QFontMetricsF metrics(qfont);
    const double left = box.left() + kGutter + t.left_margin;
    const double right = box.right() - kGutter - t.right_margin;
    const bool wrap = t.multiline && t.word_wrap;
    const double line_height = std::max(1.0, metrics.ascent() + metrics.descent() + t.leading);
    p.setPen(color_of(t.has_color ? t.color : swf::Rgba{0, 0, 0, 255}, cx));

    double top = box.top() + kGutter;
    int lines = 0;
    QTextOption option;
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    for (const QString& paragraph : paragraphs(t)) {
        QTextLayout layout(paragraph, qfont);
        layout.setTextOption(option);
        layout.beginLayout();
        bool first = true;
        while (top < box.bottom() && lines < kMaxLines) {
            QTextLine line = layout.createLine();
            if (!line.isValid()) break;
            const double indent = first ? t.indent : 0;
            const double width = std::max(1.0, right - left - indent);
            line.setLineWidth(wrap ? width : kUnwrapped);
            const double used = line.naturalTextWidth();
            double x = left + indent; // left, and justified lines
            if (t.align == swf::EditText::Align::Right) x = right - used;
            if (t.align == swf::EditText::Align::Center) x = left + indent + (width - used) / 2;
            // Baselines sit one font ascent below each line's top.
            line.setPosition(QPointF(x, top + metrics.ascent() - line.ascent()));
            top += line_height;
            ++lines;
            first = false;
        }
        layout.endLayout();
        layout.draw(&p, QPointF(0, 0));
        if (top >= box.bottom() || lines >= kMaxLines) break;
    }
    p.restore();
}

} // namespace zefa
