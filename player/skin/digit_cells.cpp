#include "skin/digit_cells.h"

namespace zefa {

std::vector<int64_t> entry_cells(int64_t n, int64_t c) {
    return {n / 100, n % 100 / 10, n % 10, kGlyphEntrySeparator, c / 100, c % 100 / 10, c % 10};
}

std::vector<int64_t> time_cells(int64_t t) {
    return {t / 3600000,   kGlyphHours,       t % 3600000 / 600000, t % 600000 / 60000,
            kGlyphMinutes, t % 60000 / 10000, t % 10000 / 1000,     kGlyphSeconds};
}

std::vector<int64_t> frame_cells(int64_t f) {
    std::vector<int64_t> cells{f / 10000000};
    for (int64_t p = 10000000; p > 1; p /= 10)
        cells.push_back(f % p / (p / 10));
    return cells;
}

} // namespace zefa
