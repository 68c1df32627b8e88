#include "shell/flash_settings.h"

namespace zefa {

const char* flash_quality_name(int32_t quality) {
    static const char* const names[] = {"Low", "High", "AutoLow", "AutoHigh"};
    return quality >= 0 && quality <= 3 ? names[quality] : "Best";
}

const char* flash_scale_name(int32_t scale) {
    static const char* const names[] = {"ShowAll", "NoBorder", "ExactFit", "NoScale"};
    return scale >= 0 && scale <= 3 ? names[scale] : nullptr;
}

const char* flash_wmode_name(int32_t window) {
    static const char* const names[] = {"Window", "Opaque", "Transparent"};
    return window >= 0 && window <= 2 ? names[window] : nullptr;
}

} // namespace zefa
