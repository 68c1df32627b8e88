#include "view/picture_size.h"

#include <algorithm>
#include <array>

namespace zefa {

namespace {

constexpr std::array<double, 7> kNormalZoom{0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0};
constexpr std::array<double, 5> kFullZoom{0.5, 0.75, 1.0, 1.5, 2.0};

int32_t trunc(double v) {
    // Saturate instead of overflowing on absurd sizes from a hand-edited file.
    return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

// Shrinks (w, h) to fit the screen keeping the aspect, then clips both to the screen.
void fit(double& w, double& h, Size screen) {
    const double r = std::min(screen.w / w, screen.h / h);
    w *= r;
    h *= r;
    w = std::min(w, static_cast<double>(screen.w));
    h = std::min(h, static_cast<double>(screen.h));
}

} // namespace

int32_t aspect_dimension(int32_t mode, Size medium, int32_t which) {
    double w = 0, h = 0;
    switch (mode) {
    case 0:
        w = medium.w, h = medium.h;
        break;
    case 1: {
        const double q = medium.h / 3.0;
        w = q * 4, h = q * 3;
        break;
    }
    case 2: {
        const double q = medium.h / 9.0;
        w = q * 16, h = q * 9;
        break;
    }
    case 3:
        w = 320, h = 240;
        break;
    case 4:
        w = 352, h = 240;
        break;
    case 5:
        w = 640, h = 480;
        break;
    case 6:
        w = 704, h = 480;
        break;
    case 7:
        w = 720, h = 480;
        break;
    default:
        break;
    }
    return trunc(which == 0 ? w : h);
}

Size windowed_picture(const PictureInputs& in) {
    if (in.medium.w <= 0 || in.medium.h <= 0) return {0, 0};
    // Out-of-range zooms from a hand-edited file play at the nearest table entry.
    const double f = kNormalZoom[static_cast<size_t>(std::clamp(in.zoom, 0, 6))];
    int32_t w = trunc(in.aspect.w * f), h = trunc(in.aspect.h * f);
    if (static_cast<int64_t>(h) + in.panel_h >= in.screen.h) h = in.screen.h - in.panel_h;
    if (w >= in.screen.w) w = in.screen.w;
    return {w, h};
}

Size fullscreen_picture(const PictureInputs& in) {
    if (in.medium.w <= 0 || in.medium.h <= 0) return {0, 0};
    const double aw = in.aspect.w, ah = in.aspect.h;
    // An aspect mode that yields no size (a hand-edited Aspect) has nothing to scale.
    if (aw <= 0 || ah <= 0) return {0, 0};
    const double sw = in.screen.w, sh = in.screen.h;
    const int32_t zoom = std::clamp(in.zoom, 0, 8);
    double w = aw, h = ah;
    if (zoom <= 5) {
        int32_t n = 0;
        if (zoom == 5) {
            for (int32_t k = 1; k <= 10; ++k)
                if (k * aw <= sw && k * ah <= sh) n = k;
            w = aw * std::max(n, 1);
            h = ah * std::max(n, 1);
        } else {
            w = aw * kFullZoom[static_cast<size_t>(zoom)];
            h = ah * kFullZoom[static_cast<size_t>(zoom)];
        }
        if ((zoom < 5 || n == 0) && (w > sw || h > sh)) fit(w, h, in.screen);
    } else if (zoom == 6) {
        fit(w, h, in.screen);
    } else if (zoom == 7) {
        const double rx = sw / w, ry = sh / h;
        if (rx > ry) {
            h *= rx;
            w = sw;
        } else {
            w *= ry;
            h = sh;
        }
    } else {
        w = sw, h = sh;
    }
    return {trunc(w), trunc(h)};
}

} // namespace zefa
