#!/usr/bin/env bash
# Generates the test media into the folder given as $1, offline, with gst-launch-1.0 (ffmpeg for
# RealMedia, which GStreamer cannot write). One recipe per medium. The folder is reused while
# this script is unchanged.
set -euo pipefail

out=${1:?usage: make_media.sh OUTPUT_DIR}
script=$(readlink -f "$0")
stamp="$out/.generated"
checksum=$(sha256sum "$script" | cut -d' ' -f1)

if [[ -f $stamp && $(cat "$stamp") == "$checksum" ]]; then
  exit 0
fi
mkdir -p "$out"
cd "$out"
rm -f "$stamp"

gst() { gst-launch-1.0 -q "$@" >/dev/null; }

# Writes to a temporary name first so an interrupted run never leaves a half file behind.
produce() {
  local name=$1
  shift
  local tmp=".tmp-$name"
  rm -f "$tmp"
  "$@" "$tmp"
  mv -f "$tmp" "$name"
}

# Colour bars at 25 frame/s: video [WIDTH HEIGHT [FRAMES]], 320 x 240 and 3 s by default. The
# picture is still, so a screenshot knows where each bar lies.
video() {
  echo "videotestsrc pattern=smpte num-buffers=${3:-75}" \
    "! video/x-raw,width=${1:-320},height=${2:-240},framerate=25/1 ! videoconvert"
}
# 3 s of a 440 Hz tone, stereo.
audio() {
  echo "audiotestsrc num-buffers=130 samplesperbuffer=1024 ! audio/x-raw,rate=44100,channels=2 ! audioconvert"
}

recipe_avi() {
  gst $(video) ! avenc_mpeg4 ! queue ! avimux name=m ! filesink location="$1" \
    $(audio) ! lamemp3enc ! queue ! m.
}

recipe_mpg() {
  gst $(video) ! mpeg2enc format=0 ! queue ! mplex format=0 name=m ! filesink location="$1" \
    $(audio) ! avenc_mp2 ! queue ! m.
}

recipe_mov() {
  gst $(video) ! x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! queue \
    ! qtmux name=m ! filesink location="$1" \
    $(audio) ! lamemp3enc ! mpegaudioparse ! queue ! m.
}

recipe_mp4() {
  gst $(video) ! x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! queue \
    ! mp4mux name=m ! filesink location="$1" \
    $(audio) ! avenc_aac ! queue ! m.
}

recipe_ogg() {
  gst $(video) ! theoraenc ! queue ! oggmux name=m ! filesink location="$1" \
    $(audio) ! vorbisenc ! queue ! m.
}

# 12 s of video with key frames only at 0, 5 and 10 s: a short step forward snaps back to the
# same key frame, which exercises the seek retry loop.
recipe_far_keys() {
  gst $(video 320 240 300) ! x264enc speed-preset=ultrafast key-int-max=125 option-string=scenecut=0 \
    ! h264parse ! mp4mux ! filesink location="$1"
}

recipe_640() {
  gst $(video 640 480) ! avenc_mpeg4 ! queue ! avimux name=m ! filesink location="$1" \
    $(audio) ! lamemp3enc ! queue ! m.
}

recipe_wav() {
  gst $(audio) ! wavenc ! filesink location="$1"
}

recipe_mp3() {
  gst $(audio) ! lamemp3enc ! xingmux ! id3v2mux ! filesink location="$1"
}

# Bytes that no type finder recognises, the same on every run.
recipe_garbage() {
  perl -e 'srand(7); print map { chr(int(rand(256))) } 1 .. 65536' >"$1"
}

recipe_empty() {
  : >"$1"
}

# The first 40 % of clip.avi: no index, the stream stops mid-frame.
recipe_truncated() {
  head -c $(($(stat -c %s clip.avi) * 2 / 5)) clip.avi >"$1"
}

# clip.mp4 with its middle overwritten: the decoder meets broken data half-way through.
recipe_corrupt() {
  local size
  size=$(stat -c %s clip.mp4)
  cp clip.mp4 "$1"
  perl -e 'srand(11); print map { chr(int(rand(256))) } 1 .. 65536' |
    dd of="$1" bs=1 seek=$((size / 2)) conv=notrunc status=none
}

# RealMedia as ffmpeg writes it: RealVideo 1 and AC-3, no index (every seek is refused).
recipe_rm() {
  ffmpeg -v error -nostdin -f lavfi -i smptebars=d=3:s=320x240:r=25 -f lavfi -i sine=d=3 \
    -c:v rv10 -c:a ac3 -f rm -y "$1"
}

recipe_rm_sound() {
  ffmpeg -v error -nostdin -f lavfi -i sine=d=3 -c:a ac3 -f rm -y "$1"
}

# A RealMedia signature over random bytes: the demuxer neither prerolls nor reports an error.
recipe_rm_garbage() {
  perl -e 'srand(13); print ".RMF\0\0\0\x12", map { chr(int(rand(256))) } 1 .. 65536' >"$1"
}

# The first 40 % of clip.rm: the headers are whole, the data stops mid-packet.
recipe_rm_truncated() {
  head -c $(($(stat -c %s clip.rm) * 2 / 5)) clip.rm >"$1"
}

produce clip.avi recipe_avi
produce clip.mpg recipe_mpg
produce clip.mov recipe_mov
produce clip.mp4 recipe_mp4
produce clip.ogg recipe_ogg
produce far_keys.mp4 recipe_far_keys
produce clip640.avi recipe_640
produce clip.wav recipe_wav
produce clip.mp3 recipe_mp3
produce garbage.avi recipe_garbage
produce empty.avi recipe_empty
produce truncated.avi recipe_truncated
produce corrupt.mp4 recipe_corrupt
produce clip.rm recipe_rm
produce sound.rm recipe_rm_sound
produce garbage.rm recipe_rm_garbage
produce empty.rm recipe_empty
produce truncated.rm recipe_rm_truncated

# A folder named like a medium.
mkdir -p folder.avi

# A path longer than 255 bytes (five folders of 60 characters).
long=long
for i in 1 2 3 4 5; do
  long="$long/$(printf "%060d" "$i")"
done
mkdir -p "$long"
cp clip.avi "$long/clip.avi"

# A file name that is not valid UTF-8 (Latin-1 e-acute).
cp clip.avi "$(printf 'caf\xe9.avi')"

echo "$checksum" >"$stamp"
