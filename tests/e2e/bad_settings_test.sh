#!/usr/bin/env bash
# A settings value that is not an integer is reported in a message box; the player keeps running.
source "$(dirname "$0")/lib.sh" "$@"

start_x
printf 'Window_x=10\r\nWindow_y=20\r\nRepeat=1\r\nRandam=0\r\nNormalZoom=2\r\nFullZoom=5\r\nListBox=0\r\nVolume=12 \r\n' \
  >"$PROG/ZEFA.cfg"
start_zefa
wait_for_log "message: '12 ' は整数ではありません"
# The main window shows only after the box has been answered.
box=$(wait_for_dialog "$ZEFA_PID")
answer_dialog "$box"
main=$(wait_for_window "$ZEFA_PID" 320 240)
[ "$(window_pos "$main")" = "10 20" ] || fail "main window at $(window_pos "$main")"
zefa_alive || fail "zefa died"
echo "bad settings: 1 passed, 0 failed"
