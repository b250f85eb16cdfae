#!/usr/bin/env bash
# The line `make test` ends with: how the x86.* tests (the 32-bit programs)
# ran on this machine, native, emulated or skipped, and why. A skipped
# x86 test is counted as skipped, never as passed.
#   x86-summary.sh BUILD_DIR
build=${1:-build}
line=$(sed -n 's/^X86_MODE_LINE:INTERNAL=//p' "$build/CMakeCache.txt" 2>/dev/null)
[ -n "$line" ] || exit 0
tests() { (cd "$build" && ctest -N -L "^$1\$" 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: //p'); }
native=$(tests x86-native | wc -l)
skipped=$(tests x86-skipped | wc -l)
emulated=$(tests x86-emulated | tr '\n' ' ')
case $line in
  native:*)   echo "x86 tests: NATIVE, $native tests ran the 32-bit programs (${line#*: })" ;;
  emulated:*) echo "x86 tests: EMULATED, ${emulated}ran the shipped 32-bit exe under qemu-i386; $skipped other x86 tests SKIPPED, not passed (${line#*: })" ;;
  *)          echo "x86 tests: all $skipped SKIPPED, not passed (${line#*: }); the x64.* twins carried the Windows tests" ;;
esac
