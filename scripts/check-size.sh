#!/bin/sh
# Fails when the installer is larger than its limit.
#   check-size.sh EXE LIMIT_BYTES
set -eu
exe=$1
limit=$2
size=$(stat -c %s "$exe")
echo "$(basename "$exe"): $size bytes, limit $limit ($((size * 100 / limit))% of it)"
if [ "$size" -gt "$limit" ]; then
  echo "expected at most $limit bytes, got $size" >&2
  exit 1
fi
