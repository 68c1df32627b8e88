#pragma once

// The Flash control's string properties for the Flash settings.

#include <cstdint>

namespace zefa {

// "Best" for any value outside 0..3; the caller stores such a value back as 4.
const char* flash_quality_name(int32_t quality);
// nullptr leaves the property as it is.
const char* flash_scale_name(int32_t scale);
const char* flash_wmode_name(int32_t window);

} // namespace zefa
