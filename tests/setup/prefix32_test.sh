#!/usr/bin/env bash
# The test prefix has its 32-bit half, and 32-bit programs start in it the
# way this build runs them (natively, or under qemu-i386 where the kernel
# runs no 32-bit code): a prefix booted where 32-bit code could not run has
# no syswow64, and every 32-bit program in it fails to load kernel32.
#   prefix32_test.sh WINE_TEST_SCRIPT PREFIX
set -uo pipefail
runner=$1
prefix=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
wow=$prefix/drive_c/windows/syswow64
for f in kernel32.dll user32.dll ntdll.dll cmd.exe rundll32.exe; do
  [ -f "$wow/$f" ] || fail "the prefix has no 32-bit $f (expected $wow/$f)"
done
count=$(find "$wow" -maxdepth 1 -type f 2>/dev/null | wc -l)
[ "$count" -ge 300 ] || fail "expected the prefix's 32-bit half in syswow64 (hundreds of files), got $count files"
out=$(WINEPREFIX=$prefix "$runner" x86 'C:\windows\syswow64\cmd.exe' /c 'echo arch=%PROCESSOR_ARCHITECTURE%' 2>&1 </dev/null)
status=$?
[ $status = 77 ] && { echo "$out"; exit 77; }
grep -q 'arch=x86' <<<"$(tr -d '\r' <<<"$out")" ||
  fail "a 32-bit program in the prefix: expected arch=x86, got status $status and '$(head -c 300 <<<"$out")'"
[ $failures = 0 ] && echo "the prefix has its 32-bit half ($count files in syswow64), and a 32-bit program runs in it (X86_RUN=${X86_RUN:-native})"
exit $((failures > 0))
