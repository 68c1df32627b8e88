#!/usr/bin/env bash
# A RealMedia clip shows its picture through the RealMedia control; a garbage .rm leaves
# the player responsive.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

start_x
write_settings Window_x=100 Window_y=50
start_zefa "$ZEFA_MEDIA_DIR/clip.rm"
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
sleep 1.2
# The clip is colour bars; the panel lies over the window's top left, the blue bar is clear of it.
pixel() { xwd -root -silent | "$CONVERT" xwd:- -crop "1x1+$1+$2" +repage -format '%[hex:p{0,0}]' info:; }
is_blue() { [ $((16#${1:0:2})) -lt 40 ] && [ $((16#${1:4:2})) -gt 150 ]; }
colour=$(pixel 400 150)
is_blue "$colour" || fail "no blue bar of the clip on the screen (saw $colour)"

hand_off "$ZEFA_MEDIA_DIR/garbage.rm"
wait_for_log "hand-off: 1 .*garbage.rm"
sleep 0.5
zefa_alive || fail "zefa died on a garbage clip"
# The switch is not stuck on the control: the next file still starts.
hand_off "$ZEFA_MEDIA_DIR/clip.avi"
wait_for_log "hand-off: 1 .*clip.avi"
sleep 1.5
# The library's test clip has moving noise in its bottom right corner where the RealMedia
# clip is still.
changed=$(screen_change 345 235 70 50)
[ "$changed" -gt 32 ] || fail "no moving picture after the garbage clip"
echo "realmedia: 2 passed, 0 failed"
