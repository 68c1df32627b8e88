#!/usr/bin/env bash
# Installs what is missing, builds the player and starts it on a generated demo clip.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target zefa test_media
exec build/bin/zefa "$PWD/build/media/clip.avi"
