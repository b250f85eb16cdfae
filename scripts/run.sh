#!/usr/bin/env bash
# Starts the built installer under Wine with one sample host application
# registered, takes a screenshot of it and prints where it is.
#   run.sh [BUILD_DIR]
# On $DISPLAY when it is set (the installer then stays open for you to use);
# otherwise on a private Xvfb display, closed again after the screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

# The product is the 32-bit exe. Debian's Wine runs 32-bit code in a 32-bit
# Linux process, which some kernels cannot run; then the 64-bit twin, built
# from the same sources, stands in for it (emulation is for the tests). The
# kernel itself is asked (scripts/x86-mode.sh), so that a binfmt_misc entry
# left behind does not pass for native 32-bit support.
mode=$(bash "$root/scripts/x86-mode.sh")
if [ "${mode%%:*}" = native ]; then
  loader=/usr/lib/wine/wine
  exe=$build/iRelief-Setup.exe
  echo "run: starting the 32-bit installer $exe"
else
  loader=/usr/lib/wine/wine64
  exe=$build/win64/iRelief-Setup.exe
  echo "run: 32-bit Windows code does not run natively here (${mode#*: });"
  echo "run: starting the 64-bit twin $exe (same sources) instead of $build/iRelief-Setup.exe"
fi
[ -f "$exe" ] || { echo "run: $exe is missing; build first (make build)" >&2; exit 1; }

export WINEPREFIX=$build/demo-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  n=$((200 + RANDOM % 500))
  while [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
  echo "run: no \$DISPLAY; using the virtual display $DISPLAY"
fi
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

# The demo prefix: booted once, then reused.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: preparing the Wine prefix $WINEPREFIX (once)"
  /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
fi
/usr/lib/wine/wineserver -p 60 </dev/null >/dev/null 2>&1 &

# One sample host: an existing folder registered as a Photoshop plug-in folder.
host='C:\Program Files\Demo Paint\Plug-ins'
mkdir -p "$WINEPREFIX/drive_c/Program Files/Demo Paint/Plug-ins"
/usr/lib/wine/wine64 reg add 'HKLM\Software\Adobe\Photoshop\Demo' /v PluginPath /d "$host" /f /reg:64 \
  </dev/null >/dev/null 2>&1
echo "run: registered the sample host folder $host"

"$loader" "$exe" </dev/null >/dev/null 2>&1 &
installer=$!

# Wait for the window: on the black virtual screen, until something is drawn.
shot=$build/run-screenshot.png
if [ -n "$xvfb_pid" ]; then
  for _ in $(seq 60); do
    sleep 0.5
    mean=$(import -window root -colorspace gray -format '%[fx:mean]' info: 2>/dev/null || echo 0)
    awk "BEGIN { exit !($mean > 0.05) }" && break
  done
  sleep 1
  # The window is centred on the 1280 x 1024 screen.
  import -window root -crop 600x320+340+352 +repage "$shot"
else
  sleep 5
  import -window root "$shot"
fi
echo "run: screenshot saved to $shot"

if [ -n "$xvfb_pid" ]; then
  echo "run: closing the installer on the virtual display"
else
  echo "run: the installer is running on $DISPLAY; close it to finish"
  wait "$installer" || true
fi
