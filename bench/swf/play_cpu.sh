#!/usr/bin/env bash
# CPU of zefa playing the busy bench movie (render_bench --write) under a private Xvfb: the
# share of one core over 10 s, with the movie in its window and full screen (1024 x 768).
# A benchmark to read, not a test. Usage: play_cpu.sh BUILD_DIR
build=${1:-build}
source "$(dirname "$0")/../../tests/e2e/lib.sh" "$build/bin/zefa" "$build/bin/libvelmo.so"
unset ZEFA_TRACE

"$build/bench/swf/render_bench" --write "$E2E_TMP/busy.swf"
start_x
write_settings Repeat=1 InputMode=1
start_zefa "$E2E_TMP/busy.swf"
wait_for_window "$ZEFA_PID" 320 256 >/dev/null

cpu_ticks() { awk '{print $14 + $15}' "/proc/$ZEFA_PID/stat"; }
share() {
  local a b hz
  hz=$(getconf CLK_TCK)
  sleep 2 # settle after the change of view
  a=$(cpu_ticks)
  sleep 10
  b=$(cpu_ticks)
  awk -v d=$((b - a)) -v hz="$hz" 'BEGIN { printf "%.1f %% of one core", 100 * d / hz / 10 }'
}
echo "window (stage 320 x 233): $(share)"
xdotool key f
echo "full screen (stage 1024 x 745): $(share)"
stop_zefa
