#!/usr/bin/env bash
# A named pipe or a link to /dev/zero in place of each file beside the program: the player
# shows that file's message, comes up and stays small, instead of hanging in start-up.
source "$(dirname "$0")/lib.sh" "$@"

start_x
skin=$PROG/Skin/Default01
cp "$skin/main.da1" "$E2E_TMP/main.da1"
cp "$skin/main.bmp" "$E2E_TMP/main.bmp"

# Peak memory of zefa in MiB.
peak_mib() { awk '/^VmHWM:/ { print int($2 / 1024) }' "/proc/$ZEFA_PID/status"; }

for kind in pipe zero; do
  for file in ZEFA.cfg zefa.hen main.da1 main.bmp; do
    case $file in
    main.*) target=$skin/$file ;;
    *) target=$PROG/$file ;;
    esac
    rm -f "$target"
    if [ $kind = pipe ]; then mkfifo "$target"; else ln -s /dev/zero "$target"; fi
    message="I/O エラー (22)"
    [ $file = main.bmp ] && message="ファイル $target は開けません"

    start_zefa
    wait_for_log "message: $message"
    answer_dialog "$(wait_for_dialog "$ZEFA_PID")"
    wait_for_window "$ZEFA_PID" 320 240 >/dev/null
    [ "$(peak_mib)" -lt 300 ] || fail "$file as $kind: zefa grew to $(peak_mib) MiB"
    stop_zefa

    rm -f "$target"
    case $file in
    main.*) cp "$E2E_TMP/$file" "$target" ;;
    esac
  done
done
echo "hostile files: 8 passed, 0 failed"
