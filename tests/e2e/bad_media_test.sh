#!/usr/bin/env bash
# Media that cannot be played, on every engine, give way to the next entry; a list of nothing
# but such media stops after one round without a message; named pipes never freeze the player.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"
M=$ZEFA_MEDIA_DIR
# The library's failures are written to stderr as FAILED lines.
export GST_DEBUG=velmo:2

# The library's test clip has moving noise in its bottom right corner (window at 100, 50); a
# garbage .rm alone takes 10 s of silence before it counts as failed.
wait_for_moving_picture() { wait_for_motion 345 235 70 50 "$1" 60; }
failures() { grep -c 'FAILED(0x' "$E2E_TMP/zefa.log" || true; }

start_x

# A broken file of each engine, pipes that nobody writes to, frames that claim 30000 x 30000,
# and a clip the RealMedia control waits on in silence; then a good clip.
printf '%s\r\n' "$M/garbage.avi" "$M/fifo.avi" "$M/huge.avi" "$M/truncated.mp4" "$M/empty.avi" \
  "$M/garbage.swf" "$M/fifo.rm" "$M/garbage.rm" "$M/clip.avi" >"$PROG/zefa.hen"
write_settings Window_x=100 Window_y=50 Repeat=0 AutoPlay=1
start_zefa
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
wait_for_moving_picture "the good clip after the bad ones did not play"
[ "$(failures)" -ge 5 ] || fail "the library reported $(failures) failures, not 5"
stop_zefa

# Nothing in the list plays: one round with Repeat, then the player stops and stays stopped.
printf '%s\r\n' "$M/garbage.avi" "$M/empty.avi" "$M/fifo.avi" >"$PROG/zefa.hen"
write_settings Window_x=100 Window_y=50 Repeat=1 AutoPlay=1
start_zefa
tries=100
until [ "$(failures)" -ge 3 ]; do
  tries=$((tries - 1))
  [ $tries -gt 0 ] || fail "not every bad entry was tried: $(failures) failures"
  zefa_alive || fail "zefa ended during the round"
  sleep 0.1
done
sleep 3
[ "$(failures)" = 3 ] || fail "the player went on after one round: $(failures) failures"
grep -q '^zefa: message:' "$E2E_TMP/zefa.log" && fail "a message was shown for a bad entry"

# A pipe handed over does not freeze the player: it still takes the next hand-off and plays it.
for pipe in fifo.rm fifo.avi; do
  hand_off "$M/$pipe"
  wait_for_log "hand-off: 1 .*$pipe"
done
hand_off "$M/clip.avi"
wait_for_log "hand-off: 1 .*clip.avi"
wait_for_moving_picture "the clip handed over after the pipes did not play"
echo "bad media: 3 passed, 0 failed"
