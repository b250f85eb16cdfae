#!/usr/bin/env bash
# How x86 tests run is decided from the kernel, and the emulated path leaves
# the rest of the machine alone:
# - the kernel probe says no under a stand-in for a kernel without 32-bit
#   code (qemu-x86_64 refuses the 32-bit system call as such a kernel does);
# - a binfmt_misc entry that hands 32-bit programs to qemu-i386 does not
#   make such a machine look native, although 32-bit programs then start;
# - scripts/x86-emulated.sh registers qemu-i386 for its command only: a
#   32-bit program runs under qemu-i386 inside, the machine-wide binfmt_misc
#   shows no entry of ours meanwhile, and nothing is left behind;
# - an emulator too old to run Wine's threaded programs is not used;
# - the line make test ends with counts the passed, failed and skipped x86
#   tests from CTest's record of the run;
# - a test registered for native running reports itself skipped, with the
#   reason, when the kernel no longer runs 32-bit code.
#   x86_mode_test.sh SCRIPTS_DIR
set -uo pipefail
unset X86_MODE
scripts=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
. "$scripts/wine-env.sh"
elf32=$WINE32   # a 32-bit program that ends at once with --version
if ! command -v qemu-x86_64 >/dev/null || ! [ -x "$elf32" ]; then
  echo "skipped: needs qemu-user and 32-bit Wine (scripts/setup.sh installs both)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -o "$work/probe" "$scripts/ia32-probe.c" || exit 1

# The probe, and the decision, on a kernel without 32-bit code.
[ "$(qemu-x86_64 "$work/probe")" = "ia32: no" ] || fail "the probe did not see the refusal"
line=$(X86_PROBE_WRAP=qemu-x86_64 "$scripts/x86-mode.sh")
case $line in
  emulated:*"runs no 32-bit code"*) ;;
  *) fail "a kernel without 32-bit code gave '$line'" ;;
esac
line=$(X86_PROBE_WRAP=qemu-x86_64 X86_QEMU=/nonexistent "$scripts/x86-mode.sh")
[[ $line == "skipped: "*"qemu-i386 (qemu-user) is not installed" ]] || fail "without qemu: '$line'"
printf '#!/bin/sh\necho "qemu-i386 version 7.2.17 (Debian 1:7.2+dfsg-7+deb12u18)"\n' >"$work/old-qemu"
chmod +x "$work/old-qemu"
line=$(X86_PROBE_WRAP=qemu-x86_64 X86_QEMU=$work/old-qemu "$scripts/x86-mode.sh")
[[ $line == "skipped: "*"version 7, "* ]] || fail "with qemu 7.2: '$line'"
line=$(X86_WINE32=/nonexistent "$scripts/x86-mode.sh")
[[ $line == "skipped: 32-bit Wine (wine32:i386) is not installed"* ]] || fail "without 32-bit Wine: '$line'"

# Inside the private registration 32-bit programs start, and still the kernel decides.
# (qemu-user prints the system calls of its program with QEMU_STRACE set.)
inside=$("$scripts/x86-emulated.sh" bash -c '
  QEMU_STRACE=1 "$0" --version 2>&1 | grep -q "brk(NULL)" && echo "ran under qemu"
  X86_PROBE_WRAP=qemu-x86_64 "$1/x86-mode.sh"' "$elf32" "$scripts")
grep -qx "ran under qemu" <<<"$inside" || fail "no qemu-i386 under the private entry: $inside"
grep -q '^native' <<<"$inside" && fail "a registration made a machine without 32-bit code look native: $inside"

if [ "$("$work/probe")" = "ia32: yes" ]; then
  [ "$("$scripts/x86-mode.sh" | cut -d: -f1)" = native ] || fail "this kernel runs 32-bit code but was not called native"
fi
# The machine-wide binfmt_misc, looked at from a mount namespace of its own
# (as root): no entry of ours while a private one lives, nor after.
global_entries() {
  unshare --mount sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null; ls /proc/sys/fs/binfmt_misc' 2>/dev/null
}
if [ "$(id -u)" = 0 ]; then
  "$scripts/x86-emulated.sh" sleep 3 & holder=$!
  sleep 1
  [ "$("$scripts/x86-emulated.sh" sh -c 'ls /proc/sys/fs/binfmt_misc' | grep -c irelief)" = 1 ] || fail "no private entry"
  global_entries | grep -q irelief && fail "the private entry shows machine-wide: $(global_entries)"
  kill $holder 2>/dev/null; wait $holder 2>/dev/null
  global_entries | grep -q irelief && fail "a registration is left behind: $(global_entries)"
fi

# A test registered for native running, on a kernel that no longer runs 32-bit code.
out=$(X86_RUN=native X86_PROBE_WRAP=qemu-x86_64 "$scripts/wine-test.sh" x86 /nonexistent.exe 2>&1)
status=$?
[ $status = 77 ] || fail "wine-test.sh gave $status, expected 77 (skipped): $out"
grep -q '^skipped: .*runs no 32-bit code' <<<"$out" || fail "the skip gives no reason: $out"

# An emulated test program that Wine's server ends (SIGKILL) while it exits
# passes only when its own report was complete and said no case failed.
fake=$work/fake-wine
cat >"$fake" <<'FAKE'
#!/bin/bash
report=${GTEST_OUTPUT#xml:Z:}
case $2 in
  passed) echo '<testsuites tests="3" failures="0" disabled="0" errors="0" name="AllTests"></testsuites>' >"$report" ;;
  failed) echo '<testsuites tests="3" failures="1" disabled="0" errors="0" name="AllTests"></testsuites>' >"$report" ;;
  cut) echo '<testsuites tests="3" failures="0"' >"$report" ;;
  flaky) [ -e "$0.ran" ] && exit 0; touch "$0.ran"; echo "qemu: uncaught target signal 11 (Segmentation fault) - core dumped"; exit 1 ;;
  broken) echo "qemu: uncaught target signal 11 (Segmentation fault) - core dumped"; exit 1 ;;
  failing) exit 1 ;;
  silent) [ -e "$0.hung" ] && exit 0; touch "$0.hung"; sleep 30 ;;
esac
kill -9 $$
FAKE
chmod +x "$fake"
# A run that failed with a crash of the emulator is run again, up to three
# runs; an ordinary failure is not.
for outcome in passed:0 failed:137 cut:137 none:137 flaky:0 broken:1 failing:1 silent:0; do
  X86_SILENCE_LIMIT=3 X86_RUN=emulated X86_WINE32=$fake "$scripts/wine-test.sh" x86 program.exe "${outcome%%:*}" >/dev/null 2>&1
  status=$?
  [ "$status" = "${outcome#*:}" ] || fail "a program ended by Wine's server with report '${outcome%%:*}': expected ${outcome#*:}, got $status"
done

# The closing line counts from CTest's record of the run: a failed x86 test
# is counted as failed, a skipped one as skipped, neither as having run.
mkdir -p "$work/build"
echo "X86_MODE_LINE:INTERNAL=emulated: this kernel runs no 32-bit code (IA-32 emulation off)" >"$work/build/CMakeCache.txt"
cat >"$work/results.xml" <<'XML'
<testsuite name="t" tests="4" failures="2" skipped="1">
  <testcase name="x86.a" status="run"><system-out/></testcase>
  <testcase name="x86.b" status="fail"><failure message=""/><system-out/></testcase>
  <testcase name="x86.c" status="notrun"><skipped message="SKIP_RETURN_CODE=77"/><system-out/></testcase>
  <testcase name="x64.d" status="fail"><failure message=""/><system-out/></testcase>
</testsuite>
XML
summary=$("$scripts/x86-summary.sh" "$work/build" "$work/results.xml")
[[ $summary == "x86 tests: 1 passed, 1 failed, 1 skipped; EMULATED"*"IA-32 emulation off"* ]] ||
  fail "expected 1 passed, 1 failed, 1 skipped, emulated, got '$summary'"
grep -qi ' ran ' <<<"$summary" && fail "the summary says tests ran: '$summary'"

[ $failures = 0 ] && echo "x86 mode: decided by the kernel; the emulated path stays private"
exit $((failures > 0))
