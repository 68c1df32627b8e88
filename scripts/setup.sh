#!/usr/bin/env bash
# Installs the Debian 12 packages ZEFA needs, when any is missing.
#   scripts/setup.sh          what building and running the player need (scripts/run-demo.sh)
#   scripts/setup.sh --test   that and what the tests and benchmarks need (scripts/test.sh)
set -euo pipefail

# Building, running, and making the demo clip (gst-launch-1.0).
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-tools
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-x gstreamer1.0-alsa
  libx11-dev libxi-dev libxtst-dev zlib1g-dev liblzma-dev
  fonts-ipafont-gothic
)
# The tests, the sanitizer and fuzz builds, the benchmarks.
test_packages=(
  clang libclang-rt-14-dev clang-format locales
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils x11-apps openbox imagemagick ffmpeg socat gdb binutils
  desktop-file-utils dbus dbus-daemon dbus-bin
)

case ${1:-} in
"") ;;
--test) packages+=("${test_packages[@]}") ;;
*)
  echo "usage: scripts/setup.sh [--test]" >&2
  exit 2
  ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
