#!/usr/bin/env bash
# Copies the screenshots that the end-to-end test takes of the installer's
# window (choosing and completion screens) into docs/ as PNG files.
#   update-screenshots.sh [BUILD_DIR]     (after: cd BUILD && ctest -R app.e2e)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$root/docs"
for name in choosing choosing-200 completed; do
  for tree in "$build" "$build/win64"; do
    if [ -f "$tree/shots/$name.bmp" ]; then
      convert "$tree/shots/$name.bmp" -strip "$root/docs/$name.png"
      echo "docs/$name.png from $tree/shots/$name.bmp"
      break
    fi
  done
done
