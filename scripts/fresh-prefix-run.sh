#!/usr/bin/env bash
# fresh-prefix-run.sh <prefix folder> <program.exe> [arguments]
# Runs one Windows program in a Wine prefix made fresh for it, so that nothing an earlier
# program left in a prefix can hide a fault or cause one; the prefix's wineserver ends
# with the program, and the prefix (some 700 MB) goes when the program succeeded; a failed
# one's stays to be looked at. Prints how long the new prefix took. The program's exit code.
# FRESH_PREFIX_DRIVES="r:=<folder> ..." maps drive letters of the new prefix to folders
# that are mount points (a drive whose folder is not mounted is left out).
source "$(dirname "$0")/lib.sh"
prefix="$1"
shift
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
started=$(date +%s%N)
make_fresh_prefix "$prefix"
for drive in ${FRESH_PREFIX_DRIVES:-}; do
  letter="${drive%%=*}" folder="${drive#*=}"
  mountpoint -q "$folder" && ln -sfn "$folder" "$prefix/dosdevices/$letter"
done
millis=$((($(date +%s%N) - started) / 1000000))
printf 'a fresh Wine prefix in %d.%03d s: %s\n' $((millis / 1000)) $((millis % 1000)) "$prefix"
export WINEPREFIX="$prefix"
# Wine's background processes start here, detached from the program's output pipes.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
status=0
wine "$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
[ "$status" -ne 0 ] || rm -rf "$prefix"
exit "$status"
