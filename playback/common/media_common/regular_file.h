// Which paths may be handed to GStreamer at all.
#pragma once

namespace zefa::media_common {

// True when path names a regular file (links followed). GStreamer's file source would wait for
// good opening a FIFO and read a device without end, so nothing else is ever handed to it.
// Looks without opening, so it never blocks.
bool is_regular_file(const char* path);

} // namespace zefa::media_common
