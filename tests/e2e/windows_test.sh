#!/usr/bin/env bash
# The windows on a real X server: one task-bar window, pictures that fill the main window at a
# device pixel ratio of 2, playlist rows that show every glyph, line masks over a RealMedia
# picture.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

passed=0
start_x
pixel() { xwd -root -silent | "$CONVERT" xwd:- -crop "1x1+$1+$2" +repage -format '%[fx:int(255*maxima)] %[fx:int(255*minima)]' info:; }
expect_black() { [ "$(pixel "$1" "$2")" = "0 0" ] || fail "$3: not black at $1,$2 ($(pixel "$1" "$2"))"; }
expect_white() { [ "$(pixel "$1" "$2" | cut -d' ' -f2)" -gt 200 ] || fail "$3: not white at $1,$2 ($(pixel "$1" "$2"))"; }

# Window types: the panel and the playlist stay off the task bar and the pager, the main
# window is the application's button.
write_settings Window_x=100 Window_y=50 MainPanel_x=500 MainPanel_y=400 ListBox=1
start_zefa "$ZEFA_MEDIA_DIR/clip.avi"
main=$(wait_for_window "$ZEFA_PID" 320 240)
panel=$(wait_for_window "$ZEFA_PID" 320 130)
playlist=$(wait_for_window "$ZEFA_PID" 300 110)
for w in "$panel" "$playlist"; do
  types=$(xprop -id "$w" _NET_WM_WINDOW_TYPE)
  [[ $types == *"= _NET_WM_WINDOW_TYPE_UTILITY"* ]] || fail "window $w is no utility window: $types"
  states=$(xprop -id "$w" _NET_WM_STATE)
  [[ $states == *_NET_WM_STATE_SKIP_TASKBAR* && $states == *_NET_WM_STATE_SKIP_PAGER* ]] ||
    fail "window $w shows on the task bar: $states"
done
[[ $(xprop -id "$main" _NET_WM_WINDOW_TYPE) != *UTILITY* ]] || fail "the main window is a utility window"
[[ $(xprop -id "$main" _NET_WM_STATE) != *SKIP_TASKBAR* ]] || fail "the main window skips the task bar"
passed=$((passed + 1))

# The playlist row shows the underscore: the same name with a space instead looks different.
mkdir -p "$E2E_TMP/names"
ln -s "$ZEFA_MEDIA_DIR/clip.avi" "$E2E_TMP/names/夏の花火_テスト動画.avi"
ln -s "$ZEFA_MEDIA_DIR/clip.avi" "$E2E_TMP/names/夏の花火 テスト動画.avi"
read -r lx ly < <(window_pos "$playlist")
row_shot() {
  hand_off "$E2E_TMP/names/$1" >/dev/null
  wait_for_log "hand-off: 1 .*$1"
  sleep 0.5
  xwd -root -silent | "$CONVERT" xwd:- -crop "200x30+$lx+$ly" +repage "$E2E_TMP/$2.png"
}
row_shot "夏の花火_テスト動画.avi" underscore
row_shot "夏の花火 テスト動画.avi" space
differs=$("$CONVERT" "$E2E_TMP/underscore.png" "$E2E_TMP/space.png" -compose difference -composite \
  -format '%[fx:int(255*maxima)]' info:)
[ "$differs" -gt 64 ] || fail "the underscore does not show in the playlist row"
stop_zefa
passed=$((passed + 1))

# At a device pixel ratio of 2 the 320 x 240 picture fills the 640 x 480 main window: the clip's
# colour bars reach its right and bottom parts.
write_settings Window_x=0 Window_y=0 MainPanel_x=700 MainPanel_y=600
QT_SCALE_FACTOR=2 start_zefa "$ZEFA_MEDIA_DIR/clip.avi"
wait_for_window "$ZEFA_PID" 640 480 >/dev/null
sleep 1.5
[ "$(screen_max 560 40 60 200)" -gt 100 ] || fail "scale 2: the picture's right part is black"
[ "$(screen_max 40 400 200 60)" -gt 100 ] || fail "scale 2: the picture's bottom part is black"
stop_zefa
passed=$((passed + 1))

# Line masks over a white RealMedia picture (352 x 240; masks 5/5/10/3 % of its width: 17 rows
# at the top and bottom, 35 columns on the left, 10 on the right) are black bands.
write_settings Window_x=100 Window_y=50 MainPanel_x=600 MainPanel_y=500 MaskMode=1 U_Mask=5 \
  D_Mask=5 L_Mask=10 R_Mask=3
start_zefa "$ZEFA_MEDIA_DIR/white.rm"
wait_for_window "$ZEFA_PID" 352 240 >/dev/null
sleep 1.5
expect_white 276 170 "RealMedia middle"
expect_black 276 58 "top mask"
expect_black 276 283 "bottom mask"
expect_black 110 170 "left mask"
expect_black 446 170 "right mask"
stop_zefa
passed=$((passed + 1))
echo "windows: $passed passed, 0 failed"
