#include "icons.h"

#include <algorithm>
#include <cmath>

namespace skinmaker {

namespace {

struct Pen {
    Canvas& c;
    int x, y, s;
    Rgb colour;

    Box box() const { return {x - 1.0, y - 1.0, s + 2.0, s + 2.0}; }
    void shape(const Shape& sh) const { c.fill(sh, box(), colour); }
    // A bar on whole pixels, in the icon's own grid.
    void bar(int bx, int by, int bw, int bh) const { c.rect(x + bx, y + by, bw, bh, colour); }
    void tri(double x0, double y0, double x1, double y1, double x2, double y2) const {
        shape(polygon({{x + x0, y + y0}, {x + x1, y + y1}, {x + x2, y + y2}}));
    }
    void line(double x0, double y0, double x1, double y1, double r) const {
        shape(capsule(x + x0, y + y0, x + x1, y + y1, r));
    }
    void ring(double cx, double cy, double r_in, double r_out, double from, double to) const {
        shape(arc(x + cx, y + cy, r_in, r_out, from, to));
    }
    // An outline one pixel wide.
    void frame(int bx, int by, int bw, int bh) const {
        bar(bx, by, bw, 1), bar(bx, by + bh - 1, bw, 1);
        bar(bx, by, 1, bh), bar(bx + bw - 1, by, 1, bh);
    }
};

// Right-pointing triangle filling a w x h box at (bx, by); left when `left`.
void arrow(const Pen& p, double bx, double by, double w, double h, bool left) {
    if (left)
        p.tri(bx + w, by, bx + w, by + h, bx, by + h / 2);
    else
        p.tri(bx, by, bx, by + h, bx + w, by + h / 2);
}

void magnifier(const Pen& p, bool plus) {
    const double s = p.s, r = s * 0.36, cx = s * 0.42, cy = s * 0.42;
    p.ring(cx, cy, r - 1.2, r + 0.2, 0, 360);
    p.line(cx + r * 0.75, cy + r * 0.75, s - 1.2, s - 1.2, 1.0);
    const int m = static_cast<int>(std::lround(cx - 0.5)),
              q = static_cast<int>(std::lround(r * 0.55));
    p.bar(m - q + 1, m, 2 * q - 1, 1);
    if (plus) p.bar(m, m - q + 1, 1, 2 * q - 1);
}

} // namespace

void draw_icon(Canvas& c, Icon icon, int x, int y, int size, Rgb colour) {
    const Pen p{c, x, y, size, colour};
    const int s = size;
    const double d = size;
    switch (icon) {
    case Icon::Play:
        arrow(p, d * 0.2, d * 0.08, d * 0.72, d * 0.84, false);
        break;
    case Icon::Pause: {
        const int bw = std::max(2, static_cast<int>(std::lround(d * 0.28)));
        const int gap = std::max(2, s / 5);
        const int x0 = (s - 2 * bw - gap) / 2, m = s / 10;
        p.bar(x0, m, bw, s - 2 * m);
        p.bar(x0 + bw + gap, m, bw, s - 2 * m);
        break;
    }
    case Icon::Stop:
        p.shape(rounded_rect({x + d * 0.14, y + d * 0.14, d * 0.72, d * 0.72}, 1.2));
        break;
    case Icon::Previous:
        p.bar(s / 8, s / 8, 2, s - 2 * (s / 8));
        arrow(p, s / 8 + 2, d / 8, d * 0.72, d - 2 * (s / 8), true);
        break;
    case Icon::Next:
        p.bar(s - s / 8 - 2, s / 8, 2, s - 2 * (s / 8));
        arrow(p, d * 0.16, d / 8, d * 0.72, d - 2 * (s / 8), false);
        break;
    case Icon::Rewind:
        arrow(p, 0, d * 0.18, d * 0.5, d * 0.64, true);
        arrow(p, d * 0.5, d * 0.18, d * 0.5, d * 0.64, true);
        break;
    case Icon::FastForward:
        arrow(p, 0, d * 0.18, d * 0.5, d * 0.64, false);
        arrow(p, d * 0.5, d * 0.18, d * 0.5, d * 0.64, false);
        break;
    case Icon::Quit:
        p.line(d * 0.2, d * 0.2, d * 0.8, d * 0.8, 0.95);
        p.line(d * 0.8, d * 0.2, d * 0.2, d * 0.8, 0.95);
        break;
    case Icon::Minimise:
        p.bar(s / 5, s - s / 4 - 1, s - 2 * (s / 5), 2);
        break;
    case Icon::ScanLines:
        for (int i = 0; i < 4; ++i)
            p.bar(1, 1 + i * (s - 2) / 4 + (s - 2) / 8, s - 2, 1);
        break;
    case Icon::LineMask:
        p.frame(0, 1, s, s - 2);
        p.bar(1, 2, s - 2, s / 4 - 1);
        p.bar(1, s - 2 - (s / 4 - 1), s - 2, s / 4 - 1);
        break;
    case Icon::FullScreen: {
        const int k = s / 3;
        for (int cx : {0, s - k})
            for (int cy : {0, s - k}) {
                p.bar(cx, cy == 0 ? 0 : s - 2, k, 2);
                p.bar(cx == 0 ? 0 : s - 2, cy, 2, k);
            }
        break;
    }
    case Icon::Aspect: {
        // A wide frame with crop corners inside.
        const int h = s * 3 / 4, top = (s - h) / 2;
        p.frame(0, top, s, h);
        p.bar(2, top + 2, 3, 1), p.bar(2, top + 2, 1, 2);
        p.bar(s - 5, top + h - 3, 3, 1), p.bar(s - 3, top + h - 4, 1, 2);
        break;
    }
    case Icon::ZoomIn:
        magnifier(p, true);
        break;
    case Icon::ZoomOut:
        magnifier(p, false);
        break;
    case Icon::Playlist:
        for (int i = 0; i < 3; ++i) {
            const int row = s / 6 + i * (s / 3);
            p.bar(0, row, 2, 2);
            p.bar(3, row, s - 3, 2);
        }
        break;
    case Icon::Open:
        p.tri(d * 0.1, d * 0.58, d * 0.9, d * 0.58, d * 0.5, d * 0.1);
        p.bar(s / 10, s - s / 10 - 2, s - 2 * (s / 10), 2);
        break;
    case Icon::Settings: {
        const double cx = d / 2, cy = d / 2;
        p.ring(cx, cy, d * 0.16, d * 0.36, 0, 360);
        for (int i = 0; i < 8; ++i) {
            const double a = i * 3.14159265358979 / 4;
            p.line(cx + std::cos(a) * d * 0.3, cy + std::sin(a) * d * 0.3,
                   cx + std::cos(a) * d * 0.42, cy + std::sin(a) * d * 0.42, d * 0.08);
        }
        break;
    }
    case Icon::Repeat: {
        // A loop with the arrow at its upper right.
        p.ring(d * 0.5, d * 0.5, d * 0.28, d * 0.4, 60, 380);
        p.tri(d * 0.62, d * 0.02, d * 0.98, d * 0.22, d * 0.62, d * 0.42);
        break;
    }
    case Icon::Random:
        // Two paths that swap lanes, each ending in an arrowhead.
        for (const double lane : {0.26, 0.74}) {
            const double other = 1.0 - lane;
            p.line(d * 0.04, d * lane, d * 0.26, d * lane, 0.75);
            p.line(d * 0.26, d * lane, d * 0.58, d * other, 0.75);
            p.line(d * 0.58, d * other, d * 0.72, d * other, 0.75);
            p.tri(d * 0.66, d * (other - 0.2), d * 1.0, d * other, d * 0.66, d * (other + 0.2));
        }
        break;
    case Icon::Speaker:
        p.bar(0, s * 3 / 8, s / 4, s / 4 + 1);
        p.tri(d / 4 - 0.5, d * 3 / 8, d * 0.58, d * 0.08, d * 0.58, d * 0.92);
        p.tri(d / 4 - 0.5, d * 5 / 8 + 1, d * 0.58, d * 0.08, d * 0.58, d * 0.92);
        p.ring(d * 0.5, d * 0.5, d * 0.26, d * 0.34, -50, 50);
        p.ring(d * 0.5, d * 0.5, d * 0.42, d * 0.5, -50, 50);
        break;
    }
}

} // namespace skinmaker
