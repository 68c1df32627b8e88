#!/usr/bin/env bash
# Installs what building and running need, builds the player and starts it on a generated demo
# clip. Neither the tests nor their packages are needed: the tree is configured without them
# (scripts/test.sh turns them back on).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEFA_BUILD_TESTS=OFF
cmake --build build -j "$(nproc)" --target zefa demo_clip
exec build/bin/zefa "$PWD/build/demo/clip.avi"
