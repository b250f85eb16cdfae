#!/usr/bin/env bash
# Runs a command with 32-bit x86 programs handed to qemu-i386: a new user
# and mount namespace mounts a binfmt_misc instance of its own and registers
# qemu-i386 there. Only the command and its children see the entry; it goes
# with them, also when the run is killed, and the rest of the machine keeps
# running 32-bit programs as before.
#   x86-emulated.sh COMMAND [ARGS...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: x86-emulated.sh COMMAND [ARGS...]" >&2; exit 2; }
. "$(dirname "$0")/wine-env.sh"
export QEMU_I386
exec unshare --user --map-root-user --mount bash -c '
  set -e
  qemu=$QEMU_I386
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  # 32-bit x86 ELF executables and shared objects (e_ident class 1, data 1, machine 3).
  printf "%s" ":irelief-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$qemu:F" \
    >/proc/sys/fs/binfmt_misc/register
  exec "$@"' x86-emulated "$@"
