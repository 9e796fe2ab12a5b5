#!/usr/bin/env bash
# Maps drive A: of the test prefix to a folder of the build tree for the floppy tests
# (Wine finds A:\ through the prefix's dosdevices/a:), and puts back what was there.
# Usage: floppy-drive.sh map|restore <wine prefix> <folder>
set -euo pipefail
action="$1" prefix="$2" folder="$3"
link="$prefix/dosdevices/a:"
saved="$prefix/dosdevices/.a:.before-floppy-tests"  # the prefix's own A:, kept while mapped
none="$prefix/dosdevices/.a:.none-before-floppy-tests"
case "$action" in
  map)
    mkdir -p "$prefix/dosdevices" "$folder"
    # An earlier run that did not restore left our own link: what it saved stays saved.
    if [ "$(readlink "$link" 2>/dev/null || true)" != "$folder" ]; then
      if [ -L "$link" ]; then
        mv "$link" "$saved"
      elif [ ! -e "$link" ]; then
        touch "$none"
      else
        echo "floppy-drive.sh: $link is no link; not touched" >&2
        exit 1
      fi
    fi
    ln -sfn "$folder" "$link"
    ;;
  restore)
    if [ "$(readlink "$link" 2>/dev/null || true)" = "$folder" ]; then rm -f "$link"; fi
    if [ -L "$saved" ]; then mv "$saved" "$link"; fi
    rm -f "$none"
    ;;
  *)
    echo "usage: floppy-drive.sh map|restore <wine prefix> <folder>" >&2
    exit 2
    ;;
esac
