// A limit on the size of video frames. A stream whose headers claim a giant picture would make
// the decoder and the converters allocate gigabytes per frame (and GStreamer's converter has
// been seen to crash on such frames); it is refused before any frame of that size exists.
#pragma once

#include <gst/gst.h>

#include <cstdint>

namespace zefa::media_common {

constexpr int64_t kMaxFrameSide = 16384;
constexpr int64_t kMaxFramePixels = int64_t{1} << 27;

// Whether a frame of this size is accepted.
bool frame_fits(int64_t width, int64_t height);

// Watches every pad of every element playbin plugs. The first caps over the limit (a
// demuxer's header, a decoder's input or output) post a stream error, so the pipeline fails as
// for any broken file, and the element that met them passes nothing more. Caught at the
// decoder's input, no frame is decoded at all; a size that shows only in the frames themselves
// costs the decoder one frame. Call before the pipeline leaves NULL.
void guard_frames(GstElement* playbin);

} // namespace zefa::media_common
