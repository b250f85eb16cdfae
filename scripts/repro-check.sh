#!/usr/bin/env bash
# Builds the installer a second time from scratch in another directory and
# compares it byte for byte with the given build's.
#   repro-check.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
other=$(mktemp -d /tmp/irelief-repro.XXXXXX)
trap 'rm -rf "$other"' EXIT
cmake -S "$src" -B "$other" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$other" --target iRelief-Setup >/dev/null
status=0
for file in iRelief-Setup.exe plugin-x86/iRelief.8bf plugin-x64/iRelief.8bf; do
  a=$(sha256sum < "$build/$file" | cut -d' ' -f1)
  b=$(sha256sum < "$other/$file" | cut -d' ' -f1)
  if [ "$a" = "$b" ]; then
    echo "same     $a  $file"
  else
    echo "DIFFERS  $a / $b  $file"
    status=1
  fi
done
exit $status
