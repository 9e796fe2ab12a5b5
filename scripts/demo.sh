#!/usr/bin/env bash
# The main job: builds the setup program and runs it on the virtual display,
# saving a screenshot of what it shows under out/.
source "$(dirname "$0")/lib.sh"
ensure_packages imagemagick
echo "== build x86_64"
build_arch x86_64
OUT="$REPO_ROOT/out"
mkdir -p "$OUT"
start_wine_session "$BUILD_ROOT/x86_64"
echo "== run bramset"
wine "$BUILD_ROOT/x86_64/bin/bramset.exe" </dev/null >"$OUT/bramset.log" 2>&1 &
pid=$!
sleep "${DEMO_SECONDS:-4}"
import -display "$DISPLAY" -window root "$OUT/bramset.png"
echo "Screenshot: $OUT/bramset.png"
# Closing the main window ends the program as a user would.
wine taskkill /IM bramset.exe >/dev/null 2>&1 || true
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  echo "bramset did not end after its window was closed" >&2
  kill "$pid"
  exit 1
fi
wait "$pid" || { echo "bramset failed; see $OUT/bramset.log" >&2; exit 1; }
echo "bramset ended normally"
"$(dirname "$0")/demo-page.sh"
