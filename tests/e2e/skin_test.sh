#!/usr/bin/env bash
# The panel wears the skin named in the settings, shaped by its outline; another skin re-shapes
# it; a skin whose table is garbage is reported and the player keeps running.
source "$(dirname "$0")/lib.sh" "$@"

# A settings file up to SkinName, with the panel below the main window.
settings() {
  printf 'Window_x=20\r\nWindow_y=20\r\nRepeat=1\r\nRandam=0\r\nNormalZoom=2\r\nFullZoom=5\r\n'
  printf 'ListBox=0\r\nVolume=75\r\nFF=5000\r\nREW=5000\r\n'
  for i in 1 2 3 4 5; do printf 'WheelFF%s=-1000\r\n' $i; done
  for i in 1 2 3 4 5; do printf 'WheelREW%s=1000\r\n' $i; done
  printf 'AutoTop=0\r\nScanLine=1\r\nMauseVolume=1\r\nAspect=0\r\nInfo=1\r\nInputMode=1\r\n'
  printf 'FlushAutoNext=1\r\nMainPanel_x=40\r\nMainPanel_y=300\r\nSkinName=%s\r\n' "$1"
}

# The panel size from the skin's table, "W H".
panel_size() { awk -F'[=,\r]' 'NR==1 {print $4, $5}' "$PROG/Skin/$1/main.da1"; }

# Largest channel value at one screen pixel.
pixel_max() { screen_max "$1" "$2" 1 1; }

start_x
# A point of each skin's body, away from buttons and the display.
declare -A body=([Default01]="160 13" [Default02]="237 102")
for skin in Default01 Default02; do
  settings "$skin" >"$PROG/ZEFA.cfg"
  start_zefa
  read -r w h < <(panel_size "$skin")
  panel=$(wait_for_window "$ZEFA_PID" "$w" "$h")
  [ "$(window_pos "$panel")" = "40 300" ] || fail "$skin: panel at $(window_pos "$panel")"
  sleep 0.5
  # Inside the outline the graphite body shows; outside it the black root window.
  read -r bx by <<<"${body[$skin]}"
  [ "$(pixel_max $((40 + bx)) $((300 + by)))" -gt 20 ] || fail "$skin: body not drawn"
  [ "$(pixel_max 40 300)" = "0" ] || fail "$skin: the corner is not cut away"
  if [ "$skin" = Default02 ]; then
    # The ring-shaped gap around the dial's play button lets the root show through.
    [ "$(pixel_max $((40 + 56)) $((300 + 56 - 21)))" = "0" ] || fail "no gap around the dial"
    [ "$(pixel_max $((40 + 56)) $((300 + 56)))" -gt 20 ] || fail "no play button on the dial"
  fi
  stop_zefa
done

mkdir -p "$PROG/Skin/Broken"
printf 'Panel=0,0,320,130\r\nPlay=1,2,three,4\r\n' >"$PROG/Skin/Broken/main.da1"
settings Broken >"$PROG/ZEFA.cfg"
start_zefa
wait_for_log "message: 'three' は整数ではありません"
box=$(wait_for_dialog "$ZEFA_PID")
answer_dialog "$box"
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
sleep 0.3
zefa_alive || fail "zefa died after the broken skin"
echo "skin: 1 passed, 0 failed"
