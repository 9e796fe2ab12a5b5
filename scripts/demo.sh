#!/usr/bin/env bash
# The main job: builds the setup program, then plays the product's whole road under Wine
# (road/, install_road.exe): a build machine in the prefix builds the
# distributable setup ("bramset.exe -b" beside its BUILD.INF), the setup is installed
# through its wizard as a user does, what was installed is checked and printed, the
# uninstaller is run from the Add/Remove Programs entry and nothing the setup made may
# remain. PNGs of the splash and of every wizard page go to out/install_road/, the setup
# itself to out/setup.exe. Then the tool page's demonstration (scripts/demo-page.sh).
source "$(dirname "$0")/lib.sh"
ensure_packages
echo "== build x86_64"
build_arch x86_64
job_start=$(date +%s%N)
OUT="$REPO_ROOT/out"
mkdir -p "$OUT"
rm -rf "$OUT/install_road"
start_wine_session "$BUILD_ROOT/x86_64"
BIN="$BUILD_ROOT/x86_64/bin"

set +e
wine "$BIN/install_road.exe" --screenshots "Z:$OUT" --copy-setup "Z:$OUT" </dev/null 2>&1 | tr -d '\r' |
  tee "$OUT/road.log"
status=${PIPESTATUS[0]}
set -e
if [ -f "$OUT/setup.exe" ]; then
  echo "== what the distributable setup holds (out/setup-contents.txt)"
  wine "$BIN/setupcheck.exe" "Z:$OUT/setup.exe" 2>&1 | tr -d '\r' >"$OUT/setup-contents.txt" || status=1
  grep -E '^(setup|files)\.1|digest|record' "$OUT/setup-contents.txt" || true
fi
echo "Screenshots: $OUT/install_road/"
[ "$status" -eq 0 ] || { echo "the road failed; see $OUT/road.log" >&2; exit 1; }

# The page's demonstration starts its own Wine session.
stop_wine_session
trap - EXIT
[ -z "$XVFB_PID" ] || unset DISPLAY
"$(dirname "$0")/demo-page.sh"
millis=$((($(date +%s%N) - job_start) / 1000000))
printf '== the main job took %d.%03d s after the build\n' $((millis / 1000)) $((millis % 1000))
