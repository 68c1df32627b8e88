// Default01, the face of the player: a graphite panel with two tabs (the wordmark on the left,
// minimise and quit on the right), a black display, the seek bar, the transport row with the
// volume, and a row of smaller buttons for the list, the picture and the window.

#include "skin_writer.h"

namespace skinmaker {

namespace {

constexpr int kW = 320, kH = 130, kBodyTop = 10;

// A tab rising from the body's top edge, with rounded inner corners where it joins.
Shape tab(double x, double w) {
    const double r = 4;
    const Shape fillets = unite(
        {subtract(rounded_rect({x - r, kBodyTop - r, r, r}, 0), circle(x - r, kBodyTop - r, r)),
         subtract(rounded_rect({x + w, kBodyTop - r, r, r}, 0),
                  circle(x + w + r, kBodyTop - r, r))});
    return unite({rounded_rect({x, 0, w, kBodyTop + 8.0}, 6), fillets});
}

Shape outline() {
    return unite({rounded_rect({0, kBodyTop, kW, kH - kBodyTop}, 12), tab(12, 64), tab(244, 64)});
}

void paint(const std::array<Element, 50>& el, Canvas& c, Layer layer) {
    body(c, outline(), {0, 0, kW, kH});
    wordmark(c, el[19].x + 1, el[19].y + 1, layer == kRest ? kRest : kLit);

    // The display: status and seek level, time and title, length and entry.
    glass(c, {10, 18, 300, 49}, 5);
    lamps_display_and_sliders(c, el, layer);

    struct Btn {
        size_t k;
        Icon icon;
        int size;
    };
    const Btn buttons[] = {
        {4, Icon::Previous, 12},  {3, Icon::Rewind, 12},    {1, Icon::Play, 14},
        {25, Icon::Pause, 12},    {14, Icon::Stop, 11},     {2, Icon::FastForward, 12},
        {5, Icon::Next, 12},      {16, Icon::Repeat, 10},   {17, Icon::Random, 10},
        {12, Icon::Playlist, 10}, {13, Icon::Open, 10},     {15, Icon::Settings, 10},
        {7, Icon::ScanLines, 10}, {36, Icon::LineMask, 10}, {8, Icon::FullScreen, 10},
        {9, Icon::Aspect, 10},    {10, Icon::ZoomIn, 10},   {11, Icon::ZoomOut, 10},
        {18, Icon::Minimise, 8},  {6, Icon::Quit, 8},
    };
    for (const Btn& b : buttons)
        button(c, box(el[b.k]), b.size >= 12 ? 5 : 4, b.icon, b.size, layer,
               b.k == 6 ? colour::kRed : colour::kAccent);
}

} // namespace

Design default01() {
    Design d;
    d.name = "Default01";
    auto& el = d.el;
    el[0] = {0, 0, kW, kH};
    el[19] = {28, 4, 32, 10}; // the wordmark, lit always
    el[18] = {250, 3, 24, 14};
    el[6] = {278, 3, 24, 14};

    el[30] = {16, 22, 8, 8};
    el[29] = {27, 22, 8, 8};
    el[31] = {38, 22, 8, 8};
    el[33] = {199, 22, 6, 8}; // reverse level ends where forward begins
    el[32] = {207, 22, 6, 8};
    el[27] = {14, 33, 10, 16};   // cells of the large figures: h:mm:ss
    el[35] = {106, 34, 198, 15}; // title
    el[28] = {22, 54, 7, 9};     // length, small figures
    el[26] = {255, 54, 7, 9};    // entry and count

    el[20] = {12, 70, 296, 10};
    el[21] = {236, 89, 72, 14};

    const int row1 = 86, h1 = 22;
    el[4] = {12, row1, 26, h1};
    el[3] = {40, row1, 26, h1};
    el[1] = {68, row1, 32, h1};
    el[25] = {102, row1, 26, h1};
    el[14] = {130, row1, 26, h1};
    el[2] = {158, row1, 26, h1};
    el[5] = {186, row1, 26, h1};

    int x = 13;
    const int row2 = 111, w2 = 23, h2 = 16;
    for (size_t k : {16, 17, 12, 13, 15}) {
        el[k] = {x, row2, w2, h2};
        x += w2 + 3;
    }
    x += 5;
    for (size_t k : {7, 36}) {
        el[k] = {x, row2, w2, h2};
        x += w2 + 3;
    }
    x += 5;
    for (size_t k : {8, 9, 10, 11}) {
        el[k] = {x, row2, w2, h2};
        x += w2 + 3;
    }

    el[34] = {10, kH, 300, 110}; // the playlist window hangs below
    place_flash_bar(d);
    d.outline = outline();
    d.paint = [el = d.el](Canvas& c, Layer layer) { paint(el, c, layer); };
    return d;
}

} // namespace skinmaker
