#!/usr/bin/env bash
# A target that is a symbolic link to a file elsewhere: extracting over it must replace
# the link, never write through it into the file it leads to.
#   linked-target.sh <wine-run> <probe.exe> <prefix>
set -euo pipefail
wine_run="$1" probe="$2" prefix="$3"
work="$prefix/drive_c/linked-target-test"
outside="$prefix/linked-target-outside.txt"
rm -rf "$work" "$outside"
mkdir -p "$work/src" "$work/out"
trap 'rm -rf "$work" "$outside"' EXIT
head -c 6000 /dev/zero | tr '\0' 'n' >"$work/src/new.txt"
printf 'the file the link leads to\n' >"$outside"
ln -s "$outside" "$work/out/new.txt"

"$wine_run" "$probe" 'C:\linked-target-test'

status=0
if [ "$(cat "$outside")" != "the file the link leads to" ]; then
  echo "FAIL the extraction wrote through the link into $outside"; status=1
fi
if [ -L "$work/out/new.txt" ] || ! cmp -s "$work/out/new.txt" "$work/src/new.txt"; then
  echo "FAIL the link was not replaced by the extracted file"; status=1
fi
[ "$status" -ne 0 ] || echo "ok    the link was replaced; the file it led to is unchanged"
exit "$status"
