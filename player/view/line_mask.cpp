#include "view/line_mask.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace zefa {

namespace {

// Adds the row's spans, growing the rectangles of the row above when they match.
class RowRegion {
  public:
    void add_row(int32_t y, std::vector<std::pair<int32_t, int32_t>> spans) {
        if (spans == last_ && y == last_y_ + 1 && !last_.empty()) {
            for (std::size_t i = 0; i < spans.size(); ++i)
                region_.rects[region_.rects.size() - spans.size() + i].h += 1;
        } else {
            for (const auto& [x0, x1] : spans)
                region_.rects.push_back({x0, y, x1 - x0, 1});
        }
        last_ = std::move(spans);
        last_y_ = y;
    }
    Region take() { return std::move(region_); }

  private:
    Region region_;
    std::vector<std::pair<int32_t, int32_t>> last_;
    int32_t last_y_ = -2;
};

} // namespace

Region line_mask(const LineMaskInputs& in) {
    const int32_t pw = in.picture.w, ph = in.picture.h;
    auto width_part = [&](int32_t percent) {
        return in.masks ? static_cast<int32_t>(pw / 100.0 * percent) : 0;
    };
    const int32_t top = width_part(in.up), bottom = width_part(in.down);
    const int32_t left = width_part(in.left), right = width_part(in.right);
    const int32_t k = in.source_h > 0 ? ph / in.source_h : 0;
    const int32_t half = k / 2;

    RowRegion out;
    for (int32_t i = 0; i < ph; ++i) {
        const bool in_band = top <= i && i <= ph - bottom;
        const int32_t phase = k == 0 ? 0 : i % k;
        const bool scan = in.scan_lines && half != 0 && phase >= half;
        std::vector<std::pair<int32_t, int32_t>> spans;
        if (in.black_region) {
            if (!in_band || scan) {
                spans.emplace_back(0, pw);
            } else {
                if (left > 0) spans.emplace_back(0, left);
                if (right > 0) spans.emplace_back(pw - right, pw);
            }
        } else if (in_band && !scan && pw - right > left) {
            spans.emplace_back(left, pw - right);
        }
        // Empty spans (masks wider than the picture) add nothing.
        std::erase_if(spans, [](const auto& s) { return s.second <= s.first; });
        out.add_row(i, std::move(spans));
    }
    return out.take();
}

} // namespace zefa
