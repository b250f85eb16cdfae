#!/usr/bin/env bash
# Runs one Windows test program under Wine, in the prefix WINEPREFIX that
# scripts/wine-start.sh prepared, on that prefix's display:
#   wine-test.sh x64 PROGRAM [ARGS...]   the 64-bit loader
#   wine-test.sh x86 PROGRAM [ARGS...]   the 32-bit loader, the way the build
#                                        was configured to run 32-bit code
# X86_RUN (from the build's configuration) says that way: native, or
# emulated (under qemu-i386, scripts/x86-emulated.sh). A 32-bit test that
# can no longer run that way here reports itself skipped (77), with the
# reason; `make test` configures again for the machine it is on.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
[ $# -ge 2 ] || { echo "usage: wine-test.sh x86|x64 PROGRAM [ARGS...]" >&2; exit 2; }
arch=$1
shift
if [ -n "${WINEPREFIX:-}" ] && ! display_use "$WINEPREFIX.display"; then
  echo "wine-test: the display of $WINEPREFIX is not running (scripts/wine-start.sh starts it)" >&2
  exit 1
fi
case $arch in
  x64) exec "$WINE64" "$@" ;;
  x86) ;;
  *) echo "wine-test: unknown architecture $arch" >&2; exit 2 ;;
esac
configured=${X86_RUN:-native}
if [ "$configured" = emulated ]; then
  line=$(X86_MODE=emulated bash "$WINE_SCRIPTS/x86-mode.sh")
else
  line=$(bash "$WINE_SCRIPTS/x86-mode.sh")
fi
now=${line%%:*}
case $configured:$now in
  native:native) exec "$WINE32" "$@" ;;
  emulated:emulated) ;;
  *)
    why=${line#*: }
    echo "skipped: configured to run 32-bit code $configured, but now ${why%%;*}"
    exit 77 ;;
esac

# Emulated. qemu-i386 (seen with Debian's 7.2) now and then crashes a 32-bit Wine
# program that runs several threads: a jump to address 1, "uncaught target
# signal 11", a breakpoint nobody set; natively and in the 64-bit twin the
# same program runs clean. A run that failed with such a crash of the
# emulator in its output is run again, up to three runs, and says so; a run
# that failed without one stands as it is.
#
# And Wine's server ends a process (SIGKILL) whose Linux side takes more
# than a second to go after its last thread ended, which under qemu-i386 on
# a busy machine a finished program can; and the emulator can crash in a
# program's Linux exit. An end by a signal counts as the program's own only
# when its report (GoogleTest's, written once every case has run) is
# complete and says that none failed.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed_report() {
  python3 - "$1" <<'PY'
import sys, xml.etree.ElementTree as ET
try:
    run = ET.parse(sys.argv[1]).getroot()
except (OSError, ET.ParseError):
    sys.exit(1)
ok = run.tag == "testsuites" and int(run.get("tests", "0")) > 0 and run.get("failures") == "0" and run.get("errors") == "0"
sys.exit(0 if ok else 1)
PY
}
# What a run leaves behind (an installer whose driver crashed) is ended with
# it: it would hold the single copy's mutex for the next run. Each run's
# programs carry its mark in their environment, which Wine hands on.
mark=x86-run-$$-$RANDOM
end_leftovers() {
  local pid
  for pid in $(grep -lsz "^X86_RUN_MARK=$mark\$" /proc/[0-9]*/environ | cut -d/ -f3); do
    case $(cat "/proc/$pid/comm" 2>/dev/null) in wineserver*) continue ;; esac
    [ "$pid" = $$ ] || kill -9 "$pid" 2>/dev/null
  done
}
emulator_crash='qemu: uncaught target signal|Got unexpected trap|wine: Unhandled (exception|illegal instruction|page fault)|wine client error|the emulated run hung'
for attempt in 1 2 3; do
  rm -f "$work/report.xml"
  X86_RUN_MARK=$mark GTEST_OUTPUT="xml:Z:$work/report.xml" "$WINE_SCRIPTS/x86-emulated.sh" "$WINE32" "$@" \
    >"$work/output" 2>&1 &
  program=$!
  # A run that prints nothing for this long has hung in the emulator (its
  # cross-process calls wait for ever on a crashed peer): it is ended, and
  # counts as a crash of the emulator.
  quiet=0
  last=-1
  while kill -0 $program 2>/dev/null; do
    size=$(stat -c %s "$work/output" 2>/dev/null || echo 0)
    if [ "$size" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0; last=$size; fi
    if [ $quiet -ge "${X86_SILENCE_LIMIT:-240}" ]; then
      echo "wine-test: the emulated run hung: no output for $quiet s" >>"$work/output"
      kill -9 $program 2>/dev/null
      break
    fi
    sleep 1
  done
  wait $program
  status=$?
  end_leftovers
  cat "$work/output"
  [ $status = 0 ] && exit 0
  if [ $status -gt 128 ] && [ $status -lt 160 ] && passed_report "$work/report.xml"; then
    echo "wine-test: every case had run and passed (the program's own report) when the program's Linux side ended by signal $((status - 128)) during its exit"
    exit 0
  fi
  grep -Eq "$emulator_crash" "$work/output" || exit $status
  [ $attempt = 3 ] && break
  echo "wine-test: run $attempt failed with a crash of the emulator (above); running again"
done
echo "wine-test: three runs failed, each with a crash of the emulator"
exit $status
