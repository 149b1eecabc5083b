#!/usr/bin/env bash
# Renders the client's windows to docs/screens/*.png without a display.
#   scripts/render-windows.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build "$build" --target qv-renderwindows
QT_QPA_PLATFORM=offscreen "$build/tools/qv-renderwindows" "$root/docs/screens"
