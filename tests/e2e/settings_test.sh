#!/usr/bin/env bash
# The settings dialog: the panel's gear button opens it at its place and size; typing a seek step
# and choosing another skin, then OK, reshapes the panel; the choice survives a quit and a
# restart. A screenshot of the dialog is kept in ZEFA_ARTEFACTS when that is set.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

passed=0
start_x
write_settings Window_x=0 Window_y=0 MainPanel_x=0 MainPanel_y=300 SkinName=Default01
start_zefa "$ZEFA_MEDIA_DIR/clip.avi"
main=$(wait_for_window "$ZEFA_PID" 320 240)
panel=$(wait_for_window "$ZEFA_PID" 320 130)
wait_for_motion 240 180 80 60 "the clip"

# The gear (117, 111 in Default01).
xdotool mousemove 128 419 click 1
dialog=$(wait_for_dialog "$ZEFA_PID")
[ "$(window_pos "$dialog")" = "222 175" ] || fail "the dialog is at $(window_pos "$dialog")"
[ "$(window_size "$dialog")" = "565 331" ] || fail "the dialog is $(window_size "$dialog")"
# Above the windows the player raised since it was made (xwininfo lists the root's children
# from the top down).
sleep 0.5
stacking=$(xwininfo -root -children | grep -o '^ *0x[0-9a-f]*' | tr -d ' ')
place_of() { grep -n -x "$(printf '0x%x' "$1")" <<<"$stacking" | cut -d: -f1; }
for id in "$main" "$panel"; do
  [ "$(place_of "$dialog")" -lt "$(place_of "$id")" ] || fail "window $id stacks above the dialog"
done
if [ -n "${ZEFA_ARTEFACTS:-}" ]; then
  mkdir -p "$ZEFA_ARTEFACTS"
  xwd -root -silent | "$CONVERT" xwd:- -crop 565x331+222+175 +repage "$ZEFA_ARTEFACTS/settings_dialog.png"
fi
passed=$((passed + 1))

# 送り (Edit2, at 104, 16 in the seek group at 8, 8): 7000.
xdotool mousemove 354 209 click --repeat 3 1
xdotool key ctrl+a
xdotool type --delay 50 7000
# The skin box (in the group at 288, 120): typed "Default02" names a skin folder.
xdotool mousemove 600 322 click 1
xdotool key ctrl+a
xdotool type --delay 50 Default02
# OK (480, 296).
xdotool mousemove 740 483 click 1
wait_for_window "$ZEFA_PID" 360 112 >/dev/null
passed=$((passed + 1))

# × (322, 40 in Default02).
xdotool mousemove 335 351 click 1
wait_for_exit 0
grep -q $'^SkinName=Default02\r$' "$PROG/ZEFA.cfg" || fail "saved: $(grep SkinName "$PROG/ZEFA.cfg")"
grep -q $'^FF=7000\r$' "$PROG/ZEFA.cfg" || fail "saved: $(grep '^FF' "$PROG/ZEFA.cfg")"
start_zefa "$ZEFA_MEDIA_DIR/clip.avi"
wait_for_window "$ZEFA_PID" 360 112 >/dev/null
passed=$((passed + 1))
stop_zefa

echo "settings: $passed checks passed"
