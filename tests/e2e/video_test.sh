#!/usr/bin/env bash
# `zefa clip.avi` plays moving video in the main window; the line mask's rows stay black; a
# sound-only file handed over later leaves no picture window.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

start_x
# A 5 % top mask of a 320-pixel-wide picture covers its first 16 rows.
write_settings Window_x=100 Window_y=50 MaskMode=1 U_Mask=5 D_Mask=0
start_zefa "$ZEFA_MEDIA_DIR/clip.avi"
main=$(wait_for_window "$ZEFA_PID" 320 240)
sleep 1

changed=$(screen_change 100 66 320 224)
[ "$changed" -gt 32 ] || fail "the picture did not change (max difference $changed)"
[ "$(screen_max 100 66 320 224)" -gt 32 ] || fail "no picture in the video area"
[ "$(screen_max 100 50 320 16)" = "0" ] || fail "the masked rows are not black"

# A click on the picture reaches the main window (window 0, left button 0).
xdotool mousemove 260 150 click 1
wait_for_log "mouse down: 0 0 160 100"

# Sound only, handed over by a second instance: the window has no picture to show.
hand_off "$ZEFA_MEDIA_DIR/clip.mp3"
wait_for_log "hand-off: 1 .*clip.mp3"
tries=50
while [[ $(xwininfo -id "$main") == *IsViewable* ]]; do
  tries=$((tries - 1))
  [ $tries -gt 0 ] || fail "the main window still shows during sound-only playback"
  sleep 0.1
done
zefa_alive || fail "zefa died"
echo "video: 2 passed, 0 failed"
