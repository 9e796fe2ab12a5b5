#!/usr/bin/env bash
# Makes \\SERVER\VOLUME\... reach the simulated servers' volume folders under Wine:
# Wine resolves \\SERVER\SHARE through the prefix's dosdevices/unc/SERVER/SHARE.
# Usage: link-unc.sh <wine prefix> <root folder> <server>...
# Each server gets <root>/<server>/SYS/SYSTEM, linked as dosdevices/unc/<server>.
set -euo pipefail
prefix="$1" root="$2"
shift 2
mkdir -p "$prefix/dosdevices/unc"
for server in "$@"; do
  mkdir -p "$root/$server/SYS/SYSTEM"
  ln -sfn "$root/$server" "$prefix/dosdevices/unc/$server"
done
