#!/usr/bin/env bash
# Prepares a throwaway Wine prefix and an Xvfb display for the tests, and
# leaves a persistent wineserver running so that each test process starts
# in a fraction of a second. Everything is started detached: Wine's
# background services must not inherit CTest's pipes.
#   wine-start.sh PREFIX DISPLAY_NUMBER
set -euo pipefail
prefix=$1
display=$2
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=":$display"

if ! [ -e "/tmp/.X11-unix/X$display" ]; then
  setsid Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
fi

mkdir -p "$(dirname "$prefix")"
if [ ! -f "$prefix/system.reg" ]; then
  setsid /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
  # The desktop process that the first boot leaves behind never serves the
  # shell's window list (the help link's way to the user's browser); one
  # started afresh does, as on every later start of the prefix.
  /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
fi
setsid /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 &
# Wait until the prefix answers, so that the first test does not pay for the boot.
for _ in $(seq 120); do
  if /usr/lib/wine/wine64 cmd /c exit 0 </dev/null >/dev/null 2>&1; then exit 0; fi
  sleep 0.5
done
echo "wine-start: the Wine prefix did not come up" >&2
exit 1
