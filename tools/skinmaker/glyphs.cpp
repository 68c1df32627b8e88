#include "glyphs.h"

namespace skinmaker {

namespace {

// Squared digits from segments: a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle. Outer corners are cut so the figures read softer.
const char* const kSegments[10] = {"abcdef", "bc",     "abged", "abgcd",   "fgbc",
                                   "afgcd",  "afgedc", "abc",   "abcdefg", "abfgcd"};

bool has(const char* segs, char s) {
    for (const char* p = segs; *p; ++p)
        if (*p == s) return true;
    return false;
}

// w x h glyph with strokes of `t` pixels.
Glyph segment_digit(int digit, int w, int h, int t) {
    Glyph g(static_cast<size_t>(h), std::string(static_cast<size_t>(w), '.'));
    const char* s = kSegments[digit];
    const int mid = (h - t) / 2;
    auto ink = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                g[static_cast<size_t>(y)][static_cast<size_t>(x)] = '#';
    };
    if (has(s, 'a')) ink(0, 0, w, t);
    if (has(s, 'g')) ink(0, mid, w, mid + t);
    if (has(s, 'd')) ink(0, h - t, w, h);
    if (has(s, 'f')) ink(0, 0, t, mid + t);
    if (has(s, 'b')) ink(w - t, 0, w, mid + t);
    if (has(s, 'e')) ink(0, mid, t, h);
    if (has(s, 'c')) ink(w - t, mid, w, h);
    auto cut = [&](int x, int y) { g[static_cast<size_t>(y)][static_cast<size_t>(x)] = '.'; };
    cut(0, 0), cut(w - 1, 0), cut(0, h - 1), cut(w - 1, h - 1);
    // Ends of a lone stroke stay square; a middle bar joining one side only loses its corner.
    if (has(s, 'g') && !has(s, 'f') && !has(s, 'e')) cut(0, mid), cut(0, mid + t - 1);
    if (has(s, 'g') && !has(s, 'b') && !has(s, 'c')) cut(w - 1, mid), cut(w - 1, mid + t - 1);
    return g;
}

const Glyph kLargeOne = {"....##..", "...###..", "..####..", "....##..", "....##..",
                         "....##..", "....##..", "....##..", "....##..", "....##..",
                         "....##..", "....##..", "....##..", "....##.."};
const Glyph kSmallOne = {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", "..#.."};

const Glyph kLargeMarks[4] = {
    {"......##", "......##", ".....##.", ".....##.", "....##..", "....##..", "...##...", "...##...",
     "..##....", "..##....", ".##.....", ".##.....", "##......", "##......"},
    {"........", "........", "........", "...##...", "...##...", "........", "........", "........",
     "........", "...##...", "...##...", "........", "........", "........"},
    {"........", "........", "........", "...##...", "...##...", "........", "........", "........",
     "........", "...##...", "...##...", "........", "........", "........"},
    Glyph(14, "........"),
};
const Glyph kSmallMarks[4] = {
    {"....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#...."},
    {".....", ".....", "..#..", ".....", "..#..", ".....", "....."},
    {".....", ".....", "..#..", ".....", "..#..", ".....", "....."},
    Glyph(7, "....."),
};

} // namespace

Glyph large_glyph(int g) {
    if (g == 1) return kLargeOne;
    if (g < 10) return segment_digit(g, 8, 14, 2);
    return kLargeMarks[g - 10];
}

Glyph small_glyph(int g) {
    if (g == 1) return kSmallOne;
    if (g < 10) return segment_digit(g, 5, 7, 1);
    return kSmallMarks[g - 10];
}

Glyph letter(char c) {
    switch (c) {
    case 'Z':
        return {"######", "######", "...##.", "..##..", ".##...", "##....", "######", "######"};
    case 'E':
        return {"######", "######", "##....", "#####.", "#####.", "##....", "######", "######"};
    case 'F':
        return {"######", "######", "##....", "#####.", "#####.", "##....", "##....", "##...."};
    case 'A':
        return {".####.", "######", "##..##", "##..##", "######", "######", "##..##", "##..##"};
    default:
        return Glyph(8, "......");
    }
}

} // namespace skinmaker
