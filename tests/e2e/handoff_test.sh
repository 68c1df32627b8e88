#!/usr/bin/env bash
# What a second instance hands over plays in the first: right after the first was launched,
# as a path relative to another folder, and while idle connections hold the socket.
source "$(dirname "$0")/lib.sh" "$@"
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

LOCK=$XDG_RUNTIME_DIR/ZaraDaruRirizEraveRiVELMOKIND.lock
SOCK=$XDG_RUNTIME_DIR/ZaraDaruRirizEraveRiVELMOKIND

# Waits until zefa holds the instance lock (seen in /proc/locks, never taken to look).
wait_for_lock() {
  local tries=500 inode
  until [ -f "$LOCK" ] && inode=$(stat -c %i "$LOCK") &&
    grep -Eq "FLOCK +ADVISORY +WRITE +$ZEFA_PID [0-9a-f]+:[0-9a-f]+:$inode " /proc/locks; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail "zefa did not take the instance lock"
    zefa_alive || fail "zefa ended before it took the instance lock"
    sleep 0.01
  done
}

# Waits until the picture in the main window moves.
wait_for_picture() { wait_for_motion 100 66 320 224 "$1"; }

start_x
write_settings Window_x=100 Window_y=50

# Before the first tick has chosen the playlist.
start_zefa
sleep 0.02
wait_for_lock
hand_off "$ZEFA_MEDIA_DIR/clip.avi"
wait_for_log "hand-off: 1 $ZEFA_MEDIA_DIR/clip.avi"
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
wait_for_picture "a hand-off right after the first launch"
stop_zefa

# From the media folder, a relative name (not UTF-8) that means nothing in the first's folder.
start_zefa
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
name=$(printf 'caf\xe9.avi')
status=0
(cd "$ZEFA_MEDIA_DIR" && exec timeout -k 2 10 "$PROG/zefa" "$name") >"$E2E_TMP/relative.out" 2>&1 ||
  status=$?
[ $status = 0 ] || fail "the relative hand-off ended with status $status: $(cat "$E2E_TMP/relative.out")"
wait_for_log "hand-off: 1 $(cd "$ZEFA_MEDIA_DIR" && pwd -P)/$name\$"
wait_for_picture "a relative hand-off"
stop_zefa

# Eight connections that send nothing, then a real second instance.
start_zefa
wait_for_window "$ZEFA_PID" 320 240 >/dev/null
for i in $(seq 8); do
  socat -d -d -u "UNIX-CONNECT:$SOCK" STDOUT >/dev/null 2>"$E2E_TMP/idle$i.log" &
  E2E_PIDS+=($!)
done
for i in $(seq 8); do
  tries=100
  until grep -q 'starting data transfer loop' "$E2E_TMP/idle$i.log"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || fail "idle connection $i was not made: $(cat "$E2E_TMP/idle$i.log")"
    sleep 0.02
  done
done
hand_off "$ZEFA_MEDIA_DIR/clip.avi"
wait_for_log "hand-off: 1 $ZEFA_MEDIA_DIR/clip.avi"
wait_for_picture "a hand-off past idle connections"
stop_zefa
echo "handoff: 3 passed, 0 failed"
