#!/usr/bin/env bash
# Installs whatever of the toolchain is missing; does nothing when all is there.
#
# The package registry has bad moments: one index fails to download while the
# others are fine, or the i386 side trails the amd64 side by a security
# update, so that Multi-Arch: same pairs cannot match. Set-up rides these out:
# it retries the index refresh and goes on with what it has, installs the
# i386 packages at versions both architectures have (pinned_install below),
# and when the 32-bit Wine cannot be had at all it says so in one line and
# carries on: the 64-bit twin then carries the Windows tests.
#   SETUP_RETRY_PAUSE  seconds before the second refresh (the third waits 3x that); default 5
#   SETUP_STATE        folder that remembers a failed 32-bit Wine for a while; default /var/tmp/irelief-setup
set -euo pipefail

pause=${SETUP_RETRY_PAUSE:-5}
state=${SETUP_STATE:-/var/tmp/irelief-setup}
wine32_unavailable=$state/wine32-unavailable   # its age: when 32-bit Wine last could not be had
retry_after_minutes=360

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd i686-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-i686 mingw-w64)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64 mingw-w64)
have_cmd i686-w64-mingw32-windres     || need+=(binutils-mingw-w64-i686)
have_pkg wine64      || need+=(wine64)
have_cmd wine        || need+=(wine)
have_cmd Xvfb        || need+=(xvfb)
have_cmd import      || need+=(imagemagick)
have_cmd xauth       || need+=(xauth)
have_cmd cmake       || need+=(cmake)
have_cmd ninja       || need+=(ninja-build)
have_cmd g++         || need+=(g++)
have_cmd python3     || need+=(python3)
have_cmd osslsigncode || need+=(osslsigncode)   # make release, and its test
have_cmd openssl     || need+=(openssl)
have_cmd unshare     || need+=(util-linux)      # the emulated x86 tests' private binfmt_misc
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
if [ "${WITH_FUZZ:-1}" = 1 ]; then
  have_cmd clang++ || need+=(clang)
  compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || need+=(libclang-rt-14-dev)
fi

# The 32-bit side: Wine for 32-bit Windows code, and qemu-user, which runs
# it where the kernel runs no 32-bit code (scripts/x86-mode.sh). Without
# them the build and the 64-bit tests still work. Wine's preloader reserves
# the 32-bit address space in a few calls; without it Wine probes the space
# with tens of thousands, which under qemu-i386 costs a minute per start.
want32=()
have_pkg wine32:i386 || want32+=(wine32:i386)
have_pkg wine32-preloader:i386 || want32+=(wine32-preloader:i386)
. "${BASH_SOURCE[0]%/*}/wine-env.sh"
qemu_usable || want32+=(qemu-user)
if [ ${#want32[@]} -gt 0 ] && [ ${#need[@]} -eq 0 ] && [ -n "$(find "$wine32_unavailable" -mmin -$retry_after_minutes 2>/dev/null)" ]; then
  # Tried a short while ago and failed: say so, but do not hold up every make run.
  echo "setup: ${want32[*]} could not be installed at $(date -r "$wine32_unavailable" '+%H:%M'); x86 tests are skipped, the 64-bit twin carries the Windows tests (delete $wine32_unavailable to try again now)"
  exit 0
fi

if [ ${#need[@]} -eq 0 ] && [ ${#want32[@]} -eq 0 ]; then
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
base=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")

refresh_indexes() {
  local try
  for try in 1 2 3; do
    if apt-get update -qq >/dev/null 2>"$state/update.log"; then return 0; fi
    [ $try -lt 3 ] && sleep $((pause * (try == 1 ? 1 : 3)))
  done
  echo "setup: the package index refresh failed 3 times ($(grep -m1 -o 'E: .*' "$state/update.log" | cut -c1-160)); going on with the indexes that did download"
}

# The highest version that the package lists of both architectures share.
shared_version() {
  local pkg=$1 v best=
  while read -r v; do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done < <(comm -12 <(apt-cache madison "$pkg:amd64" 2>/dev/null | awk -F' *[|] *' '{print $2}' | sort -u) \
                    <(apt-cache madison "$pkg:i386" 2>/dev/null | awk -F' *[|] *' '{print $2}' | sort -u))
  echo "$best"
}

# The packages a simulated install would remove or cannot install: the
# "Remv" lines and every name on the lines about unmet dependencies.
troubled_packages() {
  awk '/^Remv / { print $2 }
       /^E: / { unmet = 0 }
       unmet {
         if ($0 ~ /^ *[^ ]+ : /) print $1
         n = split($0, w, /(Depends|Breaks|Conflicts): /)
         for (i = 2; i <= n; i++) { split(w[i], x, /[ ,]/); print x[1] }
       }
       /unmet dependencies/ { unmet = 1 }' | sed 's/:.*//' | sort -u
}

# Installs packages with the base release as the default and each clashing
# Multi-Arch: same pair named at the highest version both architectures
# share, found by simulating the install a few times.
pinned_install() {
  local pins=() target=() round sim pkg v
  [ -n "$base" ] && target=(-t "$base")
  for round in 1 2 3 4 5; do
    sim=$(apt-get install -s --no-install-recommends --allow-downgrades "${target[@]}" "$@" "${pins[@]}" 2>&1) || true
    if ! grep -q '^Remv \|^E: ' <<<"$sim"; then
      apt-get install -y -qq --no-install-recommends --allow-downgrades "${target[@]}" "$@" "${pins[@]}" >/dev/null
      return
    fi
    local added=0
    for pkg in $(troubled_packages <<<"$sim"); do
      printf '%s\n' "${pins[@]}" | grep -q "^$pkg:" && continue
      apt-cache show "$pkg" 2>/dev/null | grep -q '^Multi-Arch: same' || continue
      v=$(shared_version "$pkg")
      [ -n "$v" ] || continue
      pins+=("$pkg:amd64=$v" "$pkg:i386=$v")
      added=1
    done
    [ $added = 1 ] || return 1
    echo "setup: matching the two architectures: ${pins[*]}"
  done
  return 1
}

install_packages() {
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null 2>&1 || pinned_install "$@"
}

# Debian 12 carries qemu-user 7.2; its backports carry 10.0, a static build
# with no dependencies (scripts/wine-env.sh says why 7.2 will not do).
sources=${SETUP_SOURCES_DIR:-/etc/apt/sources.list.d}   # the tests' stand-in for the real one
backports=$sources/irelief-$base-backports.sources
add_backports() {
  [ "$base" = bookworm ] || return 0
  grep -rqs "$base-backports" /etc/apt/sources.list "$sources" && return 0
  mkdir -p "$sources"
  printf '%s\n' "Types: deb" "URIs: http://deb.debian.org/debian" "Suites: $base-backports" \
    "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" >"$backports"
}
install_qemu() {
  if [ "$base" = bookworm ]; then
    apt-get install -y -qq --no-install-recommends -t "$base-backports" qemu-user >/dev/null 2>&1 || return 1
  else
    install_packages qemu-user || return 1
  fi
  qemu_locate
  qemu_usable
}

mkdir -p "$state"
echo "setup: installing ${need[*]}${need[*]:+ }${want32[*]}"
if [[ " ${want32[*]} " == *" wine32:i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
[[ " ${want32[*]} " == *" qemu-user "* ]] && add_backports
refresh_indexes
if [ ${#need[@]} -gt 0 ] && ! install_packages "${need[@]}"; then
  echo "setup: could not install ${need[*]}; see 'apt-get install ${need[*]}'" >&2
  exit 1
fi
missing32=()
for pkg in "${want32[@]}"; do
  if [ "$pkg" = qemu-user ]; then
    install_qemu || missing32+=("qemu-user $QEMU_MIN_MAJOR or later")
  else
    install_packages "$pkg" || missing32+=("$pkg")
  fi
done
if [ ${#missing32[@]} -gt 0 ]; then
  touch "$wine32_unavailable"
  echo "setup: ${missing32[*]} cannot be installed from the package registry now; x86 tests are skipped, the 64-bit twin carries the Windows tests"
else
  rm -f "$wine32_unavailable"
fi
echo "setup: done"
