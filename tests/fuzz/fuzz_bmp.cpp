// Any bytes as the skin's bitmap, through the player's own BMP path (Qt's decoder behind the
// header check): a picture whose headers promise more pixel data than the bytes hold is
// refused, and what loads has every pixel.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/bmp_layout.h"
#include "platform/qt/image_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zefa;
    using test::check;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<Bitmap> b = qt::decode_bmp(bytes, error);
    if (!b) {
        check(error == "ビットマップイメージが不正です", "wrong message");
        return 0;
    }
    check(bytes.substr(0, 2) == "BM", "something other than a BMP loaded");
    const std::optional<uint64_t> needed = bmp_bytes_needed(bytes);
    check(!needed || *needed <= bytes.size(), "pixel data cut short loaded");
    check(b->width() > 0 && b->height() > 0, "empty picture loaded");
    check(b->pixels().size() == static_cast<size_t>(b->width()) * static_cast<size_t>(b->height()),
          "pixels missing");
    for (const uint32_t p : b->pixels())
        check((p >> 24) == 0, "alpha left in a pixel");
    return 0;
}
