#include "skin/panel_outline.h"

#include <algorithm>

namespace zefa {

Region panel_outline(const Bitmap& skin, int32_t w0, int32_t h0) {
    constexpr uint32_t kWhite = 0xFFFFFF;
    Region region;
    const int32_t rows = std::min(h0, skin.height());
    const int32_t cols = std::min(w0, skin.width());
    for (int32_t y = 0; y < rows; ++y) {
        const uint32_t* row = skin.pixels().data() + static_cast<size_t>(y) * skin.width();
        int32_t x = 0;
        while (x < cols) {
            while (x < cols && (row[x] & kWhite) == kWhite)
                ++x;
            const int32_t start = x;
            while (x < cols && (row[x] & kWhite) != kWhite)
                ++x;
            if (x > start) region.rects.push_back({start, y, x - start, 1});
        }
    }
    return region;
}

} // namespace zefa
