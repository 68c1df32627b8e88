#!/usr/bin/env bash
# A folder tree dragged from another program onto the main window becomes the sorted playlist
# (byte order in the C locale, hidden files in, the link cycle walked once) and playback is
# requested.
# Usage: drop_test.sh ZEFA LIBVELMO DRAG_SOURCE
source "$(dirname "$0")/lib.sh" "$@"
DRAG=$3
export LC_ALL=C

start_x
printf 'Window_x=100\r\nWindow_y=50\r\n' >"$PROG/ZEFA.cfg"
tree=$E2E_TMP/tree
mkdir -p "$tree/sub/deeper" "$tree/Other"
touch "$tree/b.mp3" "$tree/A.avi" "$tree/notes.txt" "$tree/sub/c.wav" "$tree/sub/deeper/d.MPG" \
  "$tree/Other/e.mp3" "$tree/.hidden.wav" "$tree/$(printf '\377')raw.mp3"
ln -s "$tree" "$tree/sub/loop" # a cycle the walk must not follow forever
expected=$(printf '%s\n' "$tree/.hidden.wav" "$tree/A.avi" "$tree/Other/e.mp3" "$tree/b.mp3" \
  "$tree/sub/c.wav" "$tree/sub/deeper/d.MPG" "$tree/$(printf '\377')raw.mp3")

start_zefa
main=$(wait_for_window "$ZEFA_PID" 320 240) # (not to /dev/null: a failure's logs go to stdout)
[ "$(window_pos "$main")" = "100 50" ] || fail "main window at $(window_pos "$main")"

# Presses on the drag source, moves in steps onto the target point and lets go there.
drag_to() {
  local x=$1 y=$2
  : >"$E2E_TMP/drag.log"
  "$DRAG" 700 500 "$tree" >"$E2E_TMP/drag.log" 2>&1 &
  local pid=$! source_window
  E2E_PIDS+=("$pid")
  source_window=$(wait_for_window "$pid" 80 80)
  [ -n "$source_window" ] || fail "no drag source window"
  xdotool mousemove 740 540 mousedown 1
  sleep 0.3
  for p in "600 400" "400 300" "$((x - 5)) $((y - 5))" "$x $y"; do
    xdotool mousemove $p
    sleep 0.15
  done
  xdotool mouseup 1
  local tries=50
  until grep -q 'drag-source: dropped' "$E2E_TMP/drag.log"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail "the drag was not taken: $(cat "$E2E_TMP/drag.log")"
    sleep 0.1
  done
}

drag_to 260 170 # the main window's middle
# The target fetches the dropped data from the source after the source's drag has ended, so
# the source stays up until the player has the drop.
wait_for_log 'zefa: drop: 7 entries, play_state 2, switch_stage 1'
got=$(grep '^zefa: entry: ' "$E2E_TMP/zefa.log" | sed 's/^zefa: entry: //')
[ "$got" = "$expected" ] || fail "playlist after the drop:
$got"
zefa_alive || fail "zefa died"
echo "drop: 1 passed, 0 failed"
