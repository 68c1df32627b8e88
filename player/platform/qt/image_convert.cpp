#include "platform/qt/image_convert.h"

#include <QByteArray>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zefa::qt {

namespace {

// No skin picture comes near this; anything larger is refused rather than read into memory.
constexpr off_t kMaxBmpBytes = 256 * 1024 * 1024;

std::string cannot_open(const std::string& path) {
    return "ファイル " + path + " は開けません";
}
const char* const kInvalidBitmap = "ビットマップイメージが不正です";

// The whole file, or nothing when it cannot be opened or read; too_large when it exceeds
// the limit.
std::optional<QByteArray> read_file(const std::string& path, bool& too_large) {
    too_large = false;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    if (st.st_size > kMaxBmpBytes) {
        close(fd);
        too_large = true;
        return QByteArray();
    }
    QByteArray data;
    data.resize(static_cast<qsizetype>(st.st_size));
    qsizetype got = 0;
    while (got < data.size()) {
        const ssize_t n = read(fd, data.data() + got, static_cast<size_t>(data.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd);
            return std::nullopt;
        }
        if (n == 0) break; // the file shrank while we read it
        got += n;
    }
    close(fd);
    data.truncate(got);
    return data;
}

} // namespace

QImage to_qimage(const Bitmap& b) {
    QImage image(b.width(), b.height(), QImage::Format_RGB32);
    for (int32_t y = 0; y < b.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        const uint32_t* src =
            b.pixels().data() + static_cast<size_t>(y) * static_cast<size_t>(b.width());
        for (int32_t x = 0; x < b.width(); ++x)
            row[x] = 0xFF000000u | src[x];
    }
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

std::optional<Bitmap> load_bmp_file(const std::string& path, std::string& error) {
    bool too_large = false;
    const std::optional<QByteArray> data = read_file(path, too_large);
    if (!data) {
        error = cannot_open(path);
        return std::nullopt;
    }
    QImage image;
    // Only a BMP counts, whatever else Qt could decode from the bytes.
    if (too_large || !data->startsWith("BM") || !image.loadFromData(*data, "BMP") ||
        image.isNull()) {
        error = kInvalidBitmap;
        return std::nullopt;
    }
    return from_qimage(image);
}

} // namespace zefa::qt
