#!/usr/bin/env bash
# The main job: builds the setup program and, with it, the sample product's distributable
# setup under Wine as a build machine does ("bramset.exe -b" beside its BUILD.INF), checks
# the setup that came out and copies it to out/setup.exe; then starts that setup and
# saves a screenshot of what it shows under out/.
source "$(dirname "$0")/lib.sh"
ensure_packages imagemagick
echo "== build x86_64"
build_arch x86_64
OUT="$REPO_ROOT/out"
mkdir -p "$OUT"
start_wine_session "$BUILD_ROOT/x86_64"
BIN="$BUILD_ROOT/x86_64/bin"

# The build machine inside the prefix: the product's files in C:\Stavrel\Sample (where
# the configuration takes them from), the setup program with its BUILD.INF in
# C:\Stavrel\Tools, the loader program's folder on the installer library's search path.
machine="$WINEPREFIX/drive_c/Stavrel"
rm -rf "$machine"
mkdir -p "$machine/Tools" "$machine/Sample"
cp -r "$BUILD_ROOT/x86_64/sample-product/." "$machine/Sample/"
cp "$BIN/bramset.exe" "$machine/Tools/"
printf 'C:\\Stavrel\\Setup\r\n' >"$machine/Tools/BUILD.INF"
wine reg add 'HKCU\Software\TOBA\Quenlark\Library' /v 'Search Path' /d "$(winepath -w "$BIN")" /f \
  >/dev/null 2>&1

echo "== build the sample's setup: bramset.exe -b"
start=$(date +%s%N)
wine 'C:\Stavrel\Tools\bramset.exe' -b </dev/null >"$OUT/build.log" 2>&1 || true
millis=$((($(date +%s%N) - start) / 1000000))
setup="$machine/Setup/setup.exe"
if [ ! -f "$setup" ]; then
  echo "the build made no setup.exe (its message box told why; see $OUT/build.log)" >&2
  exit 1
fi
printf 'built in %d.%03d s\n' $((millis / 1000)) $((millis % 1000))

echo "== check it"
wine "$BIN/setupcheck.exe" 'C:\Stavrel\Setup\setup.exe' 2>&1 | tr -d '\r' | tee "$OUT/setup-contents.txt"
[ "${PIPESTATUS[0]}" -eq 0 ] || { echo "the setup failed its check" >&2; exit 1; }
cp "$setup" "$OUT/setup.exe"
echo "Distributable setup: $OUT/setup.exe (built as C:\\Stavrel\\Setup\\setup.exe in $WINEPREFIX)"

echo "== run it"
# The setup shows its splash while it installs the sample into the prefix: the screen is
# taken again and again while the setup runs (for at most DEMO_SECONDS) and the richest
# picture is kept (the bare desktop is one colour).
wine 'C:\Stavrel\Setup\setup.exe' </dev/null >"$OUT/setup.log" 2>&1 &
pid=$!
shot="$OUT/bramset.png"
rm -f "$shot"
best=0.001
deadline=$(($(date +%s) + ${DEMO_SECONDS:-10}))
while [ "$(date +%s)" -lt "$deadline" ] && kill -0 "$pid" 2>/dev/null; do
  import -display "$DISPLAY" -window root "$OUT/screen.png" 2>/dev/null || continue
  spread=$(convert "$OUT/screen.png" -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
  if awk -v s="$spread" -v b="$best" 'BEGIN { exit !(s > b) }'; then
    best=$spread
    mv "$OUT/screen.png" "$shot"
  fi
done
rm -f "$OUT/screen.png"
if [ -f "$shot" ]; then echo "Screenshot: $shot"; else echo "the setup showed nothing to take" >&2; fi
# A setup still running (waiting for its user) is closed as a user would close it; the
# loader then ends too.
wine taskkill /IM bramset.exe >/dev/null 2>&1 || true
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  echo "the setup did not end after its window was closed" >&2
  kill "$pid"
  exit 1
fi
wait "$pid" || { echo "the setup failed; see $OUT/setup.log" >&2; exit 1; }
echo "the setup ended; the sample is installed in C:\\Program Files\\Kavel\\Stavrel 4 of the prefix"
# The page's demonstration starts its own Wine session.
stop_wine_session
trap - EXIT
[ -z "$XVFB_PID" ] || unset DISPLAY
"$(dirname "$0")/demo-page.sh"
