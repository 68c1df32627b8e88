// Any bytes as the data of every bitmap, font, font info, text, edit text and button tag:
// refused with a reason or decoded within the limits, never a crash or a runaway allocation.
// The bytes also go in split into JPEGTables and a DefineBits.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz_check.h"
#include "swf/swf_bitmap.h"
#include "swf/swf_button.h"
#include "swf/swf_font.h"
#include "swf/swf_text.h"

namespace {

using namespace zefa::swf;
using zefa::test::check;

// Small limits: a mutated size must not make every run inflate megabytes.
const BitmapLimits kBitmapLimits{.max_pixels = 1 << 16};
const ShapeLimits kShapeLimits{.max_edges = 20'000};
const FontLimits kFontLimits{.max_glyphs = 4096};
const TextLimits kTextLimits{.max_glyphs = 4096, .max_text_bytes = 1 << 16};
const ButtonLimits kButtonLimits{.max_records = 256};

void check_bitmap(const BitmapResult& r) {
    if (!r.error.empty()) {
        check(r.bitmap.argb.empty() && r.bitmap.encoded.empty() && r.bitmap.alpha.empty(),
              "a refused bitmap keeps data");
        return;
    }
    const Bitmap& b = r.bitmap;
    check(b.width > 0 && b.height > 0, "a bitmap without pixels");
    const int64_t pixels = int64_t{b.width} * b.height;
    check(pixels <= kBitmapLimits.max_pixels, "bitmap limit passed");
    if (b.lossless()) {
        check(b.argb.size() == size_t(pixels), "pixels are not width × height");
        check(b.encoded.empty() && b.alpha.empty(), "a lossless bitmap with encoded data");
        for (uint32_t p : b.argb) {
            const uint32_t a = p >> 24;
            check((p >> 16 & 0xFF) <= a && (p >> 8 & 0xFF) <= a && (p & 0xFF) <= a,
                  "colour above its alpha");
        }
    } else {
        check(!b.encoded.empty(), "a bitmap without pixels or data");
        check(b.alpha.empty() || b.alpha.size() == size_t(pixels), "alpha is not width × height");
    }
}

void check_font(const Font& f) {
    check(f.glyphs.size() <= kFontLimits.max_glyphs, "glyph limit passed");
    check(f.codes.size() == f.glyphs.size(), "codes do not match the glyphs");
    check(!f.has_layout || f.advances.size() == f.glyphs.size(), "advances do not match");
    check(f.em == 1024 || f.em == 20480, "unknown em square");
    size_t edges = 0;
    for (const Shape& g : f.glyphs)
        for (const Shape::Layer& l : g.layers)
            for (const Contour& c : l.path.contours)
                edges += c.segments.size() + 1;
    check(edges <= kShapeLimits.max_edges, "glyph edges past the budget");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);

    for (uint16_t code : {6, 20, 21, 35, 36, 90}) {
        Stream s(bytes);
        check_bitmap(decode_bitmap(code, s, {}, kBitmapLimits));
    }
    if (size > 1) {
        // The first byte says where the tables end and the image begins.
        const size_t split = 1 + std::min<size_t>(data[0] * 4, size - 1);
        Stream s(bytes.subspan(split));
        check_bitmap(decode_bitmap(6, s, bytes.subspan(1, split - 1), kBitmapLimits));
    }

    for (uint16_t code : {kTagDefineFont, kTagDefineFont2, kTagDefineFont3}) {
        Stream s(bytes);
        FontResult r = decode_font(code, s, kShapeLimits, kFontLimits);
        if (!r.error.empty()) continue;
        check_font(r.font);
        for (uint16_t info : {kTagDefineFontInfo, kTagDefineFontInfo2}) {
            Stream i(bytes, 5);
            apply_font_info(r.font, info, i);
            check_font(r.font);
        }
    }

    for (uint8_t version : {5, 10}) {
        for (uint16_t code : {kTagDefineText, kTagDefineText2}) {
            Stream s(bytes, version);
            const TextResult r = decode_text(code, s, kTextLimits);
            size_t glyphs = 0;
            for (const TextRun& run : r.text.runs) {
                check(!run.glyphs.empty(), "an empty run");
                glyphs += run.glyphs.size();
            }
            check(glyphs <= kTextLimits.max_glyphs, "text glyph limit passed");
        }
        Stream s(bytes, version);
        const EditTextResult e = decode_edit_text(kTagDefineEditText, s, kTextLimits);
        // Latin-1 doubles at most.
        check(e.text.text.size() <= 2 * kTextLimits.max_text_bytes, "edit text limit passed");
        check(strip_html(e.text.text).size() <= e.text.text.size(), "stripping made text longer");
        e.text.plain_text();
    }

    for (uint8_t version : {7, 8}) {
        for (uint16_t code : {kTagDefineButton, kTagDefineButton2}) {
            Stream s(bytes, version);
            ButtonResult r = decode_button(code, s, kButtonLimits);
            check(r.button.up.size() <= kButtonLimits.max_records, "button record limit passed");
            check(std::is_sorted(r.button.up.begin(), r.button.up.end(),
                                 [](const ButtonRecord& a, const ButtonRecord& b) {
                                     return a.depth < b.depth;
                                 }),
                  "button records out of depth order");
            Stream c(bytes, version);
            apply_button_cxform(r.button, c);
        }
    }

    const std::string text(reinterpret_cast<const char*>(data), size);
    check(strip_html(text).size() <= size, "stripping made text longer");
    return 0;
}
