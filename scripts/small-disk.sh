#!/usr/bin/env bash
# Mounts (or removes) a 1 MiB tmpfs and maps it as drive T: of a Wine prefix,
# for the disk-full tests. Without the right to mount, it does nothing and
# the tests that need the drive skip themselves.
#   small-disk.sh mount|unmount PREFIX MOUNT_POINT
action=$1
prefix=$2
point=$3
link="$prefix/dosdevices/t:"
case "$action" in
  mount)
    mkdir -p "$point"
    mountpoint -q "$point" || mount -t tmpfs -o size=1m tmpfs "$point" 2>/dev/null || {
      echo "small-disk: cannot mount a tmpfs here; disk-full tests will skip"
      exit 0
    }
    rm -f "$link"
    ln -s "$point" "$link"
    ;;
  unmount)
    rm -f "$link"
    mountpoint -q "$point" && umount "$point"
    ;;
esac
exit 0
