#!/usr/bin/env bash
# Figures of the installer: exe sizes, and (from the end-to-end test, run
# several times) the time from start to the first complete paint and the
# time from the Install click to the completion screen.
#   bench-app.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-5}
for exe in "$build/iRelief-Setup.exe" "$build/win64/iRelief-Setup.exe"; do
  [ -f "$exe" ] && echo "size: $(stat -c %s "$exe") bytes  $exe"
done
cd "$build"
GTEST_FILTER='Installer.InstallWritesBothBuilds*' GTEST_REPEAT=$runs \
  ctest -R 'x64.app.e2e' -V 2>&1 | sed -n 's/.*\(timing: .*\)/\1/p'
