#!/usr/bin/env bash
# Starts the built installer under Wine with one sample host application
# registered, takes a screenshot of it and prints where it is.
#   run.sh [BUILD_DIR]
# On $DISPLAY when it is set (the installer then stays open for you to use);
# otherwise on a display of its own, closed again after the screenshot.
#
# The installer started is the shipped 32-bit exe: natively where the kernel
# runs 32-bit code, under qemu-i386 where it does not (scripts/x86-mode.sh
# says which). Only where neither can be done does the 64-bit twin, built
# from the same sources, stand in for it, and the run says so.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
. "$root/scripts/wine-env.sh"

x86_decide
case $X86_RUN in
  native)
    run=("$WINE32" "$build/iRelief-Setup.exe")
    echo "run: starting the shipped 32-bit installer natively ($X86_WHY)" ;;
  emulated)
    run=("${X86_WRAP[@]}" "$WINE32" "$build/iRelief-Setup.exe")
    echo "run: starting the shipped 32-bit installer under qemu-i386 (${X86_WHY%%;*})" ;;
  *)
    run=("$WINE64" "$build/win64/iRelief-Setup.exe")
    echo "run: 32-bit Windows code cannot run here ($X86_WHY);"
    echo "run: starting the 64-bit twin instead (same sources)" ;;
esac
exe=${run[-1]}
[ -f "$exe" ] || { echo "run: $exe is missing; build first (make build)" >&2; exit 1; }

export WINEPREFIX=$build/demo-prefix
own_display=
if [ -z "${DISPLAY:-}" ]; then
  display_start "$build/demo-display"
  own_display=1
  echo "run: no \$DISPLAY; using a virtual display of its own, $DISPLAY"
fi
cleanup() {
  if [ -n "$own_display" ]; then
    "$WINESERVER" -k 2>/dev/null || true
    display_stop "$build/demo-display"
  fi
}
trap cleanup EXIT

# The demo prefix: booted once (the way the installer will run), then reused.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: preparing the Wine prefix $WINEPREFIX (once)"
  setsid "${X86_WRAP[@]}" "$WINE64" wineboot -i </dev/null >/dev/null 2>&1 || true
fi
setsid "$WINESERVER" -p 60 </dev/null >/dev/null 2>&1 || true

# One sample host: an existing folder registered as a Photoshop plug-in folder.
host='C:\Program Files\Demo Paint\Plug-ins'
mkdir -p "$WINEPREFIX/drive_c/Program Files/Demo Paint/Plug-ins"
"$WINE64" reg add 'HKLM\Software\Adobe\Photoshop\Demo' /v PluginPath /d "$host" /f /reg:64 \
  </dev/null >/dev/null 2>&1
echo "run: registered the sample host folder $host"

started=$(date +%s.%N)
"${run[@]}" </dev/null >/dev/null 2>&1 &
installer=$!

# Wait for the window: on the black virtual screen, until something is drawn.
shot=$build/run-screenshot.png
if [ -n "$own_display" ]; then
  for _ in $(seq 120); do
    sleep 0.5
    mean=$(import -window root -colorspace gray -format '%[fx:mean]' info: 2>/dev/null || echo 0)
    awk "BEGIN { exit !($mean > 0.05) }" && break
  done
  echo "run: the window showed $(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s after the start"
  sleep 1
  # The window is centred on the 1280 x 1024 screen.
  import -window root -crop 600x320+340+352 +repage "$shot"
else
  sleep 5
  import -window root "$shot"
fi
echo "run: screenshot saved to $shot"

if [ -n "$own_display" ]; then
  echo "run: closing the installer on the virtual display"
else
  echo "run: the installer is running on $DISPLAY; close it to finish"
  wait "$installer" || true
fi
