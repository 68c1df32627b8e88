#pragma once

#include <cstdint>
#include <vector>

namespace zefa {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int32_t w = 0;
    int32_t h = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A window shape: the union of its rectangles (rows of one pixel in practice).
// Empty means the window shows nothing and takes no input.
struct Region {
    std::vector<Rect> rects;
    bool empty() const { return rects.empty(); }
    friend bool operator==(const Region&, const Region&) = default;
};

// Inclusive point-in-rectangle test: a rectangle of width w covers w + 1 columns.
// The sums are taken in 64 bits: skin rectangles are outside input.
inline int Bt_Rect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t px, int32_t py) {
    return (x <= px && px <= int64_t{x} + w && y <= py && py <= int64_t{y} + h) ? 1 : 0;
}

} // namespace zefa
