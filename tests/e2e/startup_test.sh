#!/usr/bin/env bash
# The player starts with a black, borderless 320 x 240 main window at Window_x, Window_y; it
# starts on a server that resets between clients, and fails plainly without one.
source "$(dirname "$0")/lib.sh" "$@"

start_x
printf 'Window_x=100\r\nWindow_y=50\r\n' >"$PROG/ZEFA.cfg"
start_zefa
main=$(wait_for_window "$ZEFA_PID" 320 240)
[ "$(window_pos "$main")" = "100 50" ] || fail "main window at $(window_pos "$main")"
is_toplevel "$main" || fail "main window is reparented"
# The lookup has something to tell apart: a child window of the main window, of the same size
# and with the same process id, which a lookup by size alone could return.
twin=
for _ in $(seq 50); do
  for id in $(xdotool search --onlyvisible --pid "$ZEFA_PID" 2>/dev/null); do
    has_size 320 240 "$id" && ! is_toplevel "$id" && twin=$id
  done
  [ -n "$twin" ] && break
  sleep 0.1
done
[ -n "$twin" ] || fail "no child window of the main window's size"
[ "$twin" != "$main" ] || fail "the lookup returned a child window"
sleep 0.3
[ "$(screen_max 100 50 320 240)" = "0" ] || fail "main window is not black"
zefa_alive || fail "zefa died"
stop_zefa

# A server that resets when its last client leaves refuses connections for a moment; zefa
# starting while short-lived clients come and go (window lookups, screenshots) still starts.
start_x resetting
for run in $(seq 15); do
  start_zefa
  for _ in $(seq 10); do xdotool search --onlyvisible --pid "$ZEFA_PID" >/dev/null 2>&1 || true; done
  wait_for_window "$ZEFA_PID" 320 240 >/dev/null
  stop_zefa
done

# No X server at all: a clear message and a plain failure, not a crash.
status=0
DISPLAY=:$((1000 + RANDOM % 1000)) "$PROG/zefa" >"$E2E_TMP/nodisplay.log" 2>&1 || status=$?
[ "$status" = 1 ] || fail "without a display zefa ended with status $status"
grep -q "zefa: cannot connect to the X display" "$E2E_TMP/nodisplay.log" ||
  fail "no message without a display: $(cat "$E2E_TMP/nodisplay.log")"

# --help and --version print and end, display or not; a file of that name plays instead.
out=$(env -u DISPLAY "$PROG/zefa" --help) || fail "--help ended with status $?"
[[ "$out" == "Usage: zefa [FILE]"* ]] || fail "--help printed: $out"
out=$(env -u DISPLAY "$PROG/zefa" --version) || fail "--version ended with status $?"
[[ "$out" =~ ^ZEFA\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed: $out"
start_x
cp "$PROG/zefa" "$E2E_TMP/--help" # any file will do: it is the name that counts
start_zefa --help
grep -q "Usage" "$E2E_TMP/zefa.log" && fail "a file named --help was not taken as a file"
wait_for_window "$ZEFA_PID" 320 130 >/dev/null # the panel
zefa_alive || fail "zefa died on a file named --help"
stop_zefa
echo "startup: 5 passed, 0 failed"
