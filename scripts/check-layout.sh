#!/usr/bin/env bash
# Fails when a folder of the product uses the test support: no source file under setup/,
# toolpage/ or framework/ includes a header of testsupport/, and no CMake file there names
# testsupport (to link it or to reach its headers). Files in tests/ folders are exempt:
# their programs are test tooling, and add_wine_gtest links the test support into them.
# Benchmark programs use benchsupport/ instead.
set -euo pipefail
cd "$(dirname "$0")/.."
product=(setup toolpage framework)
status=0

# The test support's headers, by file name (a product header never takes one of these names).
names=$(find testsupport -name '*.h' -printf '%f\n' | sort -u | sed 's/\./\\./g' | paste -sd'|')
include_pattern="^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]([^\">]*[/\\\\])?(${names})[\">]|^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<][^\">]*testsupport"

while IFS= read -r -d '' file; do
  found=$(grep -nE "$include_pattern" "$file" || true)
  if [ -n "$found" ]; then
    sed "s|^|$file:|; s|\$|  (includes the test support)|" <<<"$found"
    status=1
  fi
done < <(find "${product[@]}" -type d -name tests -prune -o -type f \
              \( -name '*.cpp' -o -name '*.c' -o -name '*.h' -o -name '*.rc' -o -name '*.idl' \) -print0)

while IFS= read -r -d '' file; do
  # Comments do not count.
  found=$(sed 's/#.*//' "$file" | grep -nw 'testsupport' || true)
  if [ -n "$found" ]; then
    sed "s|^|$file:|; s|\$|  (links the test support)|" <<<"$found"
    status=1
  fi
done < <(find "${product[@]}" -type d -name tests -prune -o -type f \
              \( -name 'CMakeLists.txt' -o -name '*.cmake' \) -print0)

[ $status -eq 0 ] || echo "The product's folders must not use testsupport/ (benchmarks use benchsupport/)." >&2
exit $status
