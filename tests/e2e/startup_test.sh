#!/usr/bin/env bash
# The player starts with a black, borderless 320 x 240 main window at Window_x, Window_y.
source "$(dirname "$0")/lib.sh" "$@"

start_x
printf 'Window_x=100\r\nWindow_y=50\r\n' >"$PROG/ZEFA.cfg"
start_zefa
main=$(wait_for_window "$ZEFA_PID" 320 240)
[ "$(window_pos "$main")" = "100 50" ] || fail "main window at $(window_pos "$main")"
is_toplevel "$main" || fail "main window is reparented"
sleep 0.3
[ "$(screen_max 100 50 320 240)" = "0" ] || fail "main window is not black"
kill -0 "$ZEFA_PID" || fail "zefa died"
echo "startup: 1 passed, 0 failed"
