#!/usr/bin/env bash
# The media generator's recipe runner: a recipe that hangs is ended at the time limit together
# with what it started, a failing one is named, and neither leaves a file behind.
# Usage: time_limit_test.sh MAKE_MEDIA
set -euo pipefail

make_media=$(readlink -f "$1")
dir=$(mktemp -d /tmp/zefa-media-limit-XXXXXX)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
export ZEFA_MEDIA_RECIPE_LIMIT=2
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=$((failed + 1))
}

# Runs `make_media.sh --produce NAME CMD...`; sets out, status and ms (until its output closes,
# so a recipe program left running would be counted).
run() {
  local start
  start=$(date +%s%N)
  status=0
  out=$("$make_media" --produce "$@" 2>&1) || status=$?
  ms=$((($(date +%s%N) - start) / 1000000))
}

# Expects a failure naming the recipe, within the given milliseconds, and no file of it.
expect_failure() {
  local name=$1 message=$2 within=$3
  [ "$status" -ne 0 ] || fail "$name: succeeded"
  [ "$ms" -lt "$within" ] || fail "$name: took $ms ms"
  grep -qF "make_media: recipe $name $message" <<<"$out" || fail "$name: said '$out'"
  [ ! -e "$name" ] && [ ! -e ".tmp-$name" ] || fail "$name: a file was left behind"
}

# A recipe that writes half its file, then waits in a child of its own.
run hang.mpg sh -c 'echo half >"$0"; sleep 60; echo rest >>"$0"'
expect_failure hang.mpg "timed out after 2 s" 8000

# One that ignores the polite signal is killed a few seconds later.
run deaf.mpg sh -c 'trap "" TERM; echo half >"$0"; sleep 60'
expect_failure deaf.mpg "timed out after 2 s" 15000

run broken.avi sh -c 'echo half >"$0"; exit 3'
expect_failure broken.avi "failed (exit status 3)" 8000

run nothing.avi true
expect_failure nothing.avi "wrote no file" 8000

run good.avi sh -c 'echo whole >"$0"'
[ "$status" -eq 0 ] || fail "good.avi: $out"
[ "$(cat good.avi 2>/dev/null)" = whole ] || fail "good.avi not written"
[ ! -e .tmp-good.avi ] || fail "good.avi: the temporary file was left"

[ $failed -eq 0 ] || exit 1
echo "media time limit: 5 passed, 0 failed"
