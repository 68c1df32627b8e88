#include "log.h"

GST_DEBUG_CATEGORY(velmo_debug);

namespace velmo {

void log_init() {
    GST_DEBUG_CATEGORY_INIT(velmo_debug, "velmo", 0, "VELMO playback library");
}

void log_failure(int32_t code, const char* step, const char* detail) {
    GST_CAT_WARNING(velmo_debug, "FAILED(0x%x) %s%s%s", static_cast<unsigned>(code), step,
                    detail ? ": " : "", detail ? detail : "");
}

} // namespace velmo
