#pragma once

// A small BMP reader for the fakes: uncompressed 24- and 32-bit pictures, bottom-up or
// top-down, which is what the skin maker writes. Anything else is refused.

#include <optional>
#include <string>

#include "platform/bitmap.h"

namespace zefa::test {

std::optional<Bitmap> decode_bmp(const std::string& bytes);

} // namespace zefa::test
