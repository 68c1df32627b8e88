#include "platform/qt/image_convert.h"

#include <QByteArray>
#include <cerrno>

#include "config/file_text.h"
#include "platform/bmp_layout.h"

namespace zefa::qt {

namespace {

std::string cannot_open(const std::string& path) {
    return "ファイル " + path + " は開けません";
}
const char* const kInvalidBitmap = "ビットマップイメージが不正です";

} // namespace

void copy_area(QImage& image, const Bitmap& b, QRect area) {
    const QRect r = area & QRect(0, 0, b.width(), b.height()) & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        const uint32_t* src =
            b.pixels().data() + static_cast<size_t>(y) * static_cast<size_t>(b.width());
        for (int x = r.left(); x <= r.right(); ++x)
            row[x] = 0xFF000000u | src[x];
    }
}

QImage to_qimage(const Bitmap& b) {
    QImage image(b.width(), b.height(), QImage::Format_RGB32);
    copy_area(image, b, image.rect());
    return image;
}

Bitmap from_qimage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    Bitmap b(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        uint32_t* dst = b.pixels().data() + static_cast<size_t>(y) * static_cast<size_t>(b.width());
        for (int x = 0; x < rgb.width(); ++x)
            dst[x] = row[x] & 0xFFFFFFu;
    }
    return b;
}

std::optional<Bitmap> decode_bmp(std::string_view bytes, std::string& error) {
    // Qt pads pixel data that ends early with black; a short file is no bitmap.
    if (const std::optional<uint64_t> needed = bmp_bytes_needed(bytes);
        needed && *needed > bytes.size()) {
        error = kInvalidBitmap;
        return std::nullopt;
    }
    const QByteArray data =
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QImage image;
    // Only a BMP counts, whatever else Qt could decode from the bytes.
    if (!data.startsWith("BM") || !image.loadFromData(data, "BMP") || image.isNull()) {
        error = kInvalidBitmap;
        return std::nullopt;
    }
    return from_qimage(image);
}

std::optional<Bitmap> load_bmp_file(const std::string& path, std::string& error) {
    std::string bytes;
    const int err = read_regular_file(path, kMaxBitmapBytes, bytes);
    // A file beyond the bound is no skin picture; anything else unread cannot be opened.
    if (err == EFBIG) {
        error = kInvalidBitmap;
        return std::nullopt;
    }
    if (err != 0) {
        error = cannot_open(path);
        return std::nullopt;
    }
    return decode_bmp(bytes, error);
}

} // namespace zefa::qt
