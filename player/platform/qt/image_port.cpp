#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include "platform/qt/image_convert.h"
#include "platform/qt/qt_platform_impl.h"

namespace zefa {

namespace {

// The panel title's font: the default user-interface font, in plain black and white pixels
// because the panel combines the strip with its picture bit by bit.
QFont title_font() {
    QFont font = QApplication::font();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

std::optional<Bitmap> QtPlatform::load_bmp(const std::string& path, std::string& error) {
    return qt::load_bmp_file(path, error);
}

int32_t QtPlatform::text_width(const std::string& utf8) {
    return QFontMetrics(title_font()).horizontalAdvance(QString::fromUtf8(utf8));
}

void QtPlatform::draw_text(Bitmap& b, int32_t x, int32_t y, const std::string& utf8) {
    if (b.empty() || utf8.empty()) return;
    QImage image = qt::to_qimage(b);
    {
        QPainter p(&image);
        const QFont font = title_font();
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(x, y + QFontMetrics(font).ascent(), QString::fromUtf8(utf8));
    }
    b = qt::from_qimage(image);
}

} // namespace zefa
