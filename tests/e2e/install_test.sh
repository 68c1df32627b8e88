#!/usr/bin/env bash
# `cmake --install` into a temporary prefix lays out the program folder, the link, the launcher
# entry, the icons and VELMO's header and pkg-config file; a program builds against VELMO from
# them; the installed zefa, started by the launcher entry's program name, finds its library and
# skins through the link, plays, and takes a file opened the way a file manager opens it.
# Usage: install_test.sh ZEFA LIBVELMO CMAKE BUILD_DIR
source "$(dirname "$0")/lib.sh" "$@"
CMAKE=${3:?cmake}
BUILD=${4:?build folder}
[ -n "${ZEFA_MEDIA_DIR:-}" ] || fail "ZEFA_MEDIA_DIR not set"

P=$E2E_TMP/prefix
"$CMAKE" --install "$BUILD" --prefix "$P" >"$E2E_TMP/install.log" 2>&1 ||
  fail "cmake --install failed: $(tail -5 "$E2E_TMP/install.log")"
# Again over the first: an update in place.
"$CMAKE" --install "$BUILD" --prefix "$P" >>"$E2E_TMP/install.log" 2>&1 ||
  fail "a second cmake --install failed: $(tail -5 "$E2E_TMP/install.log")"

# The layout.
DIR=$P/lib/zefa
for f in "$DIR/zefa" "$DIR/libvelmo.so" "$P/share/applications/zefa.desktop" \
  "$P/share/icons/hicolor/scalable/apps/zefa.svg" "$P/share/mime/packages/zefa.xml" \
  "$P/include/velmo.h" "$P/lib/pkgconfig/velmo.pc"; do
  [ -f "$f" ] || fail "not installed: ${f#"$P"/}"
done
[ -x "$DIR/zefa" ] || fail "lib/zefa/zefa is not executable"
for skin in Default01 Default02; do
  for f in main.da1 main.bmp; do
    cmp -s "$(dirname "$E2E_ZEFA")/Skin/$skin/$f" "$DIR/Skin/$skin/$f" ||
      fail "Skin/$skin/$f differs from the build's or is missing"
  done
done
[ -L "$P/bin/zefa" ] || fail "bin/zefa is not a link"
[ "$(readlink "$P/bin/zefa")" = ../lib/zefa/zefa ] ||
  fail "bin/zefa points to $(readlink "$P/bin/zefa"), not ../lib/zefa/zefa"
for size in 16 32 48 64 128 256; do
  png=$P/share/icons/hicolor/${size}x$size/apps/zefa.png
  [ -f "$png" ] || fail "no ${size}x$size icon"
  [ "$("$CONVERT" "$png" -format '%m %w %h' info:)" = "PNG $size $size" ] ||
    fail "${size}x$size icon is $("$CONVERT" "$png" -format '%m %w %h' info:)"
done
# Drawn, not empty: the panel's middle is opaque, its corner clear.
[ "$("$CONVERT" "$P/share/icons/hicolor/64x64/apps/zefa.png" -format '%[fx:int(255*p{32,32}.a)] %[fx:int(255*p{0,0}.a)]' info:)" = "255 0" ] ||
  fail "the 64x64 icon is not the panel design"

# The library is found beside the program, not in the build tree.
runpath=$(readelf -d "$DIR/zefa" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[ "$runpath" = '$ORIGIN' ] || fail "RUNPATH of the installed zefa is '$runpath'"
LD_LIBRARY_PATH= ldd "$DIR/zefa" | grep -q "libvelmo.so => $DIR/libvelmo.so" ||
  fail "the installed zefa does not load libvelmo.so beside it: $(ldd "$DIR/zefa" | grep velmo)"

# A program built with pkg-config's flags links and runs against the installed VELMO.
export PKG_CONFIG_PATH=$P/lib/pkgconfig
read -r cflags < <(pkg-config --cflags velmo) # (pkg-config ends its line with a space)
[ "$cflags" = "-I$P/include" ] || fail "cflags: $cflags"
cat >"$E2E_TMP/user.c" <<'C'
#include <stdio.h>
#include <velmo.h>
int main(void) {
    if (PLY(0, "/nonexistent/zefa-install-test.avi") != VELMO_E_NOT_FOUND) return 1;
    if (DS_STOP() != 1) return 1;
    puts("velmo ok");
    return 0;
}
C
# shellcheck disable=SC2046 # the flags are words
cc -o "$E2E_TMP/user" "$E2E_TMP/user.c" $(pkg-config --cflags --libs velmo) 2>"$E2E_TMP/cc.log" ||
  fail "a program does not build with pkg-config velmo: $(cat "$E2E_TMP/cc.log")"
[ "$(LD_LIBRARY_PATH= timeout 20 "$E2E_TMP/user" 2>"$E2E_TMP/user.log")" = "velmo ok" ] ||
  fail "the program built against VELMO did not run: $(cat "$E2E_TMP/user.log")"

# The launcher entry: valid, and its program name is the installed zefa.
desktop=$P/share/applications/zefa.desktop
desktop-file-validate "$desktop" >"$E2E_TMP/validate.log" 2>&1 ||
  fail "desktop-file-validate: $(cat "$E2E_TMP/validate.log")"
[ ! -s "$E2E_TMP/validate.log" ] || fail "desktop-file-validate: $(cat "$E2E_TMP/validate.log")"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "zefa %f" ] || fail "Exec=$exec_line"
export PATH=$P/bin:$PATH
program=$(command -v "${exec_line%% *}") || fail "the Exec program is not on PATH=$P/bin"
[ "$(readlink -f "$program")" = "$(readlink -f "$DIR/zefa")" ] ||
  fail "the Exec program resolves to $program"

# The installed zefa, from another folder, with settings folders of its own.
export HOME=$E2E_TMP/home XDG_CONFIG_HOME=$E2E_TMP/config XDG_DATA_HOME=$E2E_TMP/data
mkdir -p "$HOME"
start_x
(cd "$HOME" && exec zefa "$ZEFA_MEDIA_DIR/clip.avi") >"$E2E_TMP/zefa.log" 2>&1 &
ZEFA_PID=$!
ZEFA_STATUS=
main=$(wait_for_window "$ZEFA_PID" 320 240)
[ "$(readlink "/proc/$ZEFA_PID/exe")" = "$(readlink -f "$DIR/zefa")" ] ||
  fail "the running zefa is $(readlink "/proc/$ZEFA_PID/exe")"
grep -q " $DIR/libvelmo.so\$" "/proc/$ZEFA_PID/maps" || fail "libvelmo.so not loaded from $DIR"
# The panel wears the installed Default01 skin: found through the link's target folder.
read -r w h < <(awk -F'[=,\r]' 'NR==1 {print $4, $5}' "$DIR/Skin/Default01/main.da1")
wait_for_window "$ZEFA_PID" "$w" "$h" >/dev/null
read -r x y < <(window_pos "$main")
wait_for_motion "$x" "$((y + 16))" 320 208 "the installed zefa playing clip.avi"

# A file opened from a file manager: the Exec line with %f replaced, handed to the running one.
read -ra words <<<"$exec_line"
for i in "${!words[@]}"; do
  [ "${words[$i]}" = %f ] && words[$i]=$ZEFA_MEDIA_DIR/clip.mp4
done
status=0
(cd "$HOME" && exec timeout -k 2 10 "${words[@]}") >"$E2E_TMP/second.log" 2>&1 || status=$?
[ $status = 0 ] || fail "the second zefa ended with status $status: $(cat "$E2E_TMP/second.log")"
wait_for_log "hand-off: 1 $ZEFA_MEDIA_DIR/clip.mp4"
zefa_alive || fail "zefa died"
stop_zefa
echo "install: 4 passed, 0 failed"
