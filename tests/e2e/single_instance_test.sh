#!/usr/bin/env bash
# A second instance hands its path to the first and ends at once without a window; one without
# a path just ends; garbage on the hand-off socket changes nothing; a long runtime folder still
# has a socket; a lock that cannot be opened is a failure, not a running instance.
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
stop_zefa

# A runtime folder of 150 bytes: the socket's path does not fit a socket address as it is.
long=$E2E_TMP/$(printf 'r%.0s' $(seq $((150 - ${#E2E_TMP} - 1))))
mkdir -m 700 "$long"
[ ${#long} = 150 ] || fail "the long runtime folder has ${#long} bytes"
export XDG_RUNTIME_DIR=$long
start_zefa
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
hand_off /tmp/long.avi
wait_for_log 'hand-off: 1 /tmp/long.avi'
[ -S "$long/ZaraDaruRirizEraveRiVELMOKIND" ] || fail "no socket in the long runtime folder"
stop_zefa

# A folder where the lock belongs is no running instance: a reason and a failure.
bad=$E2E_TMP/bad-run
mkdir -m 700 "$bad" "$bad/ZaraDaruRirizEraveRiVELMOKIND.lock"
status=0
XDG_RUNTIME_DIR=$bad timeout -k 2 10 "$PROG/zefa" /tmp/x.avi >"$E2E_TMP/bad-lock.out" 2>&1 ||
  status=$?
[ $status != 0 ] && [ $status != 124 ] || fail "with a folder at the lock zefa ended with status $status"
grep -q "ZaraDaruRirizEraveRiVELMOKIND.lock: Is a directory" "$E2E_TMP/bad-lock.out" ||
  fail "no reason for the lock: $(cat "$E2E_TMP/bad-lock.out")"
echo "single instance: 3 passed, 0 failed"
