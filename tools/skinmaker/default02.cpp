// Default02: two separate parts. A round transport dial whose play button is an island inside
// a ring-shaped gap, and a bar with the display, the sliders and the remaining buttons.

#include <cmath>

#include "skin_writer.h"

namespace skinmaker {

namespace {

constexpr int kW = 360, kH = 112;
constexpr double kDialX = 56, kDialY = 56, kDialR = 54, kGapIn = 20, kGapOut = 23.5;
// Faces stay inside their hit rectangles, whose pictures swap whole when lit or pressed.
constexpr double kRingR = 40, kRingButton = 9.5, kPlayR = 18;

Shape outline() {
    const Shape dial =
        subtract(circle(kDialX, kDialY, kDialR),
                 subtract(circle(kDialX, kDialY, kGapOut), circle(kDialX, kDialY, kGapIn)));
    return unite({dial, rounded_rect({118, 6, 238, 100}, 14)});
}

struct RingButton {
    size_t k;
    double angle; // degrees, counter-clockwise from the right
    Icon icon;
};
const RingButton kRing[] = {
    {25, 90, Icon::Pause},       {17, 45, Icon::Random},  {5, 0, Icon::Next},
    {2, -45, Icon::FastForward}, {14, -90, Icon::Stop},   {3, -135, Icon::Rewind},
    {4, 180, Icon::Previous},    {16, 135, Icon::Repeat},
};

double ring_x(double angle) {
    return kDialX + kRingR * std::cos(angle * 3.14159265358979 / 180);
}
double ring_y(double angle) {
    return kDialY - kRingR * std::sin(angle * 3.14159265358979 / 180);
}

void paint(const std::array<Element, 50>& el, Canvas& c, Layer layer) {
    body(c, outline(), {0, 0, kW, kH});
    // The dial's face: a darker ring track under the buttons.
    c.fill(subtract(circle(kDialX, kDialY, kRingR + 13), circle(kDialX, kDialY, kRingR - 13)),
           {0, 0, 112, 112}, hex(0x1A1C20), 0.55);
    c.fill(subtract(circle(kDialX, kDialY, kGapOut + 1), circle(kDialX, kDialY, kGapOut)),
           {0, 0, 112, 112}, colour::kOutline);
    for (const RingButton& b : kRing)
        round_button(c, el[b.k].x + 10, el[b.k].y + 10, kRingButton, b.icon, 10, layer);
    c.fill(circle(kDialX, kDialY, kGapIn), {0, 0, 112, 112}, colour::kOutline);
    round_button(c, kDialX, kDialY, kPlayR, Icon::Play, 16, layer);

    glass(c, {126, 14, 190, 48}, 5);
    wordmark(c, el[19].x + 1, el[19].y + 1, layer == kRest ? kRest : kLit);
    lamps_display_and_sliders(c, el, layer);

    button(c, box(el[18]), 5, Icon::Minimise, 10, layer);
    button(c, box(el[6]), 5, Icon::Quit, 10, layer, colour::kRed);
    const std::pair<size_t, Icon> row[] = {
        {12, Icon::Playlist}, {13, Icon::Open},     {15, Icon::Settings},
        {7, Icon::ScanLines}, {36, Icon::LineMask}, {8, Icon::FullScreen},
        {9, Icon::Aspect},    {10, Icon::ZoomIn},   {11, Icon::ZoomOut}};
    for (const auto& [k, icon] : row)
        button(c, box(el[k]), 4, icon, 10, layer);
}

} // namespace

Design default02() {
    Design d;
    d.name = "Default02";
    auto& el = d.el;
    el[0] = {0, 0, kW, kH};
    el[1] = {38, 38, 36, 36};
    for (const RingButton& b : kRing)
        el[b.k] = {static_cast<int>(std::lround(ring_x(b.angle))) - 10,
                   static_cast<int>(std::lround(ring_y(b.angle))) - 10, 20, 20};

    el[19] = {131, 17, 32, 10};
    el[30] = {170, 18, 8, 8};
    el[29] = {181, 18, 8, 8};
    el[31] = {192, 18, 8, 8};
    el[33] = {226, 18, 6, 8};
    el[32] = {234, 18, 6, 8};
    el[26] = {270, 17, 6, 9};
    el[35] = {132, 29, 178, 15};
    el[27] = {131, 45, 10, 16};
    el[28] = {222, 51, 6, 9};

    el[18] = {322, 14, 26, 22};
    el[6] = {322, 40, 26, 22};
    el[20] = {126, 66, 130, 10};
    el[21] = {278, 66, 70, 10};
    int x = 126;
    for (size_t k : {12, 13, 15, 7, 36, 8, 9, 10, 11}) {
        el[k] = {x, 80, 21, 18};
        x += 24 + (k == 15 || k == 36 ? 4 : 0);
    }

    el[34] = {118, kH, 238, 110};
    place_flash_bar(d);
    d.outline = outline();
    d.paint = [el = d.el](Canvas& c, Layer layer) { paint(el, c, layer); };
    return d;
}

} // namespace skinmaker
