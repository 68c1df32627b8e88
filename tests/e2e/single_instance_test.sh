#!/usr/bin/env bash
# A second instance hands its path to the first and ends at once without a window; one without
# a path just ends; garbage on the hand-off socket changes nothing.
source "$(dirname "$0")/lib.sh" "$@"

start_x
printf 'Window_x=0\r\nWindow_y=0\r\n' >"$PROG/ZEFA.cfg"
start_zefa
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
windows_before=$(xdotool search --onlyvisible --name '' 2>/dev/null | wc -l)

start=$(date +%s%N)
hand_off "/tmp/some clip.avi"
elapsed=$((($(date +%s%N) - start) / 1000000))
[ "$elapsed" -lt 1000 ] || fail "second instance took ${elapsed} ms"
wait_for_log 'hand-off: 1 /tmp/some clip.avi'

hand_off
sleep 0.3
[ "$(grep -c 'hand-off:' "$E2E_TMP/zefa.log")" = 1 ] || fail "a hand-off without a path arrived"

# Garbage, a truncated record and an oversized one on the socket.
sock=$XDG_RUNTIME_DIR/ZaraDaruRirizEraveRiVELMOKIND
head -c 5000 /dev/urandom | timeout 5 socat - "UNIX-CONNECT:$sock" >/dev/null 2>&1 || true
printf '\001\000\000\000\100\000\000\000/x' | timeout 5 socat - "UNIX-CONNECT:$sock" >/dev/null 2>&1 || true
{ printf '\001\000\000\000\377\377\001\000'; head -c 70000 /dev/zero; } |
  timeout 5 socat - "UNIX-CONNECT:$sock" >/dev/null 2>&1 || true
sleep 0.5
zefa_alive || fail "zefa died on a garbage record"
[ "$(grep -c 'hand-off:' "$E2E_TMP/zefa.log")" = 1 ] || fail "a garbage record was taken"
hand_off /tmp/after.avi
wait_for_log 'hand-off: 1 /tmp/after.avi'

windows_after=$(xdotool search --onlyvisible --name '' 2>/dev/null | wc -l)
[ "$windows_before" = "$windows_after" ] || fail "a window appeared: $windows_before -> $windows_after"
echo "single instance: 1 passed, 0 failed"
