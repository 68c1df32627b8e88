# Shared steps of the end-to-end tests: a private X server, a temporary program folder with
# the real zefa in it, and ways to look at its windows.
# Usage: source lib.sh ZEFA_BINARY LIBVELMO

set -euo pipefail

E2E_ZEFA=$1
E2E_VELMO=$2
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=convert

E2E_TMP=$(mktemp -d /tmp/zefa-e2e-XXXXXX)
chmod 700 "$E2E_TMP"
PROG=$E2E_TMP/prog
mkdir -p "$PROG" "$E2E_TMP/run"
chmod 700 "$E2E_TMP/run"
cp "$E2E_ZEFA" "$E2E_VELMO" "$PROG/"
# The bundled skins the build laid out beside the binary.
[ -d "$(dirname "$E2E_ZEFA")/Skin" ] && cp -r "$(dirname "$E2E_ZEFA")/Skin" "$PROG/"
export XDG_RUNTIME_DIR=$E2E_TMP/run # the single-instance lock is ours alone
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export ZEFA_TRACE=1

E2E_PIDS=()
e2e_cleanup() {
  local status=$?
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ $status -ne 0 ]; then
    for log in "$E2E_TMP"/*.log; do [ -f "$log" ] && { echo "--- $log"; tail -20 "$log"; }; done
  fi
  rm -rf "$E2E_TMP"
  exit $status
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts Xvfb on a free display and exports DISPLAY.
start_x() {
  local fifo=$E2E_TMP/displayfd
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  local n
  read -r -t 10 n <"$fifo" || fail "Xvfb did not start"
  export DISPLAY=:$n
}

# Starts zefa from the program folder with the given arguments; sets ZEFA_PID.
start_zefa() {
  "$PROG/zefa" "$@" >"$E2E_TMP/zefa.log" 2>&1 &
  ZEFA_PID=$!
  E2E_PIDS+=("$ZEFA_PID")
}

# Waits until the log holds a line matching the pattern.
wait_for_log() {
  local pattern=$1 tries=100
  until grep -q -- "$pattern" "$E2E_TMP/zefa.log"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail "no log line matching '$pattern'"
    sleep 0.1
  done
}

# Prints the id of the first visible window of the process for which the given test (a command
# that gets the window id as its last argument) succeeds; waits up to 10 s for one.
wait_for_window_where() {
  local pid=$1 tries=100 id
  shift
  while [ $tries -gt 0 ]; do
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      if "$@" "$id"; then
        echo "$id"
        return 0
      fi
    done
    tries=$((tries - 1))
    sleep 0.1
  done
  fail "no visible window of process $pid for which '$*' holds"
}

has_size() { [ "$(window_size "$3")" = "$1 $2" ]; }
# A top-level window without a frame is a direct child of the root window.
is_toplevel() { xwininfo -id "$1" -children | grep -q 'Parent window id: .*(the root window)'; }

wait_for_window() { wait_for_window_where "$1" has_size "$2" "$3"; }
# A top-level window of that size (children of the main window can have the same size).
is_toplevel_of_size() { has_size "$1" "$2" "$3" && is_toplevel "$3"; }
wait_for_toplevel_window() { wait_for_window_where "$1" is_toplevel_of_size "$2" "$3"; }
wait_for_toplevel() { wait_for_window_where "$1" is_toplevel; }

# "X Y" of a window's top-left corner on the screen.
window_pos() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}'
}
window_size() {
  xwininfo -id "$1" | awk '/^ *Width:/{w=$2} /^ *Height:/{h=$2} END{print w, h}'
}

# Largest channel value (0..255) in a rectangle of the screen.
screen_max() {
  local x=$1 y=$2 w=$3 h=$4
  xwd -root -silent | "$CONVERT" xwd:- -crop "${w}x${h}+${x}+${y}" +repage \
    -format '%[fx:int(255*maxima)]' info:
}

# Largest channel difference (0..255) in a rectangle of the screen between two looks 0.4 s apart:
# above 0 when the picture there moves.
screen_change() {
  local crop="$3x$4+$1+$2"
  xwd -root -silent | "$CONVERT" xwd:- -crop "$crop" +repage "$E2E_TMP/change-a.png"
  sleep 0.4
  xwd -root -silent | "$CONVERT" xwd:- -crop "$crop" +repage "$E2E_TMP/change-b.png"
  "$CONVERT" "$E2E_TMP/change-a.png" "$E2E_TMP/change-b.png" -compose difference -composite \
    -format '%[fx:int(255*maxima)]' info:
}

# Writes ZEFA.cfg with every setting at its default except the KEY=VALUE pairs given.
write_settings() {
  local defaults="Window_x=0 Window_y=0 Repeat=1 Randam=0 NormalZoom=2 FullZoom=5 ListBox=0
    Volume=75 FF=5000 REW=5000 WheelFF1=-1000 WheelFF2=-3000 WheelFF3=-9000 WheelFF4=-14000
    WheelFF5=-30000 WheelREW1=1000 WheelREW2=3000 WheelREW3=9000 WheelREW4=14000
    WheelREW5=30000 AutoTop=0 ScanLine=1 MauseVolume=1 Aspect=0 Info=1 InputMode=1
    FlushAutoNext=1 MainPanel_x=0 MainPanel_y=0 SkinName=Default01
    DropFileType=.mpg.mpeg.mp3.avi.wav.mov.rm.swf; RealFileType=.rm; MaskMode=0 U_Mask=2
    D_Mask=2 R_Mask=0 L_Mask=0 WheelFlg1=1 WheelFlg2=1 FlashQuality=0 AutoPlay=1 FlashScale=0
    FlashWindow=0"
  local line key pair value
  : >"$PROG/ZEFA.cfg"
  for line in $defaults; do
    key=${line%%=*}
    value=${line#*=}
    for pair in "$@"; do
      [ "${pair%%=*}" = "$key" ] && value=${pair#*=}
    done
    printf '%s=%s\r\n' "$key" "$value" >>"$PROG/ZEFA.cfg"
  done
}
