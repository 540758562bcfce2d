#!/usr/bin/env bash
# Long fuzz run by hand: TARGET for SECONDS, keeping what it learns.
# The working corpus grows in BUILD_DIR/fuzz-work/TARGET/corpus (seeded from
# tests/fuzz/corpus/TARGET); crashes, leaks and slow inputs go to .../artifacts.
# Add a finding to tests/fuzz/corpus/TARGET together with its unit test and fix.
# Usage: tests/fuzz/run-long.sh TARGET SECONDS [BUILD_DIR (default build-fuzz)]
set -uo pipefail
target=${1:?usage: run-long.sh TARGET SECONDS [BUILD_DIR]}
seconds=${2:?usage: run-long.sh TARGET SECONDS [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
build=${3:-$here/../../build-fuzz}
bin="$build/tests/fuzz/$target"
[ -x "$bin" ] || { echo "no $bin: build with -DPLOTWELL_FUZZ=ON (see test.sh)" >&2; exit 1; }
work="$build/fuzz-work/$target"
mkdir -p "$work/corpus" "$work/artifacts"
[ -d "$here/corpus/$target" ] && cp -rn "$here/corpus/$target/." "$work/corpus/"
extra=()
[ -f "$here/$target.dict" ] && extra+=("-dict=$here/$target.dict")
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:symbolize=1
"$bin" "$work/corpus" "${extra[@]}" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=512 \
    -malloc_limit_mb=512 -print_final_stats=1 -artifact_prefix="$work/artifacts/" 2>&1 |
    tee "$work/log" | grep -E '^(#[0-9]+ +(INITED|DONE|REDUCE)|stat::|==[0-9]+==|SUMMARY|artifact|Test unit)' 
rc=${PIPESTATUS[0]}
echo "$target: exit $rc; log in $work/log"
exit "$rc"
