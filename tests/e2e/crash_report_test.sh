#!/usr/bin/env bash
# A fatal signal leaves its traces: zefa writes the signal and a backtrace to its log, whose own
# frames the harness resolves to functions and lines, and still ends by the signal (so the shell
# sees 128 + 11 and the kernel writes a core where it is set up to).
source "$(dirname "$0")/lib.sh" "$@"

start_x
write_settings Window_x=100 Window_y=50
start_zefa
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
kill -SEGV "$ZEFA_PID"
tries=100
while running "$ZEFA_PID"; do
  tries=$((tries - 1))
  [ $tries -gt 0 ] || fail "zefa still runs 10 s after SIGSEGV"
  sleep 0.1
done
status=0
wait "$ZEFA_PID" || status=$?
ZEFA_STATUS=$status # ended as planned: nothing for the cleanup to report
[ $status -eq 139 ] || fail "exit status $status, not 139 (SIGSEGV)"

grep -q '^zefa: fatal signal 11 (SIGSEGV), sent by process ' "$E2E_TMP/zefa.log" ||
  fail "no report of the signal in the log"
report=$(print_crash_frames "$E2E_TMP/zefa.log")
# The handler itself and main() are always on the stack of the thread that took the signal.
grep -Eq '^ +main at .*/player/main\.cpp:[0-9]+' <<<"$report" ||
  fail "main() is not among the resolved frames:
$report"
grep -Eq '^ +.*on_fatal_signal.* at .*/crash_report\.cpp:[0-9]+' <<<"$report" ||
  fail "the handler is not among the resolved frames:
$report"

# Where the kernel writes cores by a plain name, the harness reads the threads from it.
pattern=$(cat /proc/sys/kernel/core_pattern)
if [ "${pattern:0:1}" != "|" ] && [ "$(ulimit -c)" = unlimited ]; then
  threads=$(print_core)
  grep -q 'Program terminated with signal SIGSEGV' <<<"$threads" || fail "no core read:
$threads"
  grep -Eq '^#[0-9]+ +0x[0-9a-f]+ in main\(.* at .*/player/main\.cpp:[0-9]+' <<<"$threads" ||
    fail "main() is not in the core's backtrace:
$threads"
  result="2 passed"
else
  echo "the kernel hands cores to '$pattern', core limit $(ulimit -c): core not checked"
  result="1 passed"
fi
echo "crash report: $result, 0 failed"
