#!/usr/bin/env bash
# The player starts with a black, borderless 320 x 240 main window at Window_x, Window_y.
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
echo "startup: 1 passed, 0 failed"
