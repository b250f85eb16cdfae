#!/usr/bin/env bash
# Prepares a throwaway Wine prefix on a display of its own for the tests,
# and leaves a persistent wineserver running so that each test process
# starts in a fraction of a second. The display is recorded in
# PREFIX.display, where scripts/wine-test.sh finds it.
#
# Where 32-bit code is emulated, everything here that can start 32-bit code
# runs inside the emulation: the boot, which builds the prefix's 32-bit half
# (syswow64) by running 32-bit programs, and the first start after it, which
# leaves behind the desktop and the services that later start programs on a
# test's behalf. Everything is started detached: Wine's background services
# must not inherit CTest's pipes.
#   wine-start.sh PREFIX
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
prefix=$1
export WINEPREFIX=$prefix
mkdir -p "$(dirname "$prefix")"
display_start "$prefix.display"
x86_decide

if [ ! -f "$prefix/system.reg" ]; then
  setsid "${X86_WRAP[@]}" "$WINE64" wineboot -i </dev/null >/dev/null 2>&1 || true
  # No crash debugger, as on a Windows machine without one: a program that
  # crashes ends at once with its exception's code, and the test sees it,
  # instead of waiting on a debugger (which under qemu-i386 never finishes).
  # Wine falls back to its own debugger when the value is missing, so the
  # value names a program that does not exist.
  for view in 64 32; do
    "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
      /d 'no-crash-debugger' /f /reg:$view </dev/null >/dev/null 2>&1 || true
  done
  # The desktop process that the first boot leaves behind never serves the
  # shell's window list (the help link's way to the user's browser); one
  # started afresh does, as on every later start of the prefix.
  "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
fi
# The persistent server, before anything else starts one that is not: it
# returns once it serves the prefix.
setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
# Wine closes the desktop a second after its last program ends, and the
# desktop's process that comes up with the next program never serves the
# shell's window list again: what the previous one registered still stands
# in for it. An idle command prompt, waiting on a pipe that never speaks
# (it holds the writing end itself), keeps the desktop open for the
# prefix's life; ending the wineserver ends it.
keeper=$prefix.keep
rm -f "$keeper"
mkfifo "$keeper"
setsid "$WINE64" cmd.exe /q /k <>"$keeper" >/dev/null 2>&1 &
# Wait until the prefix answers, so that the first test does not pay for the
# start; the desktop comes up with it.
for _ in $(seq 120); do
  if setsid "${X86_WRAP[@]}" "$WINE64" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1; then
    exit 0
  fi
  sleep 0.5
done
echo "wine-start: the Wine prefix did not come up" >&2
exit 1
