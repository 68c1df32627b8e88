#pragma once

// Skins for the skin tests: tables written as "main.da1" text and pictures whose every pixel
// tells where it came from, so a test can say which layer and place a drawn pixel was cut from.

#include <gtest/gtest.h>
#include <map>
#include <string>

#include "harness.h"

namespace zefa::test {

// Pixel (x, y) of a coded picture with layers of height h0: layer + 1, row in layer, column.
inline uint32_t coded(int32_t x, int32_t y, int32_t h0) {
    return static_cast<uint32_t>(y / h0 + 1) << 16 | static_cast<uint32_t>(y % h0) << 8 |
           static_cast<uint32_t>(x);
}

inline Bitmap coded_picture(int32_t w, int32_t h, int32_t h0) {
    Bitmap b(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            b.set_pixel(x, y, coded(x, y, h0));
    return b;
}

// "main.da1" text with the given rectangles at their elements and zeros elsewhere, in the
// file's order (elements 0-21, then 25-49).
inline std::string table_text(const std::map<int, Rect>& rects, const char* eol = "\r\n") {
    std::string text;
    for (int k = 0; k < 50; ++k) {
        if (k >= 22 && k <= 24) continue;
        const auto it = rects.find(k);
        const Rect r = it == rects.end() ? Rect{} : it->second;
        text += "E" + std::to_string(k) + "=" + std::to_string(r.x) + "," + std::to_string(r.y) +
                "," + std::to_string(r.w) + "," + std::to_string(r.h) + eol;
    }
    return text;
}

// A Player with a skin folder "T" it can load from.
class SkinTest : public ::testing::Test {
  protected:
    Harness h;
    Player& p = h.p();

    std::string folder(const std::string& name = "T") const {
        return h.dir.str() + "Skin/" + name + "/";
    }
    void write_table(const std::string& text, const std::string& name = "T") const {
        std::filesystem::create_directories(folder(name));
        h.dir.write("Skin/" + name + "/main.da1", text);
    }
    void set_picture(const Bitmap& b, const std::string& name = "T") {
        std::filesystem::create_directories(folder(name));
        h.images.pictures[folder(name) + "main.bmp"] = b;
    }
    Rect el(int k) const {
        const SkinElement& e = p.skin.el[static_cast<size_t>(k)];
        return {e.x, e.y, e.w, e.h};
    }
};

} // namespace zefa::test
