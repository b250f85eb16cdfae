#!/bin/sh
# Runs a 32-bit Windows program under Wine. Debian's Wine runs 32-bit code in
# a 32-bit Linux process; on a kernel without 32-bit support that cannot
# work, and the test is reported as skipped (77) instead of failed.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "skipped: this kernel cannot run 32-bit Linux programs, so Wine cannot run 32-bit Windows code here"
  exit 77
fi
exec /usr/lib/wine/wine "$@"
