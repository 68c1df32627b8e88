#pragma once

// Paints shapes with QPainter: each shape's layers turned into QPainterPaths once (cached by a key
// the caller chooses), then filled and stroked in the shape's own twips under the painter's world
// transform.

#include <QPainter>
#include <QPainterPath>
#include <cstdint>
#include <list>
#include <optional>
#include <unordered_map>
#include <vector>

#include "swf/swf_image_cache.h"
#include "swf/swf_shape.h"

namespace zefa {

struct PaintOptions {
    bool antialias = true;
    bool smooth_bitmaps = true; // bitmap fills that ask for smoothing get it
};

class ShapePainter {
  public:
    using PaintOptions = zefa::PaintOptions;

    struct Limits {
        size_t max_shapes = 4096;        // cached shapes
        size_t max_elements = 2'000'000; // path elements over all cached shapes
    };

    ShapePainter();
    explicit ShapePainter(Limits limits);

    // Paints `shape`; the painter's world transform maps its twips to the device. `key` names the
    // shape in the cache (0: built for this call only, e.g. a morph at some ratio). With `solid`
    // every fill is that colour (glyphs). The painter's state is left as it was.
    void paint(QPainter& p, const swf::Shape& shape, uint64_t key, const swf::ColorTransform& cx,
               ImageCache& images, const PaintOptions& o,
               const std::optional<swf::Rgba>& solid = std::nullopt);

    // The area the shape's fills cover (strokes not counted), for masks.
    QPainterPath coverage(const swf::Shape& shape, uint64_t key);

    void clear();
    size_t cached_shapes() const { return lru_.size(); }

  private:
    struct Entry {
        uint64_t key = 0;
        std::vector<QPainterPath> paths; // one per layer
        std::optional<QPainterPath> coverage;
        size_t elements = 0;
    };

    Entry& entry(const swf::Shape& shape, uint64_t key, Entry& transient);

    Limits limits_;
    std::list<Entry> lru_; // most recently used first
    std::unordered_map<uint64_t, std::list<Entry>::iterator> index_;
    size_t elements_ = 0;
};

} // namespace zefa
