#pragma once

// A picture to draw skins on: 8-bit RGB, shapes filled with 4 x 4 samples per pixel so edges
// are smooth while straight edges on pixel boundaries stay crisp.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace skinmaker {

struct Rgb {
    double r = 0, g = 0, b = 0; // 0..255
};
Rgb hex(uint32_t rgb);
Rgb mix(Rgb a, Rgb b, double t); // a at t = 0, b at t = 1

struct Box {
    double x = 0, y = 0, w = 0, h = 0;
};

// A shape answers whether a point lies inside it.
using Shape = std::function<bool(double x, double y)>;
using Paint = std::function<Rgb(double x, double y)>;

Shape rounded_rect(Box b, double radius);
Shape circle(double cx, double cy, double radius);
Shape polygon(std::vector<std::pair<double, double>> points);
Shape capsule(double x0, double y0, double x1, double y1, double radius); // a thick line
// The part of a ring between two angles (degrees, counter-clockwise from +x, y up).
Shape arc(double cx, double cy, double r_in, double r_out, double from_deg, double to_deg);
Shape unite(std::vector<Shape> shapes);
Shape subtract(Shape a, Shape b);

Paint solid(Rgb c);
Paint vertical(double y0, Rgb top, double y1, Rgb bottom);

class Canvas {
  public:
    Canvas(int width, int height, Rgb fill = {});
    int width() const { return w_; }
    int height() const { return h_; }

    Rgb get(int x, int y) const;
    void set(int x, int y, Rgb c);
    // Covers the pixels of the box the shape touches, blending by covered area and opacity.
    void fill(const Shape& s, Box bounds, const Paint& p, double opacity = 1.0);
    void fill(const Shape& s, Box bounds, Rgb c, double opacity = 1.0) {
        fill(s, bounds, solid(c), opacity);
    }
    void rect(int x, int y, int w, int h, Rgb c); // crisp
    // Copies another canvas's rectangle here.
    void paste(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy);

    // 24-bit BMP, bottom-up, with every pixel rounded to 8 bits.
    std::string bmp() const;
    // Exact white is the outside of a panel; colours that round to it are nudged inside.
    void keep_off_white(int x, int y, int w, int h);

  private:
    int w_, h_;
    std::vector<Rgb> px_;
};

} // namespace skinmaker
