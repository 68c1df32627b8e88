#include "look.h"

#include <cmath>

#include "glyphs.h"

namespace skinmaker {

using namespace colour;

Shape erode(Shape s, double by) {
    return [s = std::move(s), by](double x, double y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (!s(x + dx * by, y + dy * by)) return false;
        return true;
    };
}

Shape shifted(Shape s, double dx, double dy) {
    return [s = std::move(s), dx, dy](double x, double y) { return s(x - dx, y - dy); };
}

void body(Canvas& c, const Shape& outline, Box b) {
    // Crisp: a pixel is the panel's when its centre is.
    for (int y = static_cast<int>(b.y); y < b.y + b.h; ++y)
        for (int x = static_cast<int>(b.x); x < b.x + b.w; ++x)
            if (outline(x + 0.5, y + 0.5)) c.set(x, y, kOutline);
    const Shape inner = erode(outline, 1.0);
    c.fill(inner, b, vertical(b.y, kBodyTop, b.y + b.h, kBodyBottom));
    const Shape top_edge = subtract(inner, shifted(inner, 0, 1));
    c.fill(top_edge, b, kBodyHighlight, 0.8);
}

void glass(Canvas& c, Box b, double r) {
    c.fill(rounded_rect({b.x - 1, b.y - 1, b.w + 2, b.h + 2}, r + 1),
           {b.x - 1, b.y - 1, b.w + 2, b.h + 2}, hex(0x4A5059),
           0.55); // the lower rim catches light
    c.fill(rounded_rect({b.x - 1, b.y - 1, b.w + 2, b.h + 1}, r + 1),
           {b.x - 1, b.y - 1, b.w + 2, b.h + 2}, hex(0x07080A));
    c.fill(rounded_rect(b, r), b, kGlass);
}

namespace {

struct Face {
    Rgb top, bottom, rim, highlight;
};

Face face_for(Layer layer) {
    if (layer == kPressed) return {hex(0x141619), hex(0x202328), hex(0x040506), hex(0x0A0B0D)};
    return {hex(0x4A5058), hex(0x30343A), hex(0x111316), hex(0x6A717C)};
}

void face(Canvas& c, const Shape& outer, Box b, Layer layer) {
    const Face f = face_for(layer);
    const Box wide{b.x - 1, b.y - 1, b.w + 2, b.h + 2};
    c.fill(outer, wide, f.rim);
    const Shape inner = erode(outer, 1.0);
    c.fill(inner, wide, vertical(b.y, f.top, b.y + b.h, f.bottom));
    // Raised faces catch light on their top edge; pressed ones are shadowed there.
    c.fill(subtract(inner, shifted(inner, 0, 1)), wide, f.highlight, layer == kPressed ? 1.0 : 0.7);
    if (layer == kLit) // a soft cyan wash from below
        c.fill(inner, wide, vertical(b.y, kAccentDeep, b.y + b.h, kAccent), 0.14);
    if (layer == kPressed) // sunk: a second shadow row under the top edge
        c.fill(subtract(shifted(inner, 0, 1), shifted(inner, 0, 2)), wide, f.highlight, 0.6);
}

Rgb icon_colour(Layer layer, Rgb accent) {
    return layer == kLit ? accent : layer == kPressed ? kIconPressed : kIcon;
}

} // namespace

void button(Canvas& c, Box b, double r, Icon icon, int size, Layer layer, Rgb accent) {
    face(c, rounded_rect(b, r), b, layer);
    const int ix = static_cast<int>(b.x + (b.w - size) / 2);
    const int iy = static_cast<int>(b.y + (b.h - size) / 2) + (layer == kPressed ? 1 : 0);
    draw_icon(c, icon, ix, iy, size, icon_colour(layer, accent));
    if (layer == kLit) { // an LED line under the icon
        const int lw = static_cast<int>(b.w / 3);
        c.fill(
            rounded_rect({b.x + (b.w - lw) / 2, b.y + b.h - 3, static_cast<double>(lw), 1.5}, 0.7),
            b, accent);
    }
}

void round_button(Canvas& c, double cx, double cy, double r, Icon icon, int size, Layer layer,
                  Rgb accent) {
    const Box b{cx - r, cy - r, 2 * r, 2 * r};
    face(c, circle(cx, cy, r), b, layer);
    const int ix = static_cast<int>(std::lround(cx - size / 2.0));
    const int iy = static_cast<int>(std::lround(cy - size / 2.0)) + (layer == kPressed ? 1 : 0);
    draw_icon(c, icon, ix, iy, size, icon_colour(layer, accent));
    if (layer == kLit) c.fill(arc(cx, cy, r - 3, r - 1.5, 235, 305), b, accent);
}

void groove(Canvas& c, Box b, int t, Layer layer) {
    const double y = std::floor(b.y + (b.h - t) / 2);
    const Box g{b.x, y, b.w, static_cast<double>(t)};
    c.fill(rounded_rect({g.x, g.y + 1, g.w, g.h}, t / 2.0), {g.x, g.y, g.w, g.h + 1}, hex(0x4A5059),
           0.5);
    c.fill(rounded_rect(g, t / 2.0), g, hex(0x0B0C0E));
    if (layer == kLit) {
        const Box in{g.x + 1, g.y + 1, g.w - 2, g.h - 2};
        c.fill(rounded_rect(in, (t - 2) / 2.0), in, [in](double x, double) {
            return mix(kAccentDeep, kAccent, (x - in.x) / std::max(1.0, in.w));
        });
        c.fill(rounded_rect({in.x, in.y, in.w, 1}, 0.5), in, hex(0xB8F0FF), 0.45);
    } else {
        c.fill(rounded_rect({g.x + 1, g.y + 1, g.w - 2, g.h - 2}, (t - 2) / 2.0), g, hex(0x16191D));
    }
}

void indicator(Canvas& c, Icon icon, int x, int y, int size, Layer layer, Rgb lit) {
    c.rect(x, y, size, size, kGlass);
    draw_icon(c, icon, x, y, size, layer == kLit ? lit : kGhost);
}

void level_steps(Canvas& c, int x, int y, int w, int h, int steps, bool growing_left, Layer layer,
                 Rgb lit) {
    for (int i = 0; i < steps; ++i) {
        // Step i counts from the centre outwards; taller and brighter further out.
        const int sx = growing_left ? x + (steps - 1 - i) * w : x + i * w;
        const int sh = h - (steps - 1 - i) * (h / (steps + 1));
        c.rect(sx, y, w, h, kGlass);
        const Rgb colour =
            layer == kLit ? mix(mix(lit, kGlass, 0.25), lit, i / (steps - 1.0)) : kGhost;
        c.rect(sx + 1, y + h - sh, w - 2, sh, colour);
    }
}

void title_area(Canvas& c, Box b, Layer layer) {
    if (layer == kLit)
        c.fill(rounded_rect(b, 0), b, vertical(b.y, hex(0xF4FBFF), b.y + b.h, hex(0x8EDCFF)));
    else
        c.rect(static_cast<int>(b.x), static_cast<int>(b.y), static_cast<int>(b.w),
               static_cast<int>(b.h), kGlass);
}

void wordmark(Canvas& c, int x, int y, Layer layer) {
    const char* text = "ZEFA";
    for (int i = 0; text[i]; ++i) {
        const Glyph g = letter(text[i]);
        for (size_t row = 0; row < g.size(); ++row)
            for (size_t col = 0; col < g[row].size(); ++col)
                if (g[row][col] == '#') {
                    const double t = static_cast<double>(row) / (g.size() - 1);
                    const Rgb ink = layer == kLit ? mix(hex(0xE9F9FF), kAccent, t)
                                                  : mix(hex(0x8B939E), hex(0x5E6570), t);
                    c.set(x + i * 8 + static_cast<int>(col), y + static_cast<int>(row), ink);
                }
    }
}

} // namespace skinmaker
