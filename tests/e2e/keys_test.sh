#!/usr/bin/env bash
# The keyboard drives the player: Space pauses and resumes, F fills the screen and Esc brings
# back the window, Right plays the next entry, a held M raises the volume, and Ctrl+Alt+Q
# saves the settings and the playlist and ends the player, which comes back as it was left; a
# save that fails is said once and the keys still work afterwards.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

passed=0
start_x
write_settings Window_x=100 Window_y=50 MainPanel_x=500 MainPanel_y=400 Volume=75
printf '%s\r\n' "$ZEFA_MEDIA_DIR/clip.avi" "$ZEFA_MEDIA_DIR/clip640.avi" >"$PROG/zefa.hen"
start_zefa # no path: the saved playlist plays from its first entry
main=$(wait_for_window "$ZEFA_PID" 320 240)
# The clip's noise patch in its bottom right corner moves while it plays.
wait_for_motion 345 235 70 50 "first entry"

type_keys "$main" space
sleep 0.5
changed=$(screen_change 345 235 70 50)
[ "$changed" = "0" ] || fail "Space did not freeze the picture (difference $changed)"
type_keys "$main" space
wait_for_motion 345 235 70 50 "after the second Space"
passed=$((passed + 1))

type_keys "$main" f
wait_for_window "$ZEFA_PID" 1024 768 >/dev/null
type_keys "$main" Escape
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
[ "$(window_pos "$main")" = "100 50" ] || fail "after Esc the window is at $(window_pos "$main")"
passed=$((passed + 1))

type_keys "$main" Right
main=$(wait_for_window "$ZEFA_PID" 640 480)
passed=$((passed + 1))

# The panel's volume slider (236, 89, 72 x 14 in Default01) grows while M is held.
slider() { xwd -root -silent | "$CONVERT" xwd:- -crop 72x14+736+489 +repage "$E2E_TMP/$1.png"; }
slider before
timeout 10 xdotool windowfocus --sync "$main" keydown m || fail "could not press M"
sleep 1.5
xdotool keyup m
sleep 0.5
slider after
differs=$("$CONVERT" "$E2E_TMP/before.png" "$E2E_TMP/after.png" -compose difference -composite \
  -format '%[fx:int(255*maxima)]' info:)
[ "$differs" -gt 32 ] || fail "the volume slider did not change while M was held"
passed=$((passed + 1))

# A playlist that cannot be saved: said once, and the player stays and still takes keys.
rm -f "$PROG/zefa.hen"
mkdir "$PROG/zefa.hen"
type_keys "$main" ctrl+alt+q
box=$(wait_for_dialog "$ZEFA_PID")
answer_dialog "$box"
sleep 1
zefa_alive || fail "a failed save ended the player"
[ "$(grep -c 'zefa: message: ' "$E2E_TMP/zefa.log")" = 1 ] || fail "the failed save was not said exactly once"
grep -q "zefa.hen を作成できません" "$E2E_TMP/zefa.log" || fail "no message naming zefa.hen"
rmdir "$PROG/zefa.hen"
passed=$((passed + 1))

type_keys "$main" ctrl+alt+q
wait_for_exit 0
[ "$(wc -l <"$PROG/ZEFA.cfg")" = 43 ] || fail "ZEFA.cfg has $(wc -l <"$PROG/ZEFA.cfg") lines"
[ "$(grep -c $'\r$' "$PROG/ZEFA.cfg")" = 43 ] || fail "ZEFA.cfg lines do not end in CR LF"
grep -q $'^Volume=100\r$' "$PROG/ZEFA.cfg" || fail "the raised volume was not saved: $(grep Volume "$PROG/ZEFA.cfg")"
[ "$(cat "$PROG/zefa.hen")" = "$(printf '%s\r\n' "$ZEFA_MEDIA_DIR/clip.avi" "$ZEFA_MEDIA_DIR/clip640.avi")" ] ||
  fail "zefa.hen holds: $(cat -A "$PROG/zefa.hen")"
cp "$PROG/ZEFA.cfg" "$E2E_TMP/saved.cfg"
passed=$((passed + 1))

# A restart comes back with the same settings and playlist: quitting again at once writes the
# same two files.
start_zefa
main=$(wait_for_window "$ZEFA_PID" 320 240)
wait_for_motion 345 235 70 50 "after the restart"
type_keys "$main" ctrl+alt+q
wait_for_exit 0
cmp -s "$PROG/ZEFA.cfg" "$E2E_TMP/saved.cfg" || fail "the settings changed over a restart: $(diff "$E2E_TMP/saved.cfg" "$PROG/ZEFA.cfg" | tr '\r' ' ')"
[ "$(wc -l <"$PROG/zefa.hen")" = 2 ] || fail "the playlist changed over a restart"
passed=$((passed + 1))
echo "keys: $passed passed, 0 failed"
