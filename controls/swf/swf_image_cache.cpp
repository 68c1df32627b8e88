#include "swf/swf_image_cache.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "swf/swf_shape.h"

namespace zefa {

namespace {

// Every cached image counts at least this much, so tiny images cannot pile up without bound.
constexpr size_t kEntryOverhead = 1024;

size_t cost(const QImage& image) {
    return static_cast<size_t>(image.sizeInBytes()) + kEntryOverhead;
}

bool starts_with(const std::vector<uint8_t>& data, std::initializer_list<uint8_t> prefix) {
    return data.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), data.begin());
}

// The decoder to ask for, from the data's signature; null for anything else.
const char* image_format(const std::vector<uint8_t>& data) {
    // Older movies put a stray end-of-image marker before the real start.
    if (starts_with(data, {0xFF, 0xD8}) || starts_with(data, {0xFF, 0xD9, 0xFF, 0xD8}))
        return "jpeg";
    if (starts_with(data, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return "png";
    if (starts_with(data, {'G', 'I', 'F', '8', '9', 'a'}) ||
        starts_with(data, {'G', 'I', 'F', '8', '7', 'a'}))
        return "gif";
    return nullptr;
}

QImage from_lossless(const swf::Bitmap& b) {
    if (b.argb.size() != static_cast<size_t>(b.width) * static_cast<size_t>(b.height)) return {};
    QImage image(b.width, b.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    const uint32_t* src = b.argb.data();
    for (int y = 0; y < b.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < b.width; ++x) {
            // Colour above alpha would overflow when blended.
            const uint32_t v = *src++;
            const uint32_t a = v >> 24;
            row[x] = qRgba(static_cast<int>(std::min((v >> 16) & 0xFF, a)),
                           static_cast<int>(std::min((v >> 8) & 0xFF, a)),
                           static_cast<int>(std::min(v & 0xFF, a)), static_cast<int>(a));
        }
    }
    return image;
}

QImage from_encoded(const swf::Bitmap& b) {
    const char* format = image_format(b.encoded);
    if (!format || b.encoded.size() > static_cast<size_t>(INT_MAX)) return {};
    const QByteArray bytes = QByteArray::fromRawData(
        reinterpret_cast<const char*>(b.encoded.data()), static_cast<qsizetype>(b.encoded.size()));
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    const int64_t stated_bytes = int64_t{b.width} * b.height * 4;
    reader.setAllocationLimit(static_cast<int>(std::min<int64_t>((stated_bytes >> 20) + 2, 1024)));
    // The header the model measured and the decoder's view must agree; a larger image than
    // stated is never decoded.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > b.width || size.height() > b.height)
        return {};
    QImage image = reader.read();
    if (image.isNull() || image.width() > b.width || image.height() > b.height) return {};
    if (b.alpha.empty() ||
        b.alpha.size() != static_cast<size_t>(b.width) * static_cast<size_t>(b.height) ||
        image.width() != b.width || image.height() != b.height)
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // The colour is straight; the alpha plane premultiplies it.
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return {};
    const uint8_t* alpha = b.alpha.data();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = qPremultiply(qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), *alpha++));
    }
    image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    return image;
}

// `image` with its outer rows and columns repeated outwards.
QImage extend_edges(const QImage& image, const QMargins& pad) {
    const int w = image.width(), h = image.height();
    QImage out(w + pad.left() + pad.right(), h + pad.top() + pad.bottom(),
               QImage::Format_ARGB32_Premultiplied);
    if (out.isNull()) return {};
    for (int y = 0; y < out.height(); ++y) {
        const int sy = std::clamp(y - pad.top(), 0, h - 1);
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(sy));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        std::fill(row, row + pad.left(), src[0]);
        std::memcpy(row + pad.left(), src, static_cast<size_t>(w) * sizeof(QRgb));
        std::fill(row + pad.left() + w, row + out.width(), src[w - 1]);
    }
    return out;
}

} // namespace

QImage decode_bitmap_image(const swf::Bitmap& bitmap) {
    if (bitmap.width <= 0 || bitmap.height <= 0) return {};
    if (bitmap.lossless()) return from_lossless(bitmap);
    if (bitmap.encoded.empty()) return {};
    return from_encoded(bitmap);
}

QImage transform_image(const QImage& image, const swf::ColorTransform& cx) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (out.isNull() || cx.identity()) return out;
    // The transform works on each channel alone: one table per channel.
    std::array<std::array<uint8_t, 256>, 4> table;
    for (int v = 0; v < 256; ++v) {
        const uint8_t c = static_cast<uint8_t>(v);
        const swf::Rgba t = cx.apply({c, c, c, c});
        table[0][v] = t.r;
        table[1][v] = t.g;
        table[2][v] = t.b;
        table[3][v] = t.a;
    }
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb s = qUnpremultiply(row[x]);
            row[x] = qPremultiply(qRgba(table[0][qRed(s)], table[1][qGreen(s)], table[2][qBlue(s)],
                                        table[3][qAlpha(s)]));
        }
    }
    return out;
}

size_t ImageCache::DerivedHash::operator()(const DerivedKey& k) const {
    size_t h = k.id;
    const auto mix = [&h](int64_t v) {
        h ^= static_cast<size_t>(v) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    };
    for (int i = 0; i < 4; ++i) {
        mix(k.cx.mult[i]);
        mix(k.cx.add[i]);
        mix(k.pad[i]);
    }
    return h;
}

ImageCache::ImageCache(Lookup lookup) : ImageCache(std::move(lookup), Limits{}) {}

ImageCache::ImageCache(Lookup lookup, Limits limits)
    : lookup_(std::move(lookup)), limits_(limits) {}

void ImageCache::clear() {
    decoded_lru_.clear();
    decoded_index_.clear();
    decoded_bytes_ = 0;
    derived_lru_.clear();
    derived_index_.clear();
    derived_bytes_ = 0;
    failed_.clear();
}

const QImage* ImageCache::image(uint16_t id, const swf::ColorTransform& cx) {
    if (cx.identity()) return decoded(id);
    return derived({id, cx, {0, 0, 0, 0}});
}

const QImage* ImageCache::padded(uint16_t id, const swf::ColorTransform& cx, QMargins pad) {
    const DerivedKey key{id,
                         cx,
                         {std::max(pad.left(), 0), std::max(pad.top(), 0), std::max(pad.right(), 0),
                          std::max(pad.bottom(), 0)}};
    if (key.pad[0] == 0 && key.pad[1] == 0 && key.pad[2] == 0 && key.pad[3] == 0)
        return image(id, cx);
    return derived(key);
}

const QImage* ImageCache::decoded(uint16_t id) {
    if (id == swf::kNoBitmap) return nullptr;
    if (const auto it = decoded_index_.find(id); it != decoded_index_.end()) {
        decoded_lru_.splice(decoded_lru_.begin(), decoded_lru_, it->second);
        return &it->second->image;
    }
    if (failed_.contains(id)) return nullptr;
    // A bitmap not (yet) in the dictionary is asked for again next time.
    const swf::Bitmap* bitmap = lookup_ ? lookup_(id) : nullptr;
    if (!bitmap) return nullptr;
    QImage image = decode_bitmap_image(*bitmap);
    if (image.isNull()) {
        failed_.insert(id);
        return nullptr;
    }
    decoded_bytes_ += cost(image);
    decoded_lru_.push_front({id, std::move(image)});
    decoded_index_[id] = decoded_lru_.begin();
    while (decoded_bytes_ > limits_.max_decoded_bytes && decoded_lru_.size() > 1) {
        decoded_bytes_ -= cost(decoded_lru_.back().image);
        decoded_index_.erase(decoded_lru_.back().id);
        decoded_lru_.pop_back();
    }
    return &decoded_lru_.front().image;
}

const QImage* ImageCache::derived(const DerivedKey& key) {
    if (const auto it = derived_index_.find(key); it != derived_index_.end()) {
        derived_lru_.splice(derived_lru_.begin(), derived_lru_, it->second);
        return &it->second->image;
    }
    const QImage* base = decoded(key.id);
    if (!base) return nullptr;
    const QMargins pad(key.pad[0], key.pad[1], key.pad[2], key.pad[3]);
    const int64_t w = int64_t{base->width()} + pad.left() + pad.right();
    const int64_t h = int64_t{base->height()} + pad.top() + pad.bottom();
    if (w > INT_MAX || h > INT_MAX || w * h > limits_.max_padded_pixels) return nullptr;
    QImage image = pad.isNull() ? *base : extend_edges(*base, pad);
    image = transform_image(image, key.cx);
    if (image.isNull()) return nullptr;
    derived_bytes_ += cost(image);
    derived_lru_.push_front({key, std::move(image)});
    derived_index_[key] = derived_lru_.begin();
    while (derived_bytes_ > limits_.max_derived_bytes && derived_lru_.size() > 1) {
        derived_bytes_ -= cost(derived_lru_.back().image);
        derived_index_.erase(derived_lru_.back().key);
        derived_lru_.pop_back();
    }
    return &derived_lru_.front().image;
}

} // namespace zefa
