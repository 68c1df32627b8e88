#!/usr/bin/env bash
# The mouse drives the player: a first run shows the panel under the video; the panel's pause,
# play, stop, next and × buttons work; another program's window over the video keeps its own
# clicks; dragging the panel takes the playlist window along; dragging the video snaps it to
# the screen's edge; the aspect button opens its menu; and a drag works under a window manager.
# Usage: mouse_test.sh ZEFA LIBVELMO CLICK_COUNTER
source "$(dirname "$0")/lib.sh" "$@"
COUNTER=$3
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

passed=0
start_x

# Clicks the panel's element at (X, Y) of the panel whose top-left corner is at (PX, PY).
click_panel() { xdotool mousemove $(($1 + $3)) $(($2 + $4)) click 1; }
# Drags with the left button from (X, Y) by (DX, DY), in steps as a hand would.
drag() {
  local x=$1 y=$2 dx=$3 dy=$4 i
  xdotool mousemove "$x" "$y" mousedown 1
  sleep 0.2
  for i in 1 2 3 4 5; do
    xdotool mousemove $((x + dx * i / 5)) $((y + dy * i / 5))
    sleep 0.1
  done
  sleep 0.2
  xdotool mouseup 1
  sleep 0.3
}
# Waits until the window is at "X Y".
wait_for_pos() {
  local id=$1 want=$2 what=$3 tries=50
  until [ "$(window_pos "$id")" = "$want" ]; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail "$what: at $(window_pos "$id"), not $want"
    sleep 0.1
  done
}

# --- A first run: no ZEFA.cfg. The panel opens under the video, where a user sees it.
start_zefa "$ZEFA_MEDIA_DIR/clip.avi"
main=$(wait_for_window "$ZEFA_PID" 320 240)
panel=$(wait_for_window "$ZEFA_PID" 320 130)
wait_for_pos "$main" "0 0" "the main window"
wait_for_pos "$panel" "0 240" "the panel on a first run"
wait_for_motion 240 180 80 60 "first run"
passed=$((passed + 1))

# Pause (102, 86 in Default01) freezes the picture; play (68, 86) resumes it.
click_panel 115 97 0 240
sleep 0.6
changed=$(screen_change 240 180 80 60)
[ "$changed" = "0" ] || fail "the pause button did not freeze the picture (difference $changed)"
click_panel 84 97 0 240
wait_for_motion 240 180 80 60 "after the play button"
passed=$((passed + 1))

# Another program's window over the video: its clicks are its own, none reach the player.
downs=$(grep -c 'mouse down' "$E2E_TMP/zefa.log" || true)
"$COUNTER" 40 40 100 80 >"$E2E_TMP/counter.out" 2>&1 &
counter=$!
E2E_PIDS+=($counter)
tries=50
until grep -q mapped "$E2E_TMP/counter.out"; do
  tries=$((tries - 1))
  [ $tries -gt 0 ] || fail "the other program's window did not show"
  sleep 0.1
done
sleep 0.3 # a few ticks with the pointer over it
xdotool mousemove 90 80 click 1
sleep 0.3
xdotool mousemove 60 100 click 1
sleep 0.5
presses=$(grep -c '^press' "$E2E_TMP/counter.out" || true)
[ "$presses" = 2 ] || fail "the other program's window received $presses of 2 clicks"
[ "$(grep -c 'mouse down' "$E2E_TMP/zefa.log" || true)" = "$downs" ] ||
  fail "zefa took a click meant for the other program's window"
kill "$counter"
wait "$counter" 2>/dev/null || true
passed=$((passed + 1))

# Full screen (205, 111) and back with a right click, then the playlist button (65, 111) twice:
# the video keeps its window (one made anew would leave the picture behind, black).
click_panel 216 119 0 240
wait_for_window "$ZEFA_PID" 1024 768 >/dev/null
xdotool mousemove 500 300 click 3
[ "$(wait_for_window "$ZEFA_PID" 320 240)" = "$main" ] || fail "full screen made the main window anew"
click_panel 76 119 0 240
sleep 0.7
click_panel 76 119 0 240
sleep 0.7
[ "$(wait_for_window "$ZEFA_PID" 320 240)" = "$main" ] || fail "the playlist button made the main window anew"
wait_for_motion 240 180 80 60 "after full screen and the playlist button"
passed=$((passed + 1))

# Stop (130, 86) ends the picture: the video window goes.
click_panel 143 97 0 240
sleep 1
max=$(screen_max 0 0 320 240)
[ "$max" = 0 ] || fail "the stop button left a picture (max $max)"
# × (278, 3) ends the player, which saves where the panel was.
click_panel 290 10 0 240
wait_for_exit 0
grep -q $'^MainPanel_y=240\r$' "$PROG/ZEFA.cfg" || fail "saved: $(grep MainPanel "$PROG/ZEFA.cfg" | tr '\r\n' '  ')"
passed=$((passed + 1))

# --- Stored places, the playlist window shown, two entries.
write_settings Window_x=100 Window_y=10 MainPanel_x=500 MainPanel_y=500 ListBox=1
printf '%s\r\n' "$ZEFA_MEDIA_DIR/clip.avi" "$ZEFA_MEDIA_DIR/clip640.avi" >"$PROG/zefa.hen"
start_zefa
main=$(wait_for_window "$ZEFA_PID" 320 240)
panel=$(wait_for_window "$ZEFA_PID" 320 130)
list=$(wait_for_window "$ZEFA_PID" 300 110)
wait_for_pos "$panel" "500 500" "the stored panel place"
wait_for_motion 340 190 80 60 "first entry"

# Next (186, 86) plays the next entry, shown at 640 × 480.
click_panel 199 97 500 500
main=$(wait_for_window "$ZEFA_PID" 640 480)
passed=$((passed + 1))

# A drag on the panel where no button is (its title) moves it, and the playlist window with it.
drag 700 540 60 10
wait_for_pos "$panel" "560 510" "the dragged panel"
wait_for_pos "$list" "570 640" "the playlist window under the dragged panel"
passed=$((passed + 1))

# A drag on the video moves the main window; 10 pixels from the left edge it snaps to 0.
read -r x0 y0 <<<"$(window_pos "$main")"
drag $((x0 + 200)) $((y0 + 200)) $((10 - x0)) 40
wait_for_pos "$main" "0 $((y0 + 40))" "the dragged video"
passed=$((passed + 1))

# The aspect button (231, 111) opens the aspect menu; Escape closes it.
windows_before=$(toplevel_windows "$ZEFA_PID" | wc -l)
click_panel 242 119 560 510
tries=50
until [ "$(toplevel_windows "$ZEFA_PID" | wc -l)" -gt "$windows_before" ]; do
  tries=$((tries - 1))
  [ $tries -gt 0 ] || fail "the aspect button opened no menu"
  sleep 0.1
done
xdotool key Escape
sleep 0.5
[ "$(toplevel_windows "$ZEFA_PID" | wc -l)" = "$windows_before" ] || fail "the menu did not close"
zefa_alive || fail "zefa ended with the menu"
passed=$((passed + 1))
stop_zefa

# --- Under a window manager: the manager moves the window, and the move ends on release.
openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
E2E_PIDS+=($!)
sleep 1
write_settings Window_x=100 Window_y=50 MainPanel_x=500 MainPanel_y=300
start_zefa "$ZEFA_MEDIA_DIR/clip.avi"
# Framed by the manager, the windows are no longer the root's children: a top-level window is
# one the manager has given a WM_STATE.
managed() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state'; }
client_window() {
  local id tries=100
  while [ $tries -gt 0 ]; do
    for id in $(xdotool search --onlyvisible --pid "$ZEFA_PID" 2>/dev/null); do
      has_size "$1" "$2" "$id" && managed "$id" && is_not_dialog "$id" && { echo "$id"; return 0; }
    done
    tries=$((tries - 1))
    sleep 0.1
  done
  fail "no $1 x $2 window under the window manager"
}
main=$(client_window 320 240)
# Where the manager has finally put it (it may place a window anew when it is mapped again).
settled_pos() {
  local last= now tries=30
  while now=$(window_pos "$1") && [ "$now" != "$last" ]; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail "the window does not come to rest"
    last=$now
    sleep 0.3
  done
  echo "$now"
}
read -r x0 y0 <<<"$(settled_pos "$main")"
wait_for_motion $((x0 + 240)) $((y0 + 180)) 80 60 "under the window manager"
drag $((x0 + 100)) $((y0 + 100)) 200 150
wait_for_pos "$main" "$((x0 + 200)) $((y0 + 150))" "the video dragged under the window manager"
# The move has ended: the panel's pause button works again.
read -r px py <<<"$(window_pos "$(client_window 320 130)")"
click_panel 115 97 "$px" "$py"
sleep 0.6
changed=$(screen_change $((x0 + 440)) $((y0 + 330)) 80 60)
[ "$changed" = "0" ] || fail "after the managed move the pause button did nothing"
passed=$((passed + 1))
stop_zefa

echo "mouse: $passed checks passed"
