#!/usr/bin/env bash
# The tool page at work: the least console host (external/console-host) registers
# Tuvek.kvx, hosts its page against a simulated NetWare 4.11 server, installs the module,
# unloads and loads it again, creates a script of real lines (a command with its Enter, a
# delay, then the screen change a new script holds), saves it, renames it, edits and plays
# it, and shows a 3.11 server's sheet. PNGs of each sheet go to
# out/console-host/. Run after scripts/demo.sh has built x86_64 (it calls this script).
source "$(dirname "$0")/lib.sh"
OUT="$REPO_ROOT/out"
BIN="$BUILD_ROOT/x86_64/bin"
mkdir -p "$OUT"
[ -f "$BIN/console-host.exe" ] || build_arch x86_64
start_wine_session "$BUILD_ROOT/x86_64"
export STAVREL_SCREENSHOTS="Z:$OUT"

# The simulated server's folders, reachable as \\NWDEMO\SYS through the prefix.
UNC_ROOT="$BUILD_ROOT/x86_64/nwsim-unc"
"$REPO_ROOT/external/nwserver/link-unc.sh" "$WINEPREFIX" "$UNC_ROOT" NWDEMO
SERVER="$UNC_ROOT/NWDEMO"
TOOLS="$BUILD_ROOT/x86_64/demo-tools"
winpath() { echo "Z:$1" | tr / '\\'; }
make_server() {  # make_server <version>
  rm -rf "$SERVER" && mkdir -p "$SERVER/SYS/SYSTEM" "$SERVER/VOL1"
  echo module >"$SERVER/SYS/SYSTEM/VX4LIB.NLM"
  printf 'MOUNT ALL\r\n' >"$SERVER/SYS/SYSTEM/AUTOEXEC.NCF"
  for m in VX4CS.NLM VX4RC.NLM CLIBAUX.NLM; do printf 'needs VX4LIB\r\n' >"$SERVER/SYS/SYSTEM/$m"; done
  printf 'server NWDEMO\r\nversion %s\r\noem-names yes\r\nvolume SYS %s\r\nvolume VOL1 %s\r\nstate %s\r\n' "$1" \
    "$(winpath "$SERVER/SYS")" "$(winpath "$SERVER/VOL1")" "$(winpath "$SERVER/server.state")" >"$SERVER/server.ini"
  export NWSIM_CONFIG="$(winpath "$SERVER/server.ini")"
}
rm -rf "$TOOLS" && mkdir -p "$TOOLS"
printf 'needs VX4LIB\r\n' >"$TOOLS/TUVEK.NLM"
printf '\\@System Console\r\n' >"$TOOLS/DOWN.OKS"

host() { wine "$BIN/console-host.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
echo "== the page on a NetWare 4.11 server"
make_server 411
host "register $(winpath "$BIN/Tuvek.kvx")" "tools-key $(winpath "$TOOLS")" open "connect 1" refresh \
  "png page-install-sheet" "click Install" "png page-control-sheet" "click Unload" "png page-unloaded" \
  "click Load" "click New" "rename NEW.OKS" \
  "choose Delay" "click Screen" "type 3" \
  "choose Function Key" "click Screen" "type Enter" \
  "choose Text" "click Screen" "type load monitor" "wait 200" "png page-script-edited" "click Save" \
  "rename BOOT.OKS" "png page-script-renamed" "line 2" "type 5" "click Play" "png page-script-played" close
echo "-- the server's console log"
cat "$SERVER/server.state.console"
echo "-- the script BOOT.OKS as the server plays it"
cat "$SERVER/SYS/SYSTEM/BOOT.OKS"; echo
echo "-- its AUTOEXEC.NCF"
cat "$SERVER/SYS/SYSTEM/AUTOEXEC.NCF"
echo "== the page on a NetWare 3.11 server"
make_server 311
host open "connect 1" refresh "png page-too-old-sheet" close
host "unregister $(winpath "$BIN/Tuvek.kvx")"
echo "Screenshots: $OUT/console-host/"
