#!/usr/bin/env bash
# Fails when a deliverable imports a DLL that Windows itself does not provide.
set -euo pipefail
root="$1"
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|msvcrt|shlwapi|uuid|winmm|wininet|ws2_32)\.dll$'
status=0
for f in $(find "$root" -maxdepth 3 \( -name '*.exe' -o -name '*.kvx' \) -path '*/bin/*'); do
  case "$f" in *-tests.exe|*_tests.exe|*_benchmark.exe) continue;; esac
  objdump=x86_64-w64-mingw32-objdump
  for dll in $($objdump -p "$f" | awk '/DLL Name:/ {print tolower($3)}'); do
    if ! [[ "$dll" =~ $allowed ]]; then echo "$f imports $dll"; status=1; fi
  done
done
exit $status
