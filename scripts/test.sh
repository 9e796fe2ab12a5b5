#!/usr/bin/env bash
# Builds both architectures and runs every test (the x86_64 programs, under Wine).
source "$(dirname "$0")/lib.sh"
ensure_packages
for arch in "${ARCHES[@]}"; do
  echo "== build $arch"
  build_arch "$arch"
done
echo "== portable code, natively with sanitizers: unit tests, corpus replays, short fuzzing"
build_arch native
(cd "$BUILD_ROOT/native" && ctest -j "$(nproc)" --output-on-failure)
echo "== binaries need only system DLLs"
scripts/check-imports.sh "$BUILD_ROOT"
echo "== the layout: the product's folders use no test tooling, code is shared by linking"
scripts/check-layout.sh
echo "== tests (x86_64, under Wine)"
start_wine_session "$BUILD_ROOT/x86_64"
cd "$BUILD_ROOT/x86_64"
ctest -j "$(nproc)" --output-on-failure "$@"
