#!/usr/bin/env bash
# A Flash movie plays on its stage below the bar, in its background colour, and the next entry
# starts at its last frame; a movie that does not load leaves the player running.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

start_x
# The default playlist: the two-second movie, then a video clip.
printf '%s\r\n' "$ZEFA_MEDIA_DIR/movie.swf" "$ZEFA_MEDIA_DIR/clip.avi" >"$PROG/zefa.hen"
write_settings Window_x=100 Window_y=50 FlushAutoNext=1 AutoPlay=1
start_zefa
# The window is 16 pixels taller than the stage: the bar above the movie.
main=$(wait_for_window "$ZEFA_PID" 320 256)
sleep 0.3
colour=$(xwd -root -silent | "$CONVERT" xwd:- -crop 1x1+260+200 +repage -format '%[hex:p{0,0}]' info:)
[ "${colour:0:6}" = "3366CC" ] || fail "the stage shows $colour, not the movie's colour"
[ "$(window_size "$main")" = "320 256" ] || fail "the movie ended early"
# At its last frame (two seconds in) the movie gives way to the next entry.
tries=50
until [ "$(window_size "$main")" = "320 240" ]; do
  tries=$((tries - 1))
  [ $tries -gt 0 ] || fail "the next entry did not start after the movie"
  sleep 0.1
done

# A second instance hands over a movie that does not inflate.
hand_off "$ZEFA_MEDIA_DIR/garbage.swf"
wait_for_log "hand-off: 1 .*garbage.swf"
sleep 0.5
zefa_alive || fail "zefa died on a broken movie"
# ... and still plays what comes next.
hand_off "$ZEFA_MEDIA_DIR/clip.avi"
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
echo "flash: 3 passed, 0 failed"
