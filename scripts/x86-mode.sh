#!/usr/bin/env bash
# How the x86.* tests (the 32-bit programs under Wine) run on this machine,
# in one line, "MODE: reason":
#   native    the kernel runs 32-bit code: every x86.* test runs as it is
#   emulated  it does not; qemu-i386, registered in a binfmt_misc private to
#             the test run (scripts/x86-emulated.sh), runs a chosen subset
#   skipped   neither can be done here, and why
# "Native" is asked of the kernel itself (scripts/ia32-probe.c), never
# decided by whether a 32-bit program starts: a binfmt_misc entry left
# behind by a killed run would start one under an emulator.
#   X86_MODE=emulated  takes the emulated path on a kernel that runs 32-bit code (to try it)
#   X86_MODE=skipped   skips the x86.* tests
#   X86_PROBE_WRAP     runs the probe through this program (the tests' stand-in for another kernel)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
wine32=${X86_WINE32:-$WINE32}

kernel_runs_ia32() {
  local dir probe answer
  case " $(cat /proc/cmdline 2>/dev/null) " in
    *" ia32_emulation=false "* | *" ia32_emulation=0 "* | *" ia32_emulation=off "* | *" ia32_emulation=n "*)
      reason="ia32_emulation is off on the kernel command line"; return 1 ;;
  esac
  dir=$(mktemp -d) || { reason="no temporary folder for the kernel probe"; return 1; }
  probe=$dir/ia32-probe
  if ! cc -O1 -o "$probe" "$here/ia32-probe.c" 2>"$dir/cc.log"; then
    reason="the kernel probe does not compile ($(head -c 200 "$dir/cc.log"))"; rm -rf "$dir"; return 1
  fi
  answer=$(${X86_PROBE_WRAP:-} "$probe" 2>/dev/null)
  rm -rf "$dir"
  [ "$answer" = "ia32: yes" ] && return 0
  reason="this kernel runs no 32-bit code (IA-32 emulation off)"
  return 1
}

# A binfmt_misc of our own: a new user and mount namespace mounts its own
# instance (Linux 6.7 and later); without one, registering qemu-i386 would
# slow down every 32-bit program on the machine.
private_binfmt() {
  unshare --user --map-root-user --mount \
    sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc && [ -e /proc/sys/fs/binfmt_misc/register ]' \
    >/dev/null 2>&1
}

say() { echo "$1: $2"; exit 0; }

[ -x "$wine32" ] || say skipped "32-bit Wine (wine32:i386) is not installed; scripts/setup.sh could not install it"
case "${X86_MODE:-}" in
  skipped) say skipped "X86_MODE=skipped" ;;
  emulated) reason="X86_MODE=emulated" ;;
  *) kernel_runs_ia32 && say native "this kernel runs 32-bit code" ;;
esac
[ -x "$QEMU_I386" ] || say skipped "$reason, and qemu-i386 (qemu-user) is not installed"
qemu_usable || say skipped "$reason, and qemu-i386 is version $(qemu_major), which crashes 32-bit Wine's threaded programs; scripts/setup.sh installs $QEMU_MIN_MAJOR or later"
command -v unshare >/dev/null || say skipped "$reason, and unshare (util-linux) is missing"
private_binfmt || say skipped "$reason, and this kernel gives a test run no binfmt_misc of its own for qemu-i386 (that needs Linux 6.7 or later with user namespaces allowed)"
say emulated "$reason; qemu-i386 runs the shipped exe in a binfmt_misc private to the test run"
