// Draws ZEFA's icon at the fixed sizes of the icon theme:
//   iconmaker OUTPUT_FOLDER  writes OUTPUT_FOLDER/NxN/apps/zefa.png for each size.
// The shapes are those of data/icons/zefa.svg, on the same 256 x 256 grid; change both together.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <cstdio>

namespace {

constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};
constexpr double kGrid = 256.0;
const QColor kCyan(0x1f, 0xd6, 0xf0);

QImage draw_icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);

    QLinearGradient panel(0, 16, 0, 240);
    panel.setColorAt(0, QColor(0x2e, 0x39, 0x47));
    panel.setColorAt(1, QColor(0x10, 0x15, 0x1b));
    p.setBrush(panel);
    p.setPen(QPen(QColor(0x4a, 0x5a, 0x6e), 4));
    p.drawRoundedRect(QRectF(18, 18, 220, 220), 44, 44);

    p.setPen(Qt::NoPen);
    p.setBrush(kCyan);
    p.drawPolygon(QPolygonF({QPointF(98, 66), QPointF(98, 170), QPointF(188, 118)}));

    QColor track = kCyan;
    track.setAlphaF(0.45f);
    p.setBrush(track);
    p.drawRoundedRect(QRectF(58, 194, 140, 10), 5, 5);
    p.setBrush(kCyan);
    p.drawRoundedRect(QRectF(58, 194, 62, 10), 5, 5);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: iconmaker OUTPUT_FOLDER\n");
        return 2;
    }
    for (int size : kSizes) {
        const QString dir = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(dir) || !draw_icon(size).save(dir + "/zefa.png", "PNG")) {
            std::fprintf(stderr, "iconmaker: cannot write %s/zefa.png\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
