#!/usr/bin/env bash
# Makes the demo clip, 3 s of colour bars with a 440 Hz tone in an AVI (MPEG-4 video, MP3
# sound), with gst-launch-1.0 under a time limit: demo_clip.sh OUTPUT_FILE.
# The test media (tests/media/make_media.sh) have a clip of the same recipe.
set -euo pipefail

out=${1:?usage: demo_clip.sh OUTPUT_FILE}
tmp="$out.tmp"
mkdir -p "$(dirname "$out")"
rm -f "$tmp"
trap 'rm -f "$tmp"' EXIT
# A muxer that stalls waits forever; the limit turns that into an error.
timeout --kill-after=5 120 gst-launch-1.0 -q \
  videotestsrc pattern=smpte num-buffers=75 \
  ! video/x-raw,width=320,height=240,framerate=25/1 ! videoconvert \
  ! avenc_mpeg4 ! queue ! avimux name=m ! filesink location="$tmp" \
  audiotestsrc num-buffers=130 samplesperbuffer=1024 \
  ! audio/x-raw,rate=44100,channels=2 ! audioconvert ! lamemp3enc ! queue ! m. >/dev/null
[ -s "$tmp" ] || { echo "demo_clip: gst-launch-1.0 wrote nothing" >&2; exit 1; }
mv -f "$tmp" "$out"
