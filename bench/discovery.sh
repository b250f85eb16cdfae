#!/usr/bin/env bash
# Times the host discovery over synthetic registry subtrees of 100, 1,000 and
# 10,000 keys in a throwaway Wine prefix, with the 64-bit twin of the program
# (as the tests run it), and prints keys per second.
#   bench/discovery.sh [BUILD_DIR] [keys...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shift || true
exe=$build/win64/bin/discovery_bench.exe
if [ ! -f "$exe" ]; then
  echo "discovery.sh: $exe is missing; build first (make build)" >&2
  exit 1
fi
. "$root/scripts/wine-env.sh"
export WINEPREFIX=$build/bench-prefix
# A console program: no display needed.
unset DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # Booted the way 32-bit programs run here: the windowed runs use this prefix too.
  x86_decide
  setsid "${X86_WRAP[@]}" "$WINE64" wineboot -i </dev/null >/dev/null 2>&1 || true
fi
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
"$WINE64" "$exe" "$@"
