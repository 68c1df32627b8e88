#pragma once

// The movie's bitmaps as QImages for bitmap fills: each decoded once, and copies of them through
// colour transforms or with their edges extended, all kept in least-recently-used caches bounded
// by bytes.

#include <QImage>
#include <QMargins>
#include <cstdint>
#include <functional>
#include <list>
#include <unordered_map>
#include <unordered_set>

#include "swf/swf_bitmap.h"
#include "swf/swf_records.h"

namespace zefa {

class ImageCache {
  public:
    using Lookup = std::function<const swf::Bitmap*(uint16_t)>;

    struct Limits {
        size_t max_decoded_bytes = size_t{256} << 20;     // decoded bitmaps
        size_t max_derived_bytes = size_t{64} << 20;      // transformed or edge-extended copies
        int64_t max_padded_pixels = int64_t{4096} * 4096; // one edge-extended copy
    };

    explicit ImageCache(Lookup lookup);
    ImageCache(Lookup lookup, Limits limits);

    // The bitmap as Format_ARGB32_Premultiplied through `cx`, or null when it is missing or
    // cannot be decoded. The pointer stays valid until the next call or clear().
    const QImage* image(uint16_t id, const swf::ColorTransform& cx);

    // The same with its edge pixels repeated `pad` pixels outwards on each side (a clipped bitmap
    // fill drawn beyond the bitmap). Null also when the copy would exceed max_padded_pixels.
    const QImage* padded(uint16_t id, const swf::ColorTransform& cx, QMargins pad);

    void clear();

    size_t decoded_bytes() const { return decoded_bytes_; }
    size_t derived_bytes() const { return derived_bytes_; }

  private:
    struct DerivedKey {
        uint16_t id = 0;
        swf::ColorTransform cx;
        int pad[4] = {0, 0, 0, 0};
        bool operator==(const DerivedKey&) const = default;
    };
    struct DerivedHash {
        size_t operator()(const DerivedKey& k) const;
    };
    struct Decoded {
        uint16_t id;
        QImage image;
    };
    struct Derived {
        DerivedKey key;
        QImage image;
    };

    const QImage* decoded(uint16_t id);
    const QImage* derived(const DerivedKey& key);

    Lookup lookup_;
    Limits limits_;
    std::list<Decoded> decoded_lru_; // most recently used first
    std::unordered_map<uint16_t, std::list<Decoded>::iterator> decoded_index_;
    size_t decoded_bytes_ = 0;
    std::list<Derived> derived_lru_;
    std::unordered_map<DerivedKey, std::list<Derived>::iterator, DerivedHash> derived_index_;
    size_t derived_bytes_ = 0;
    std::unordered_set<uint16_t> failed_; // not decodable: not tried again until clear()
};

// Decodes a bitmap into Format_ARGB32_Premultiplied; null when it is refused.
QImage decode_bitmap_image(const swf::Bitmap& bitmap);

// `image` (premultiplied) with `cx` applied to every pixel's straight colour.
QImage transform_image(const QImage& image, const swf::ColorTransform& cx);

} // namespace zefa
