# Sourced by every script that runs Windows programs (the tests' fixtures
# and runner, make run, make bench): where Wine is, how 32-bit Windows code
# runs on this machine, and a display of our own.
#   . scripts/wine-env.sh
WINE_SCRIPTS=${BASH_SOURCE[0]%/*}
[ "$WINE_SCRIPTS" = "${BASH_SOURCE[0]}" ] && WINE_SCRIPTS=.
WINE_SCRIPTS=$(cd "$WINE_SCRIPTS" && pwd)
WINE64=/usr/lib/wine/wine64
WINE32=${X86_WINE32:-/usr/lib/wine/wine}  # X86_WINE32: a stand-in, for the tests
WINESERVER=/usr/lib/wine/wineserver
# No Wine debugger either: a program that crashes ends there, as on a
# machine without one, instead of keeping its runner's pipes open.
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

# The emulator for 32-bit code where the kernel runs none. Debian 12's own
# qemu-i386 (7.2) crashes or hangs 32-bit Wine programs that work with
# several threads across processes (a screen reader's calls, COM, hooks);
# 10.0, from bookworm-backports (scripts/setup.sh), runs them clean.
QEMU_MIN_MAJOR=10
# qemu_locate: QEMU_I386, the emulator to use: X86_QEMU (another build of
# it) when set, else qemu-i386 on the PATH; empty when there is none.
qemu_locate() {
  QEMU_I386=${X86_QEMU:-$(command -v qemu-i386 || true)}
}
qemu_locate
# qemu_major: the emulator's major version, empty when it does not run.
qemu_major() {
  "$QEMU_I386" --version 2>/dev/null | sed -n '1s/.* version \([0-9][0-9]*\)\..*/\1/p'
}
qemu_usable() {
  local major
  major=$(qemu_major)
  [ -n "$major" ] && [ "$major" -ge "$QEMU_MIN_MAJOR" ]
}

# x86_decide: how 32-bit Windows code runs here: as X86_RUN says when it is
# set (native, emulated or skipped: the build's configured answer), else as
# scripts/x86-mode.sh answers, with X86_WHY its reason. Sets X86_WRAP, the
# command that every start of 32-bit code goes through: nothing natively,
# scripts/x86-emulated.sh (qemu-i386 in a binfmt_misc of its own) where
# 32-bit code is emulated.
x86_decide() {
  local line
  if [ -z "${X86_RUN:-}" ]; then
    line=$(bash "$WINE_SCRIPTS/x86-mode.sh")
    X86_RUN=${line%%:*}
    X86_WHY=${line#*: }
  fi
  X86_WRAP=()
  if [ "$X86_RUN" = emulated ]; then X86_WRAP=("$WINE_SCRIPTS/x86-emulated.sh"); fi
}

# display_start FILE: an Xvfb display of our own. Xvfb picks a free number
# itself (-displayfd) and FILE records "NUMBER PID"; a display FILE names
# that still runs is used again. Exports DISPLAY.
display_start() {
  local file=$1 got n pid
  if display_use "$file"; then return 0; fi
  got=$(mktemp)
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$got" </dev/null >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    n=$(head -n 1 "$got" 2>/dev/null)
    [ -n "$n" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$got"
  if [ -z "$n" ]; then
    kill "$pid" 2>/dev/null
    echo "wine-env: Xvfb did not start" >&2
    return 1
  fi
  echo "$n $pid" >"$file"
  export DISPLAY=":$n"
}

# display_use FILE: exports the DISPLAY of the display that FILE records,
# when it still runs; fails otherwise.
display_use() {
  local n pid
  read -r n pid 2>/dev/null <"$1" || return 1
  display_is_ours "$pid" "$n" || return 1
  export DISPLAY=":$n"
}

# display_stop FILE: ends the display that FILE records, by its process id,
# and only when that process is still the Xvfb we started for that number.
display_stop() {
  local n pid
  read -r n pid 2>/dev/null <"$1" || return 0
  if display_is_ours "$pid" "$n"; then kill "$pid" 2>/dev/null; fi
  rm -f "$1"
}

display_is_ours() {
  local pid=$1 n=$2
  [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] || return 1
  [ -e "/tmp/.X11-unix/X$n" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q -- '-displayfd'
}
