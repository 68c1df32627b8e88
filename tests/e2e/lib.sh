# Shared steps of the end-to-end tests: a private X server, a temporary program folder with
# the real zefa in it, ways to look at its windows, and a report of how zefa ended when it did
# so early (its log, its own crash report resolved to source lines, the core's threads).
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

# Cores land beside the logs (a core_pattern that is a plain name is relative to the
# working directory); where cores go to a pipe, zefa's own report in its log still tells.
ulimit -c unlimited 2>/dev/null || true
E2E_PIDS=()  # helpers: the X server, the drag source
ZEFA_PID=    # the zefa started last
ZEFA_STATUS= # its exit status, once collected
ZEFA_LOG_SHOWN=

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# True while the process runs (an ended child that has not been waited for is a zombie).
running() {
  local state
  state=$(sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$state" ] && [ "${state:0:1}" != Z ]
}

# Ends a child of ours within a few seconds, TERM first, then KILL; returns its exit status.
stop_process() {
  local pid=$1 tries=50 status=0
  kill -TERM "$pid" 2>/dev/null || true
  while running "$pid" && [ $tries -gt 0 ]; do
    tries=$((tries - 1))
    sleep 0.1
  done
  running "$pid" && kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || status=$?
  return $status
}

zefa_alive() { [ -n "$ZEFA_PID" ] && [ -z "$ZEFA_STATUS" ] && running "$ZEFA_PID"; }

signal_name() { kill -l "$1" 2>/dev/null || echo "?"; }

# zefa's own crash report in a log (see crash_report.cpp), with the frames of zefa and
# libvelmo.so turned into functions and source lines.
print_crash_frames() {
  local log=$1 line file symbol offset base
  grep -q 'zefa: fatal signal' "$log" 2>/dev/null || return 0
  echo "--- crash report in $log"
  sed -n '/zefa: fatal signal/,$p' "$log" | while IFS= read -r line; do
    echo "  $line"
    [[ $line =~ ^(.*/)?(zefa|libvelmo\.so)\(([^+\)]*)\+(0x[0-9a-f]+)\) ]] || continue
    file=$PROG/${BASH_REMATCH[2]}
    symbol=${BASH_REMATCH[3]}
    offset=${BASH_REMATCH[4]}
    base=0
    if [ -n "$symbol" ]; then
      base=$({ nm -D --defined-only "$file"; nm --defined-only "$file"; } 2>/dev/null |
        awk -v s="$symbol" '$3 == s && !found { print "0x" $1; found = 1 }')
      [ -n "$base" ] || continue
    fi
    # A return address: the call lies just before it.
    addr2line -f -C -i -e "$file" "$(printf '0x%x' $((base + offset - 1)))" |
      paste - - | sed 's/^/      /; s/\t/ at /'
  done
}

# The threads of a core file zefa left in the working directory.
print_core() {
  local core
  for core in "$E2E_TMP/core.$ZEFA_PID" "$E2E_TMP/core"; do
    [ -f "$core" ] || continue
    if ! command -v gdb >/dev/null; then
      echo "--- $core (no gdb to read it)"
      return
    fi
    echo "--- threads of $core"
    timeout -k 5 60 gdb -q -batch -ex 'bt' -ex 'thread apply all bt' "$PROG/zefa" "$core" 2>&1 |
      grep -v '^\[New LWP' | head -400 || true
    return
  done
  echo "--- no core file (core_pattern: $(cat /proc/sys/kernel/core_pattern 2>/dev/null))"
}

# Collects the exit status of zefa, which has ended; when it was not the stop we asked for
# (EXPECTED, an exit status), reports how it ended, its log and its crash traces, and fails.
collect_zefa() {
  local expected=${1:-} status=0
  wait "$ZEFA_PID" 2>/dev/null || status=$?
  ZEFA_STATUS=$status
  [ "$status" = "$expected" ] && return 0
  {
    if [ "$status" -gt 128 ]; then
      local sig=$((status - 128))
      echo "zefa (pid $ZEFA_PID) was ended by signal $sig (SIG$(signal_name $sig))"
    else
      echo "zefa (pid $ZEFA_PID) ended by itself with exit status $status"
    fi
    echo "--- $E2E_TMP/zefa.log (last 30 lines before any crash report)"
    sed '/zefa: fatal signal/,$d' "$E2E_TMP/zefa.log" 2>/dev/null | tail -30
    ZEFA_LOG_SHOWN=1
    print_crash_frames "$E2E_TMP/zefa.log"
    [ "$status" -gt 128 ] && print_core
  } >&2
  return 1
}

# Ends zefa (TERM, then KILL after 5 s) unless it has ended already, and collects its exit
# status; returns non-zero, after a report, when it had ended by itself or TERM did not end it.
end_zefa() {
  [ -n "$ZEFA_PID" ] && [ -z "$ZEFA_STATUS" ] || return 0
  if ! zefa_alive; then
    collect_zefa
    return
  fi
  kill -TERM "$ZEFA_PID" 2>/dev/null || true
  local tries=50
  while running "$ZEFA_PID" && [ $tries -gt 0 ]; do
    tries=$((tries - 1))
    sleep 0.1
  done
  running "$ZEFA_PID" && kill -KILL "$ZEFA_PID" 2>/dev/null
  collect_zefa $((128 + 15))
}
stop_zefa() { end_zefa || fail "zefa did not run until it was stopped"; }

# Waits up to 10 s for zefa to end by itself and checks its exit status.
wait_for_exit() {
  local expected=$1 tries=100
  while running "$ZEFA_PID"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail "zefa still ran 10 s after it was asked to end"
    sleep 0.1
  done
  collect_zefa "$expected" || fail "zefa did not end with status $expected"
}

# Types keys into a window: xdotool key names (space, Right, ctrl+alt+q).
type_keys() {
  local win=$1
  shift
  timeout 10 xdotool windowfocus --sync "$win" key --delay 80 "$@" || fail "could not type $*"
}

e2e_cleanup() {
  local status=$?
  trap - EXIT
  set +e
  if ! end_zefa && [ $status -eq 0 ]; then
    echo "FAIL: zefa did not run until the end of the test" >&2
    status=1
  fi
  for pid in "${E2E_PIDS[@]}"; do stop_process "$pid"; done
  if [ $status -ne 0 ]; then
    for log in "$E2E_TMP"/*.log; do
      [ -f "$log" ] || continue
      [ "$log" = "$E2E_TMP/zefa.log" ] && [ -n "$ZEFA_LOG_SHOWN" ] && continue
      echo "--- $log"
      tail -20 "$log"
      [ "$log" = "$E2E_TMP/zefa.log" ] && print_crash_frames "$log"
    done
  fi
  rm -rf "$E2E_TMP"
  exit $status
}
trap e2e_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# Starts Xvfb on a free display and exports DISPLAY. Without -noreset a server resets whenever
# its last client leaves and refuses connections for that moment; `start_x resetting` asks for
# such a server.
start_x() {
  local fifo=$E2E_TMP/displayfd fd n reset=-noreset
  [ "${1:-}" = resetting ] && reset=
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp $reset 3>"$fifo" >>"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  exec {fd}<>"$fifo" # (read-write: the open does not wait for the writer)
  read -r -t 10 -u "$fd" n || fail "Xvfb did not start"
  exec {fd}<&-
  export DISPLAY=:$n
}

# Starts zefa from the program folder with the given arguments; sets ZEFA_PID.
start_zefa() {
  (cd "$E2E_TMP" && exec "$PROG/zefa" "$@") >"$E2E_TMP/zefa.log" 2>&1 &
  ZEFA_PID=$!
  ZEFA_STATUS=
}

# Runs a second zefa, which hands its path to the running one and ends; fails, with its output
# and any crash report resolved, when it does not end well within 10 s.
hand_off() {
  local status=0 out=$E2E_TMP/hand_off.out
  (cd "$E2E_TMP" && exec timeout -k 2 10 "$PROG/zefa" "$@") >"$out" 2>&1 || status=$?
  cat "$out"
  [ $status -ne 0 ] || return 0
  print_crash_frames "$out" >&2
  [ $status -eq 124 ] && fail "a second zefa $* still ran after 10 s"
  fail "a second zefa $* ended with status $status"
}

# Waits until the log holds a line matching the pattern.
wait_for_log() {
  local pattern=$1 tries=100
  until grep -q -- "$pattern" "$E2E_TMP/zefa.log"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail "no log line matching '$pattern'"
    zefa_alive || fail "zefa ended while waiting for a log line matching '$pattern'"
    sleep 0.1
  done
}

# A top-level window: with no window manager, a direct child of the root window.
# (Captured first: grep -q ending early would break the pipe, and pipefail would count that.)
is_toplevel() {
  local info
  info=$(xwininfo -id "$1" -children 2>/dev/null) || return 1
  grep -q 'Parent window id: .*(the root window)' <<<"$info"
}
has_size() { [ "$(window_size "$3")" = "$1 $2" ]; }
# Qt marks a message box (any QDialog) as a dialog; the other windows are normal or utility.
is_dialog() {
  local types
  types=$(xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null) || return 1
  grep -q '_NET_WM_WINDOW_TYPE_DIALOG' <<<"$types"
}
is_not_dialog() { ! is_dialog "$1"; }

# The ids of the visible top-level windows of a process.
toplevel_windows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    is_toplevel "$id" && echo "$id"
  done
  return 0
}

# Prints the id of the one visible top-level window of the process for which the given test (a
# command that gets the window id as its last argument) succeeds; waits up to 10 s for it and
# fails at once when two windows pass.
wait_for_window_where() {
  local pid=$1 tries=100 id found
  shift
  while [ $tries -gt 0 ]; do
    found=()
    for id in $(toplevel_windows "$pid"); do
      "$@" "$id" && found+=("$id")
    done
    [ ${#found[@]} -le 1 ] || fail "${#found[@]} windows of process $pid pass '$*': ${found[*]}"
    if [ ${#found[@]} -eq 1 ]; then
      echo "${found[0]}"
      return 0
    fi
    running "$pid" || fail "process $pid ended while waiting for a window for which '$*' holds"
    tries=$((tries - 1))
    sleep 0.1
  done
  fail "no visible top-level window of process $pid for which '$*' holds"
}

# The top-level window of that size that is not a dialog (child windows of the main window can
# have its size; Qt marks them with the process id as well).
is_window_of_size() { has_size "$1" "$2" "$3" && is_not_dialog "$3"; }
wait_for_window() { wait_for_window_where "$1" is_window_of_size "$2" "$3"; }
# The message box, among the main, panel and playlist windows.
wait_for_dialog() { wait_for_window_where "$1" is_dialog; }
# Presses Return in a message box.
answer_dialog() {
  sleep 0.2
  timeout 10 xdotool windowfocus --sync "$1" key Return || fail "the message box was not answered"
}

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

# Waits until the picture in a screen area moves: X Y W H WHAT [LOOKS] (20 looks by default,
# each about half a second); fails naming WHAT.
wait_for_motion() {
  local x=$1 y=$2 w=$3 h=$4 what=$5 tries=${6:-20} changed=0
  until changed=$(screen_change "$x" "$y" "$w" "$h") && [ "$changed" -gt 32 ]; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail "$what: the picture did not move (max difference $changed)"
    zefa_alive || fail "$what: zefa ended"
  done
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
