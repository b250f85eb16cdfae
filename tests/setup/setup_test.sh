#!/usr/bin/env bash
# scripts/setup.sh against stand-ins for apt-get, apt-cache, dpkg and
# dpkg-query that fail the way the package registry does: an index that
# will not download, i386 packages trailing their amd64 twins, a 32-bit Wine
# that cannot be had at all. The PATH holds the stand-ins and the few tools
# set-up needs, so everything else looks missing.
#   setup_test.sh SETUP_SH
set -uo pipefail
setup=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL [$scenario]: $*"; failures=$((failures + 1)); }

mkdir -p "$work/bin"
for tool in bash sh env grep sed awk sort comm find date touch rm mkdir chmod cat cut head tr sleep mktemp; do
  ln -s "$(command -v "$tool")" "$work/bin/$tool"
done
real_dpkg=$(command -v dpkg)

cat >"$work/bin/apt-get" <<'STANDIN'
#!/bin/bash
# Scenario from the environment: FAIL_UPDATES (the first N refreshes fail),
# CAN_WINE32 (ok | pinned | never), AMD64 (ok | never).
echo "apt-get $*" >>"$STATE/calls"
if [ "$1" = update ]; then
  n=$(($(cat "$STATE/updates" 2>/dev/null || echo 0) + 1)); echo $n >"$STATE/updates"
  if [ "$n" -le "${FAIL_UPDATES:-0}" ]; then
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 151.101.2.132 80]" >&2
    exit 100
  fi
  exit 0
fi
simulate=0; release=; pkgs=()
while [ $# -gt 0 ]; do
  case $1 in
    -s) simulate=1 ;; -t) release=$2; shift ;; -*) ;; install) ;; *) pkgs+=("$1") ;;
  esac
  shift
done
all=" ${pkgs[*]} "
held() {
  echo "The following packages have unmet dependencies:"
  echo " libwine:i386 : Depends: libgstreamer-plugins-base1.0-0:i386 (>= 1.22.0) but it is not going to be installed"
  echo "                Depends: libfaudio0:i386 but it is not going to be installed"
  echo "E: Unable to correct problems, you have held broken packages."
  exit 100
}
if [[ $all == *" wine32:i386 "* ]]; then
  case ${CAN_WINE32:-ok} in
    never) held ;;
    pinned)
      [ "$release" = bookworm ] || held
      if [[ $all != *" libgstreamer-plugins-base1.0-0:amd64=1.22.0-3+deb12u6 "* || $all != *" libgstreamer-plugins-base1.0-0:i386=1.22.0-3+deb12u6 "* ]]; then
        # The base release alone: apt would rather remove the amd64 side.
        [ $simulate = 1 ] || exit 100
        echo "Remv libgstreamer-plugins-base1.0-0 [1.22.0-3+deb12u7]"
        echo "Remv libwine [8.0~repack-4]"
        echo "Remv wine64 [8.0~repack-4]"
        echo "Inst wine32:i386 (8.0~repack-4 Debian:12.5/stable [i386])"
        exit 0
      fi ;;
  esac
fi
if [[ ${AMD64:-ok} = never && $all == *" cmake "* ]]; then
  echo "E: Unable to locate package cmake"; exit 100
fi
[ $simulate = 1 ] && { echo "Inst ${pkgs[*]}"; exit 0; }
if [[ $all == *" qemu-user "* ]]; then
  # The emulator that set-up asks for: 10.0 from the backports, else the base release's 7.2.
  version=7.2.17; [ "$release" = bookworm-backports ] && version=10.0.2
  mkdir -p "$STATE/bin"
  printf '#!/bin/sh\necho "qemu-i386 version %s (Debian)"\n' "$version" >"$STATE/bin/qemu-i386"
  chmod +x "$STATE/bin/qemu-i386"
fi
printf '%s\n' "${pkgs[@]}" | sed 's/=.*//' >>"$STATE/installed"
echo "apt-get installed ${pkgs[*]}" >>"$STATE/calls"
STANDIN

cat >"$work/bin/apt-cache" <<'STANDIN'
#!/bin/bash
case "$1 $2" in
  "show libgstreamer-plugins-base1.0-0" | "show libwine") printf 'Package: %s\nMulti-Arch: same\n' "$2" ;;
  "show libfaudio0") printf 'Package: libfaudio0\nMulti-Arch: same\n' ;;
  "show "*) printf 'Package: %s\n' "$2" ;;
  "madison libgstreamer-plugins-base1.0-0:amd64")
    echo "libgstreamer-plugins-base1.0-0 | 1.22.0-3+deb12u7 | http://deb.debian.org/debian-security bookworm-security/main amd64 Packages"
    echo "libgstreamer-plugins-base1.0-0 | 1.22.0-3+deb12u6 | http://deb.debian.org/debian bookworm/main amd64 Packages" ;;
  "madison libgstreamer-plugins-base1.0-0:i386")
    echo "libgstreamer-plugins-base1.0-0 | 1.22.0-3+deb12u6 | http://deb.debian.org/debian bookworm/main i386 Packages" ;;
  "madison libwine:"*) echo "libwine | 8.0~repack-4 | http://deb.debian.org/debian bookworm/main ${2#*:} Packages" ;;
  "madison libfaudio0:amd64") echo "libfaudio0 | 22.11-1 | http://deb.debian.org/debian bookworm/main amd64 Packages" ;;
esac
exit 0
STANDIN

cat >"$work/bin/dpkg" <<STANDIN
#!/bin/bash
case \$1 in
  --print-foreign-architectures) cat "\$STATE/foreign" 2>/dev/null ;;
  --add-architecture) echo "\$2" >>"\$STATE/foreign"; echo "dpkg \$*" >>"\$STATE/calls" ;;
  *) exec $real_dpkg "\$@" ;;
esac
STANDIN

cat >"$work/bin/dpkg-query" <<'STANDIN'
#!/bin/bash
# dpkg-query -W -f='${Status}' PACKAGE
grep -qxF "${@: -1}" "$STATE/installed" 2>/dev/null && echo "install ok installed"
exit 0
STANDIN
chmod +x "$work/bin/"*

# run NAME [VAR=value...]: set-up in a fresh state; its output in $out, exit status in $status.
run() {
  scenario=$1; shift
  export STATE=$work/state-$scenario
  mkdir -p "$STATE"
  out=$(env -i PATH="$work/bin:$STATE/bin" STATE="$STATE" SETUP_RETRY_PAUSE=0 SETUP_STATE="$STATE/setup" \
        SETUP_SOURCES_DIR="$STATE/sources" WITH_FUZZ=0 "$@" bash "$setup" 2>&1)
  status=$?
}
calls() { grep -c "^apt-get $1" "$STATE/calls" 2>/dev/null; }
installed() { grep -qxF "$1" "$STATE/installed" 2>/dev/null; }
lines_with() { grep -c -- "$1" <<<"$out"; }

# An index that keeps failing: three refreshes, one line, and the packages install from what is there.
run refresh-fails FAIL_UPDATES=9
[ $status = 0 ] || fail "exit status $status: $out"
[ "$(calls update)" = 3 ] || fail "$(calls update) refreshes, expected 3"
[ "$(lines_with 'index refresh failed 3 times')" = 1 ] || fail "no single line about the refresh: $out"
installed cmake && installed wine32:i386 && installed qemu-user || fail "packages missing: $(cat "$STATE/installed" 2>/dev/null)"

# A refresh that fails once and then works: no complaint.
run refresh-once FAIL_UPDATES=1
[ $status = 0 ] && [ "$(calls update)" = 2 ] || fail "status $status, $(calls update) refreshes"
[ "$(lines_with 'refresh failed')" = 0 ] || fail "complained: $out"
grep -qx i386 "$STATE/foreign" || fail "i386 was not added as a foreign architecture"

# i386 trailing amd64: the base release as default, the clashing Multi-Arch: same pair at the shared version.
run pinned FAIL_UPDATES=9 CAN_WINE32=pinned
[ $status = 0 ] || fail "exit status $status: $out"
grep -q '^apt-get installed wine32:i386 libgstreamer-plugins-base1.0-0:amd64=1.22.0-3+deb12u6 libgstreamer-plugins-base1.0-0:i386=1.22.0-3+deb12u6' \
  "$STATE/calls" || fail "wine32 not installed with the matching pair: $(grep installed "$STATE/calls")"
grep -q 'install -y.*--allow-downgrades -t bookworm wine32:i386' "$STATE/calls" || fail "not installed with -t bookworm"
grep -q 'wine64:' "$STATE/calls" && fail "pinned wine64, which is not Multi-Arch: same: $(grep installed "$STATE/calls")"
installed wine32:i386 || fail "wine32 not installed"
[ -e "$STATE/setup/wine32-unavailable" ] && fail "a success left the failure mark"

# No 32-bit Wine at all: one line, the rest installed, success; the next run says so without asking apt again.
run never CAN_WINE32=never
[ $status = 0 ] || fail "exit status $status: $out"
[ "$(lines_with 'wine32:i386 cannot be installed')" = 1 ] || fail "expected one line about wine32: $out"
grep -q 'the 64-bit twin carries the Windows tests' <<<"$out" || fail "does not say what carries on: $out"
installed cmake && installed qemu-user || fail "the other packages were not installed"
installed wine32:i386 && fail "wine32 recorded as installed"
# With the toolchain there, the next run asks apt nothing and says why the x86 side is missing.
mkdir -p "$work/have"
for tool in i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix i686-w64-mingw32-windres wine Xvfb import xauth \
            cmake ninja g++ python3 osslsigncode openssl unshare; do
  printf '#!/bin/sh\n' >"$work/have/$tool"
done
chmod +x "$work/have/"*
echo wine64 >>"$STATE/installed"
before=$(wc -l <"$STATE/calls")
out=$(env -i PATH="$work/bin:$work/have" STATE="$STATE" SETUP_RETRY_PAUSE=0 SETUP_STATE="$STATE/setup" WITH_FUZZ=0 \
      bash "$setup" 2>&1)
[ $? = 0 ] || fail "the repeat run failed: $out"
[ "$(wc -l <"$STATE/calls")" = "$before" ] || fail "asked apt again right after a failure"
[ "$(lines_with 'could not be installed at')" = 1 ] || fail "the repeat run did not say so in one line: $out"

# A package the build needs cannot be had: set-up fails and says which.
run amd64-missing AMD64=never CAN_WINE32=never
[ $status != 0 ] || fail "succeeded without cmake"
grep -q 'could not install .*cmake' <<<"$out" || fail "does not say what is missing: $out"

# Debian 12's own qemu-i386 (7.2) is there: 10.0 comes from the backports, added as a source.
if [ "$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")" = bookworm ]; then
  scenario=old-qemu
  export STATE=$work/state-old-qemu
  mkdir -p "$STATE/bin"
  printf '#!/bin/sh\necho "qemu-i386 version 7.2.17 (Debian 1:7.2+dfsg-7+deb12u18)"\n' >"$STATE/bin/qemu-i386"
  chmod +x "$STATE/bin/qemu-i386"
  printf '%s\n' wine64 wine32:i386 wine32-preloader:i386 >"$STATE/installed"
  out=$(env -i PATH="$STATE/bin:$work/bin:$work/have" STATE="$STATE" SETUP_STATE="$STATE/setup" \
        SETUP_SOURCES_DIR="$STATE/sources" WITH_FUZZ=0 bash "$setup" 2>&1)
  [ $? = 0 ] || fail "exit status: $out"
  grep -q 'install -y.*-t bookworm-backports qemu-user' "$STATE/calls" || fail "not from the backports: $(cat "$STATE/calls")"
  grep -qx 'Suites: bookworm-backports' "$STATE/sources/"*.sources 2>/dev/null || fail "no backports source added"
  "$STATE/bin/qemu-i386" --version | grep -q 'version 10' || fail "still $("$STATE/bin/qemu-i386" --version)"
fi

# Everything there: nothing asked of apt, nothing said.
if [ -f /usr/src/googletest/CMakeLists.txt ]; then
  scenario=complete
  export STATE=$work/state-complete
  mkdir -p "$STATE"
  printf '#!/bin/sh\necho "qemu-i386 version 10.0.2 (Debian)"\n' >"$work/have/qemu-i386"; chmod +x "$work/have/qemu-i386"
  printf '%s\n' wine64 wine32:i386 wine32-preloader:i386 >"$STATE/installed"
  out=$(env -i PATH="$work/bin:$work/have" STATE="$STATE" SETUP_STATE="$STATE/setup" WITH_FUZZ=0 bash "$setup" 2>&1)
  [ $? = 0 ] && [ -z "$out" ] && [ ! -e "$STATE/calls" ] || fail "with everything there it said '$out' or called apt"
fi

[ $failures = 0 ] && echo "setup.sh: all scenarios behave"
exit $((failures > 0))
