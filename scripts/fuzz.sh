#!/usr/bin/env bash
# Runs every fuzzer of the native build (build/native) for a while, in parallel, and
# reports per fuzzer the inputs tried and the coverage reached.
#
#   scripts/fuzz.sh [seconds]     each fuzzer runs that long (default 60)
#
# FUZZ_JOBS sets how many run at once (default: every core but one). Each runs a copy of
# its program on a scratch copy of its committed corpus under build/native/fuzz-long/<name>/;
# an input that makes it fail is left there (crash-*, leak-*, oom-*, timeout-*): add it to
# the committed corpus once the fault is fixed.
source "$(dirname "$0")/lib.sh"
seconds="${1:-60}"
jobs="${FUZZ_JOBS:-$(($(nproc) > 1 ? $(nproc) - 1 : 1))}"
native="$BUILD_ROOT/native"

build_arch native
list="$native/fuzzers.txt"
[ -s "$list" ] || { echo "No fuzzers in $list" >&2; exit 1; }

run_one() {
  local program="$1" corpus="$2" seconds="$3" work
  work="$(dirname "$program")/fuzz-long/$(basename "$program")"
  rm -rf "$work" && mkdir -p "$work/corpus"
  cp -r "$corpus"/. "$work/corpus/" 2>/dev/null || true
  # A copy of the program runs, so that a rebuild meanwhile does not disturb it.
  cp "$program" "$work/program"
  "$work/program" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" \
    >"$work/log" 2>&1
  echo $? >"$work/status"
}
export -f run_one

echo "== fuzzing for ${seconds}s each, $jobs at a time"
xargs -P "$jobs" -L 1 bash -c 'run_one "$0" "$1" '"$seconds" <"$list"

failed=0
printf '%-24s %14s %8s %8s %8s  %s\n' fuzzer executions cov ft corpus result
while read -r program corpus; do
  name="$(basename "$program")"
  work="$native/fuzz-long/$name"
  execs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/log" | grep -o '[0-9]*$' | tail -n 1)"
  last="$(grep -E '^#[0-9]+' "$work/log" | grep 'cov:' | tail -n 1)"
  cov="$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")"
  ft="$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")"
  files="$(find "$work/corpus" -type f | wc -l)"
  result=ok
  if [ "$(cat "$work/status")" != 0 ]; then
    result="FAULT: see $work/log and $(ls "$work" | grep -E '^(crash|leak|oom|timeout|slow-unit)-' | head -n 1)"
    failed=1
  fi
  printf '%-24s %14s %8s %8s %8s  %s\n' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$files" "$result"
done <"$list"
exit $failed
