#!/usr/bin/env bash
# Installs whatever of the toolchain is missing; does nothing when all is there.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd i686-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-i686 mingw-w64)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64 mingw-w64)
have_cmd i686-w64-mingw32-windres     || need+=(binutils-mingw-w64-i686)
have_pkg wine32:i386 || need+=(wine32:i386)
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
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
if [ "${WITH_FUZZ:-1}" = 1 ]; then
  have_cmd clang++ || need+=(clang)
  compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || need+=(libclang-rt-14-dev)
fi

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
echo "setup: done"
