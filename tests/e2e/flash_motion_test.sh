#!/usr/bin/env bash
# A Flash movie draws on its stage: a blue square crosses the green stage, 5 pixels a frame at
# 24 frames a second, 100 pixels down, and stops on its last frame at 235 pixels across.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

start_x
printf '%s\r\n' "$ZEFA_MEDIA_DIR/moving.swf" >"$PROG/zefa.hen"
write_settings Window_x=100 Window_y=50 FlushAutoNext=0 AutoPlay=1
start_zefa
main=$(wait_for_window "$ZEFA_PID" 320 256)

# The blue square's box on the stage (below the 16-pixel bar): WxH+X+Y.
blue_box() {
  xwd -root -silent | "$CONVERT" xwd:- -crop 320x240+100+66 +repage \
    -fill black +opaque '#0000FF' -format '%@' info:
}

first=""
tries=50
until [[ "$first" =~ ^40x40\+([0-9]+)\+100$ ]] && [ "${BASH_REMATCH[1]}" -lt 200 ]; do
  tries=$((tries - 1))
  [ $tries -gt 0 ] || fail "no 40 x 40 blue square 100 pixels down (saw '$first')"
  sleep 0.1
  first=$(blue_box)
done
x1=${BASH_REMATCH[1]}
[ $((x1 % 5)) -eq 0 ] || fail "the square is at $x1, not on a frame's place"
sleep 0.4
second=$(blue_box)
[[ "$second" =~ ^40x40\+([0-9]+)\+100$ ]] || fail "the square lost its shape: '$second'"
x2=${BASH_REMATCH[1]}
[ "$x2" -gt "$x1" ] || fail "the square did not move ($x1, then $x2)"
echo "moved from $x1 to $x2"

# Two seconds of frames, then the movie holds its last one.
tries=60
until [ "$(blue_box)" = "40x40+235+100" ]; do
  tries=$((tries - 1))
  [ $tries -gt 0 ] || fail "the square did not stop at its last place (saw '$(blue_box)')"
  sleep 0.1
done
colour=$(xwd -root -silent | "$CONVERT" xwd:- -crop 1x1+110+76 +repage -format '%[hex:p{0,0}]' info:)
[ "${colour:0:6}" = "00FF00" ] || fail "the stage shows $colour, not the movie's green"
sleep 0.5
[ "$(blue_box)" = "40x40+235+100" ] || fail "the last frame did not hold"
zefa_alive || fail "zefa died"
stop_zefa
echo "flash_motion: 4 passed, 0 failed"
