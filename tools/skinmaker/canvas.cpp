#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace skinmaker {

namespace {

constexpr int kSamples = 4; // per axis
constexpr double kPi = 3.14159265358979323846;

uint8_t to_byte(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

void put_u16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8 & 0xFF));
}
void put_u32(std::string& s, uint32_t v) {
    put_u16(s, v & 0xFFFF);
    put_u16(s, v >> 16);
}

} // namespace

Rgb hex(uint32_t rgb) {
    return {static_cast<double>(rgb >> 16 & 0xFF), static_cast<double>(rgb >> 8 & 0xFF),
            static_cast<double>(rgb & 0xFF)};
}

Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Shape rounded_rect(Box b, double r) {
    return [b, r](double x, double y) {
        if (x < b.x || y < b.y || x > b.x + b.w || y > b.y + b.h) return false;
        const double cx = std::clamp(x, b.x + r, b.x + b.w - r);
        const double cy = std::clamp(y, b.y + r, b.y + b.h - r);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    };
}

Shape circle(double cx, double cy, double radius) {
    return [=](double x, double y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

Shape polygon(std::vector<std::pair<double, double>> pts) {
    return [pts = std::move(pts)](double x, double y) {
        bool in = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
}

Shape capsule(double x0, double y0, double x1, double y1, double radius) {
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= radius * radius;
    };
}

Shape arc(double cx, double cy, double r_in, double r_out, double from_deg, double to_deg) {
    return [=](double x, double y) {
        const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d2 < r_in * r_in || d2 > r_out * r_out) return false;
        double a = std::atan2(cy - y, x - cx) * 180 / kPi;
        if (a < from_deg) a += 360;
        return a >= from_deg && a <= to_deg;
    };
}

Shape unite(std::vector<Shape> shapes) {
    return [shapes = std::move(shapes)](double x, double y) {
        for (const Shape& s : shapes)
            if (s(x, y)) return true;
        return false;
    };
}

Shape subtract(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Paint solid(Rgb c) {
    return [c](double, double) { return c; };
}

Paint vertical(double y0, Rgb top, double y1, Rgb bottom) {
    return [=](double, double y) {
        return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0));
    };
}

Canvas::Canvas(int width, int height, Rgb fill)
    : w_(width), h_(height), px_(static_cast<size_t>(width) * height, fill) {}

Rgb Canvas::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return {};
    return px_[static_cast<size_t>(y) * w_ + x];
}

void Canvas::set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    px_[static_cast<size_t>(y) * w_ + x] = c;
}

void Canvas::fill(const Shape& s, Box b, const Paint& p, double opacity) {
    const int x0 = std::max(0, static_cast<int>(std::floor(b.x)));
    const int y0 = std::max(0, static_cast<int>(std::floor(b.y)));
    const int x1 = std::min(w_, static_cast<int>(std::ceil(b.x + b.w)));
    const int y1 = std::min(h_, static_cast<int>(std::ceil(b.y + b.h)));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int hits = 0;
            for (int j = 0; j < kSamples; ++j)
                for (int i = 0; i < kSamples; ++i)
                    hits += s(x + (i + 0.5) / kSamples, y + (j + 0.5) / kSamples) ? 1 : 0;
            if (hits == 0) continue;
            const double cover = opacity * hits / (kSamples * kSamples);
            set(x, y, mix(get(x, y), p(x + 0.5, y + 0.5), cover));
        }
}

void Canvas::rect(int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            set(i, j, c);
}

void Canvas::paste(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            set(dx + i, dy + j, src.get(sx + i, sy + j));
}

void Canvas::keep_off_white(int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            const Rgb c = get(i, j);
            if (to_byte(c.r) == 255 && to_byte(c.g) == 255 && to_byte(c.b) == 255)
                set(i, j, {254, 254, 254});
        }
}

std::string Canvas::bmp() const {
    const uint32_t stride = (static_cast<uint32_t>(w_) * 3 + 3) / 4 * 4;
    const uint32_t data = stride * static_cast<uint32_t>(h_);
    std::string s = "BM";
    put_u32(s, 54 + data);
    put_u32(s, 0);
    put_u32(s, 54);
    put_u32(s, 40);
    put_u32(s, static_cast<uint32_t>(w_));
    put_u32(s, static_cast<uint32_t>(h_));
    put_u16(s, 1);
    put_u16(s, 24);
    put_u32(s, 0);
    put_u32(s, data);
    put_u32(s, 2835);
    put_u32(s, 2835);
    put_u32(s, 0);
    put_u32(s, 0);
    for (int y = h_ - 1; y >= 0; --y) {
        for (int x = 0; x < w_; ++x) {
            const Rgb c = get(x, y);
            s.push_back(static_cast<char>(to_byte(c.b)));
            s.push_back(static_cast<char>(to_byte(c.g)));
            s.push_back(static_cast<char>(to_byte(c.r)));
        }
        s.append(stride - static_cast<uint32_t>(w_) * 3, '\0');
    }
    return s;
}

} // namespace skinmaker
