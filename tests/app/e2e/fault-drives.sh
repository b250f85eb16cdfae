#!/usr/bin/env bash
# The drives of the end-to-end fault tests in a Wine prefix:
#   T: a nearly empty 1 MiB tmpfs (scripts/small-disk.sh) for the disk-full case;
#   R: a tmpfs remounted read-only, holding R:\Host\Plug-ins\Mirefold\ with an
#      old plug-in, for the read-only folder (root writes through Unix
#      permissions, not through a read-only mount).
# Without the right to mount, it does nothing and those tests skip themselves.
#   fault-drives.sh mount|unmount PREFIX BASE
action=$1
prefix=$2
base=$3
here=$(cd "$(dirname "$0")" && pwd)
small="$here/../../../scripts/small-disk.sh"
ro="$base/readonly"
link="$prefix/dosdevices/r:"
case "$action" in
  mount)
    bash "$small" mount "$prefix" "$base/small"
    mkdir -p "$ro"
    if ! mountpoint -q "$ro"; then
      mount -t tmpfs -o size=256k tmpfs "$ro" 2>/dev/null || { echo "fault-drives: cannot mount; R: tests skip"; exit 0; }
    fi
    mount -o remount,rw "$ro"
    mkdir -p "$ro/Host/Plug-ins/Mirefold"
    printf 'old 32-bit plug-in' > "$ro/Host/Plug-ins/Mirefold/iRelief.8bf"
    printf 'old 64-bit plug-in' > "$ro/Host/Plug-ins/Mirefold/iRelief(X64).8bf"
    mount -o remount,ro "$ro"
    rm -f "$link"
    ln -s "$ro" "$link"
    ;;
  unmount)
    rm -f "$link"
    mountpoint -q "$ro" && umount "$ro"
    bash "$small" unmount "$prefix" "$base/small"
    ;;
esac
exit 0
