#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the full build's tests
# (unit, fuzz, playback, Qt, end-to-end), then the unit and fuzz tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --test

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEFA_BUILD_TESTS=ON
cmake --build build -j "$jobs"
# Every test has a TIMEOUT of its own (the test_timeouts test checks); --timeout is the fallback.
ctest --test-dir build --output-on-failure -j 2 --timeout 600

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEFA_UNIT_ONLY=ON -DZEFA_SANITIZE=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j 2
