# Shared by the project's commands: packages, cross builds and the Wine session.
# Source it from bash; it changes into the repository's top folder.

set -euo pipefail
REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$REPO_ROOT"
BUILD_ROOT="${BUILD_ROOT:-$REPO_ROOT/build}"
ARCHES=(x86_64 i686)

ensure_packages() {
  local wanted=(cmake ninja-build g++ libgtest-dev g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
                libz-mingw-w64-dev googletest wine wine64 xvfb xauth
                clang libclang-rt-14-dev zlib1g-dev libssl-dev libwine-dev
                python3 python3-pyftpdlib "$@")
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_arch x86_64|i686|native: the native build is the portable code with sanitizers.
build_arch() {
  local arch="$1" dir="$BUILD_ROOT/$1"
  # A native tree configured with another compiler than clang is made anew.
  if [ "$arch" = native ] && [ -f "$dir/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' "$dir/CMakeCache.txt"; then
    rm -rf "$dir"
  fi
  if [ ! -f "$dir/build.ninja" ]; then
    if [ "$arch" = native ]; then
      cmake -S "$REPO_ROOT/native" -B "$dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    else
      cmake -S "$REPO_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-$arch.cmake" >/dev/null
    fi
  fi
  local log="$dir/build.log" status=0
  cmake --build "$dir" -j "$(nproc)" >"$log" 2>&1 || status=$?
  grep -v -E '^\[[0-9]+/[0-9]+\]' "$log" || true
  return $status
}

# Xvfb when there is no display, the build tree's private prefix, one wineserver for the whole run.
XVFB_PID=""
start_wine_session() {
  local arch_dir="$1"
  export WINEPREFIX="$arch_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
  fi
  own_shell_folders "$WINEPREFIX"
  use_virtual_desktop
  wineserver -p
  # Start Wine's own background processes now, detached from any test's output pipes:
  # started by the first test, they would keep its pipes open and ctest would wait forever.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
  trap stop_wine_session EXIT
}

# Wine links a new prefix's Desktop, Documents and the other shell folders to the folders
# of the home folder, which every prefix on the machine shares: a shortcut one prefix's
# test makes or removes would appear in or vanish from another's. The prefix gets real
# folders of its own instead (what the link showed is not copied).
own_shell_folders() {
  local prefix="$1" link
  for link in "$prefix"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    rm -f "$link"
    mkdir -p "$link"
  done
}

# One virtual desktop: Wine then places, sizes and maximises windows itself, as Windows
# does, instead of leaving that to an X window manager that is not there. For $WINEPREFIX.
use_virtual_desktop() {
  [ -f "$WINEPREFIX/.virtual-desktop" ] && return 0
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.virtual-desktop"
}

# make_fresh_prefix <folder>: a new prefix that no program ran in yet (an earlier one in
# that folder is removed with its wineserver), with shell folders and a desktop of its own.
make_fresh_prefix() {
  local prefix="$1"
  [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
  mkdir -p "$prefix"
  ( export WINEPREFIX="$prefix"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    own_shell_folders "$prefix"
    use_virtual_desktop )
}

stop_wine_session() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
}
