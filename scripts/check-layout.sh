#!/usr/bin/env bash
# Fails when a folder of the product uses the test support: no source file under setup/,
# toolpage/ or framework/ includes a header of testsupport/, and no CMake file there names
# testsupport (to link it or to reach its headers). Files in tests/ folders are exempt:
# their programs are test tooling, and add_wine_gtest links the test support into them.
# Benchmark programs use benchsupport/ instead.
# Across the whole tree, a program or library never compiles another folder's source file:
# it links the library that owns it (native/ is the portable build of those same files).
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

while IFS= read -r -d '' file; do
  found=$(sed 's/#.*//' "$file" | grep -nE '(\$\{(CMAKE_SOURCE_DIR|PROJECT_SOURCE_DIR|TOP)\}|\.\.)/[^ )"]*\.(c|cpp)([ )"]|$)' || true)
  if [ -n "$found" ]; then
    sed "s|^|$file:|; s|\$|  (compiles another folder's source: link its library)|" <<<"$found"
    status=1
  fi
done < <(find . -path ./native -prune -o -path './build*' -prune -o -path ./.git -prune -o -path '*/fuzz/native.cmake' -prune \
              -o -type f \( -name 'CMakeLists.txt' -o -name '*.cmake' \) -print0)

[ $status -eq 0 ] || echo "The layout rules above are broken: the product's folders use no testsupport/ (benchmarks use benchsupport/), and code is shared by linking its library." >&2
exit $status
