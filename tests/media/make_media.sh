#!/usr/bin/env bash
# Generates the test media, offline, with gst-launch-1.0 (ffmpeg for MPEG program streams and
# RealMedia). One recipe per medium, each under a time limit. The folder is reused while this
# script is unchanged.
#   make_media.sh OUTPUT_DIR             every medium into the folder
#   make_media.sh --produce NAME CMD...  NAME in the current folder from `CMD... TEMPORARY_FILE`
# ZEFA_MEDIA_RECIPE_LIMIT sets the limit in seconds (120 by default).
set -euo pipefail

script=$(readlink -f "$0")
# A muxer that stalls waits at 0 % CPU forever; the limit turns that into an error.
limit=${ZEFA_MEDIA_RECIPE_LIMIT:-120}
# What ignores the polite signal is killed this many seconds later.
grace=5

die() {
  echo "make_media: $*" >&2
  exit 1
}

# timeout runs a recipe in a process group of its own, out of reach of an interrupt meant for
# this script: hand the interrupt on.
recipe_pid=
recipe_tmp=
interrupted() {
  if [ -n "$recipe_pid" ]; then
    kill -TERM "$recipe_pid" 2>/dev/null || true
    wait "$recipe_pid" 2>/dev/null || true
    rm -f "$recipe_tmp"
  fi
  exit 130
}
trap interrupted INT TERM HUP

# Writes to a temporary name first so a failed or interrupted run never leaves a half file
# behind. timeout signals the recipe's whole process group, so the programs it starts end too.
produce() {
  local name=$1
  shift
  local tmp=".tmp-$name" start=$SECONDS status=0
  rm -f "$tmp"
  recipe_tmp=$tmp
  timeout --kill-after="$grace" "$limit" "$@" "$tmp" &
  recipe_pid=$!
  wait "$recipe_pid" || status=$?
  recipe_pid=
  if [ $status -ne 0 ]; then
    rm -f "$tmp"
    # timeout says 124 when the recipe ended on the polite signal, 137 when it was killed.
    if [ $status -eq 124 ] || { [ $status -eq 137 ] && [ $((SECONDS - start)) -ge "$limit" ]; }
    then
      die "recipe $name timed out after $limit s"
    fi
    die "recipe $name failed (exit status $status)"
  fi
  [ -e "$tmp" ] || die "recipe $name wrote no file"
  mv -f "$tmp" "$name"
}

gst() { gst-launch-1.0 -q "$@" >/dev/null; }

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

# An MPEG-2 program stream with MPEG audio layer II (mpeg2enc ! mplex can deadlock under load).
# Its first timestamps lie at 0.13 s (audio) and 0.14 s (video), as a program stream starts a
# little after zero; the muxer's default would put them past half a second.
recipe_mpg() {
  ffmpeg -v error -nostdin -f lavfi -i smptebars=d=3:s=320x240:r=25 \
    -f lavfi -i sine=d=3:sample_rate=44100 -c:v mpeg2video -q:v 4 -c:a mp2 -ac 2 \
    -muxpreload 0.1 -f mpeg -y "$1"
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

# A white picture, for what is laid over it.
recipe_rm_white() {
  ffmpeg -v error -nostdin -f lavfi -i color=white:s=352x240:d=3:r=25 -c:v rv10 -f rm -y "$1"
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

# The first 40 % of clip.mp4: the index (written last) is missing, so nothing can be opened.
recipe_mp4_truncated() {
  head -c $(($(stat -c %s clip.mp4) * 2 / 5)) clip.mp4 >"$1"
}

# Motion JPEG whose frames are 320 x 240, for the two giants below.
recipe_mjpeg() {
  gst $(video 320 240 25) ! jpegenc ! avimux ! filesink location="$1"
}

# mjpeg.avi claiming 30000 x 30000 pictures: in the AVI headers (main header and the stream
# format) and, with `frames`, in the size field of every JPEG frame's start-of-frame marker;
# with `frames-only` only there. Decoded as claimed, each frame would take 1.35 GB.
patch_giant() {
  perl -e '
    my ($where, $in, $out) = @ARGV;
    open my $f, "<:raw", $in or die; local $/; my $d = <$f>; close $f;
    if ($where ne "frames-only") {
      my $h = index($d, "avih");
      substr($d, $h + 8 + 32, 8) = pack("VV", 30000, 30000);
      my $s = index($d, "strf");
      substr($d, $s + 12, 8) = pack("VV", 30000, 30000);
    }
    $d =~ s/\xff\xc0(..)(.)\x00\xf0\x01\x40/\xff\xc0$1$2\x75\x30\x75\x30/gs;
    open my $o, ">:raw", $out or die; print $o $d; close $o;
  ' "$@"
}
recipe_huge() { patch_giant frames mjpeg.avi "$1"; }
recipe_huge_frames() { patch_giant frames-only mjpeg.avi "$1"; }

case ${1:-} in
--recipe)
  # One recipe, run by `medium` below under the time limit.
  [[ ${2:-} == recipe_* ]] && declare -F "$2" >/dev/null || die "no recipe '${2:-}'"
  "$2" "${3:?}"
  exit 0
  ;;
--produce)
  shift
  [ $# -ge 2 ] || die "usage: make_media.sh --produce NAME COMMAND..."
  produce "$@"
  exit 0
  ;;
esac

out=${1:?usage: make_media.sh OUTPUT_DIR}
stamp=.generated
checksum=$(sha256sum "$script" | cut -d' ' -f1)

mkdir -p "$out"
cd "$out"
if [[ -f $stamp && $(cat "$stamp") == "$checksum" ]]; then
  exit 0
fi
rm -f "$stamp"

medium() { produce "$1" "$script" --recipe "$2"; }

medium clip.avi recipe_avi
medium clip.mpg recipe_mpg
medium clip.mov recipe_mov
medium clip.mp4 recipe_mp4
medium clip.ogg recipe_ogg
medium far_keys.mp4 recipe_far_keys
medium clip640.avi recipe_640
medium clip.wav recipe_wav
medium clip.mp3 recipe_mp3
medium garbage.avi recipe_garbage
medium empty.avi recipe_empty
medium truncated.avi recipe_truncated
medium corrupt.mp4 recipe_corrupt
medium clip.rm recipe_rm
medium white.rm recipe_rm_white
medium sound.rm recipe_rm_sound
medium garbage.rm recipe_rm_garbage
medium empty.rm recipe_empty
medium truncated.rm recipe_rm_truncated
medium truncated.mp4 recipe_mp4_truncated
medium mjpeg.avi recipe_mjpeg
medium huge.avi recipe_huge
medium huge_frames.avi recipe_huge_frames

# A folder named like a medium.
mkdir -p folder.avi

# Named pipes that nobody writes to (opening one for reading waits for good), and a link to a
# device that never ends.
for pipe in fifo.avi fifo.rm; do
  [ -p "$pipe" ] || { rm -f "$pipe" && mkfifo "$pipe"; }
done
ln -sfn /dev/zero zero.avi

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
