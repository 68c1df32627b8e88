#include "skin_writer.h"

#include <filesystem>
#include <fstream>

#include "glyphs.h"

namespace skinmaker {

namespace {

// Glyph g of a display's font into its cell: black glass, the figure lit from top to bottom.
void draw_font(Canvas& c, int row, const Element& cell, bool large, Rgb figure) {
    for (int g = 0; g < kGlyphCount; ++g) {
        const Glyph glyph = large ? large_glyph(g) : small_glyph(g);
        const int gw = static_cast<int>(glyph[0].size()), gh = static_cast<int>(glyph.size());
        const int ox = g * cell.w + (cell.w - gw) / 2, oy = row + (cell.h - gh) / 2;
        c.rect(g * cell.w, row, cell.w, cell.h, colour::kGlass);
        for (int y = 0; y < gh; ++y)
            for (int x = 0; x < gw; ++x)
                if (glyph[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#')
                    c.set(ox + x, oy + y,
                          mix(figure, mix(figure, colour::kAccent, 0.55),
                              static_cast<double>(y) / (gh - 1)));
    }
}

// The three pieces of the bar shown above a Flash movie, in the unused layer 3: a rounded
// left end, a middle that can be stretched or tiled sideways, and a rounded right end.
void draw_flash_bar(Canvas& c, const Design& d) {
    const Element& left = d.el[37];
    const Element& right = d.el[39];
    const Box all{static_cast<double>(left.x), static_cast<double>(left.y),
                  static_cast<double>(right.x + right.w - left.x), static_cast<double>(left.h)};
    body(c, rounded_rect(all, 5), all);
}

} // namespace

void place_flash_bar(Design& d) {
    const int row = 3 * d.el[0].h;
    d.el[37] = {0, row, 10, 16};
    d.el[38] = {10, row, 40, 16};
    d.el[39] = {50, row, 10, 16};
}

void lamps_display_and_sliders(Canvas& c, const std::array<Element, 50>& el, Layer layer) {
    indicator(c, Icon::Play, el[30].x, el[30].y, 8, layer, colour::kAccent);
    indicator(c, Icon::Pause, el[29].x, el[29].y, 8, layer, colour::kAccent);
    indicator(c, Icon::Rewind, el[31].x, el[31].y, 8, layer, colour::kAmber);
    // Reverse steps end where element 33 ends; forward steps start at element 32.
    level_steps(c, el[33].x - 4 * el[33].w, el[33].y, el[33].w, el[33].h, 5, true, layer,
                colour::kAmber);
    level_steps(c, el[32].x, el[32].y, el[32].w, el[32].h, 5, false, layer, colour::kAccent);
    title_area(c, box(el[35]), layer);
    // A slash before the length, outside the display's cells so no redraw covers it.
    for (int i = 0; i < 7; ++i)
        c.set(el[28].x - 6 + (6 - i) * 5 / 7, el[28].y + 1 + i, hex(0x3E6678));

    const Layer bars = layer == kLit ? kLit : kRest; // sliders have no pressed picture
    groove(c, box(el[20]), 5, bars);
    draw_icon(c, Icon::Speaker, el[21].x - 16, el[21].y + (el[21].h - 12) / 2, 12, colour::kIcon);
    groove(c, box(el[21]), 5, bars);
}

Canvas render(const Design& d) {
    const int w0 = d.el[0].w, h0 = d.el[0].h;
    const int fonts = d.el[26].h + d.el[27].h + d.el[28].h;
    Canvas out(w0, 4 * h0 + fonts, hex(0xFFFFFF));
    for (Layer layer : {kRest, kLit, kPressed}) {
        Canvas face(w0, h0, hex(0xFFFFFF));
        d.paint(face, layer);
        // Soft edges drawn over the background must not leave pale pixels outside the shape.
        for (int y = 0; y < h0; ++y)
            for (int x = 0; x < w0; ++x)
                if (!d.outline(x + 0.5, y + 0.5)) face.set(x, y, hex(0xFFFFFF));
        out.paste(face, 0, 0, w0, h0, 0, layer * h0);
    }
    draw_flash_bar(out, d);
    int row = 4 * h0;
    for (int k = 26; k <= 28; ++k) {
        draw_font(out, row, d.el[static_cast<size_t>(k)], k == 27,
                  d.figures[static_cast<size_t>(k - 26)]);
        row += d.el[static_cast<size_t>(k)].h;
    }
    return out;
}

std::string table_text(const Design& d) {
    static const char* const kLabels[50] = {
        "Panel",    "Play",     "FF",      "REW",     "Back",     "Next",     "Quit",
        "ScanLine", "Full",     "Aspect",  "ZoomUp",  "ZoomDown", "List",     "Open",
        "Stop",     "Config",   "Repeat",  "Random",  "Minimize", "Deco",     "Seek",
        "Volume",   "",         "",        "",        "Pause",    "Number",   "Position",
        "Length",   "Paused",   "Playing", "Reverse", "FFLevel",  "REWLevel", "ListWindow",
        "Title",    "LineMask", "FlashL",  "FlashM",  "FlashR",   "Spare40",  "Spare41",
        "Spare42",  "Spare43",  "Spare44", "Spare45", "Spare46",  "Spare47",  "Spare48",
        "Spare49"};
    std::string text;
    for (size_t k = 0; k < 50; ++k) {
        if (k >= 22 && k <= 24) continue; // never read from a skin file
        const Element& e = d.el[k];
        text += std::string(kLabels[k]) + "=" + std::to_string(e.x) + "," + std::to_string(e.y) +
                "," + std::to_string(e.w) + "," + std::to_string(e.h) + "\r\n";
    }
    return text;
}

bool write_skin(const Design& d, const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return false;
    std::ofstream table(folder + "/main.da1", std::ios::binary);
    table << table_text(d);
    std::ofstream picture(folder + "/main.bmp", std::ios::binary);
    picture << render(d).bmp();
    return table.good() && picture.good();
}

} // namespace skinmaker
