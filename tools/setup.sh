#!/usr/bin/env bash
# Sets up a fresh Debian machine (as root) and then plays the demo or runs the whole test suite.
#   bash tools/setup.sh play    install what is missing, build, start the game on the demo
#   bash tools/setup.sh test    install what is missing, build, run every test
set -euo pipefail
mode=${1:-play}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORVANE_BUILD_DIR:-$root/build}

packages=(build-essential cmake g++ pkg-config libsfml-dev libgtest-dev googletest libbenchmark-dev
          fonts-liberation xvfb xauth xdotool time strace imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j "$jobs"

case "$mode" in
  play)
    cd "$build/run"
    exec "$build/quorvane"
    ;;
  test)
    cd "$build"
    export ALSOFT_DRIVERS=null
    xvfb-run -a -s "-screen 0 1920x1080x24" \
      ctest --output-on-failure --timeout 600 -j "$jobs"
    ;;
  *)
    echo "usage: $0 play|test" >&2
    exit 2
    ;;
esac
