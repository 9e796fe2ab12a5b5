#!/usr/bin/env bash
# The drives of the failed-install road in the test prefix: R: a 16 MiB drive (room for
# the product; the road fills it up to leave room for all but the product's last file) and
# S: a drive that cannot be written, holding the folder "Programs", each a tmpfs mounted
# below the build tree (mounting needs the right to mount). Where a mount is refused the
# drive is left out, and the road reports its part as skipped. With "-" for the prefix only the drives
# are mounted (the test maps them into a prefix of its own).
# Usage: failure-drives.sh make|remove <wine prefix>|- <folder>
set -uo pipefail
action="$1" prefix="$2" folder="$3"
# letter:name:mount options:the folder made before the drive turns read-only (none: it stays writable)
drives=("r:small:size=16m:" "s:readonly:size=1m:Programs")
case "$action" in
  make)
    [ "$prefix" = - ] || mkdir -p "$prefix/dosdevices"
    for drive in "${drives[@]}"; do
      IFS=: read -r letter name options kept <<<"$drive"
      mountpoint -q "$folder/$name" && umount "$folder/$name"
      mkdir -p "$folder/$name"
      [ "$prefix" = - ] || rm -f "$prefix/dosdevices/$letter:"
      if mount -t tmpfs -o "$options" "stavrel-$name" "$folder/$name" 2>/dev/null &&
         { [ -z "$kept" ] || { mkdir "$folder/$name/$kept" && mount -o remount,ro "$folder/$name"; } ||
           { umount "$folder/$name"; false; }; }; then
        [ "$prefix" = - ] || ln -sfn "$folder/$name" "$prefix/dosdevices/$letter:"
      else
        echo "failure-drives.sh: cannot mount $folder/$name; drive $letter: left out" >&2
      fi
    done
    ;;
  remove)
    for drive in "${drives[@]}"; do
      IFS=: read -r letter name options kept <<<"$drive"
      if [ "$(readlink "$prefix/dosdevices/$letter:" 2>/dev/null || true)" = "$folder/$name" ]; then
        rm -f "$prefix/dosdevices/$letter:"
      fi
      mountpoint -q "$folder/$name" && umount "$folder/$name"
    done
    exit 0
    ;;
  *)
    echo "usage: failure-drives.sh make|remove <wine prefix> <folder>" >&2
    exit 2
    ;;
esac
