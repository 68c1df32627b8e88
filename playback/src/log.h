// Debug reporting: the "velmo" GStreamer debug category, never the user.
#pragma once

#include <gst/gst.h>

#include <cstdint>

GST_DEBUG_CATEGORY_EXTERN(velmo_debug);

namespace velmo {

void log_init();

// Writes "FAILED(0x<code>) <step>[: <detail>]" at warning level.
void log_failure(int32_t code, const char* step, const char* detail = nullptr);

} // namespace velmo
