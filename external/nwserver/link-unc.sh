#!/usr/bin/env bash
# Makes \\SERVER\VOLUME\... reach the simulated servers' volume folders under Wine:
# Wine resolves \\SERVER\SHARE through the prefix's dosdevices/unc/SERVER/SHARE.
# Usage: link-unc.sh <wine prefix> <root folder> <server>...
# dosdevices/unc becomes a link to the root folder, so every folder <root>/<name> that a
# test creates is reachable as \\<name>; the servers named get <root>/<server>/SYS/SYSTEM.
set -euo pipefail
prefix="$1" root="$2"
shift 2
mkdir -p "$prefix/dosdevices" "$root"
unc="$prefix/dosdevices/unc"
if [ -d "$unc" ] && [ ! -L "$unc" ]; then
  # A folder of links made by an earlier version of this script: only links are removed.
  find "$unc" -mindepth 1 -maxdepth 1 -type l -delete
  rmdir "$unc"
fi
ln -sfn "$root" "$unc"
for server in "$@"; do
  mkdir -p "$root/$server/SYS/SYSTEM"
done
