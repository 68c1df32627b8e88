#!/usr/bin/env bash
# A Flash movie plays on its stage below the bar, in its background colour; a movie that does
# not load leaves the player running.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

start_x
write_settings Window_x=100 Window_y=50 FlushAutoNext=0
start_zefa "$ZEFA_MEDIA_DIR/movie.swf"
# The window is 16 pixels taller than the stage: the bar above the movie.
main=$(wait_for_window "$ZEFA_PID" 320 256)
sleep 0.3
colour=$(xwd -root -silent | "$CONVERT" xwd:- -crop 1x1+260+200 +repage -format '%[hex:p{0,0}]' info:)
[ "${colour:0:6}" = "3366CC" ] || fail "the stage shows $colour, not the movie's colour"

# A second instance hands over a movie that does not inflate.
"$PROG/zefa" "$ZEFA_MEDIA_DIR/garbage.swf"
wait_for_log "hand-off: 1 .*garbage.swf"
sleep 0.5
kill -0 "$ZEFA_PID" || fail "zefa died on a broken movie"
# ... and still plays what comes next.
"$PROG/zefa" "$ZEFA_MEDIA_DIR/clip.avi"
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
echo "flash: 2 passed, 0 failed"
