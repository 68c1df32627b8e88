#pragma once

// Between the core's Bitmap (0x00RRGGBB) and Qt images, and BMP files into Bitmaps.

#include <QImage>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bitmap.h"

namespace zefa::qt {

QImage to_qimage(const Bitmap& b); // Format_RGB32
// Copies `area` of `b` into `image` (Format_RGB32, the same size as `b`), clipped to both.
void copy_area(QImage& image, const Bitmap& b, QRect area);
Bitmap from_qimage(const QImage& image); // alpha is dropped, as a bit-block transfer does

// A BMP file's bytes as a Bitmap; anything else, or pixel data cut short, is
// "ビットマップイメージが不正です".
std::optional<Bitmap> decode_bmp(std::string_view bytes, std::string& error);

// Reads the file by its bytes (a name that is not valid UTF-8 still opens) and decodes it as
// BMP only. Errors: "ファイル <path> は開けません" when the file cannot be read,
// "ビットマップイメージが不正です" when it is no valid bitmap.
std::optional<Bitmap> load_bmp_file(const std::string& path, std::string& error);

} // namespace zefa::qt
