#!/usr/bin/env bash
# Short fuzz run for CI: every target built in BUILD_DIR runs for about SECONDS on a copy of
# its seed corpus (the repository stays clean), two at a time, under ASan and UBSan.
# Any crash, sanitizer report, leak, input slower than 1 s or use of more than 512 MiB
# fails the run; the offending input is printed (base64) so it can be replayed with
#   base64 -d > crash && BUILD_DIR/tests/fuzz/<target> crash
# Usage: tests/fuzz/run-short.sh BUILD_DIR SECONDS
set -uo pipefail
build=${1:?usage: run-short.sh BUILD_DIR SECONDS}
seconds=${2:?usage: run-short.sh BUILD_DIR SECONDS}
here=$(cd "$(dirname "$0")" && pwd)
list="$build/tests/fuzz/targets.txt"
parallel=${PLOTWELL_FUZZ_JOBS:-2}
[ -f "$list" ] || { echo "no fuzz targets list in $build (configure with -DPLOTWELL_FUZZ=ON)" >&2; exit 1; }
mapfile -t targets < <(grep -v '^$' "$list")
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets built" >&2; exit 1; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/plotwell-fuzz-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:allocator_may_return_null=0:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:symbolize=1

run_one() {
    local t=$1 dir="$scratch/$1"
    mkdir -p "$dir/corpus" "$dir/artifacts"
    [ -d "$here/corpus/$t" ] && cp -r "$here/corpus/$t/." "$dir/corpus/"
    local extra=()
    [ -f "$here/$t.dict" ] && extra+=("-dict=$here/$t.dict")
    "$build/tests/fuzz/$t" "$dir/corpus" "${extra[@]}" -max_total_time="$seconds" -timeout=1 \
        -rss_limit_mb=512 -malloc_limit_mb=512 -print_final_stats=1 \
        -artifact_prefix="$dir/artifacts/" >"$dir/log" 2>&1
    echo $? >"$dir/rc"
}

start=$SECONDS
running=0
for t in "${targets[@]}"; do
    if [ ! -x "$build/tests/fuzz/$t" ]; then
        echo "missing fuzz target binary: $t" >&2
        mkdir -p "$scratch/$t" && echo 1 >"$scratch/$t/rc" && echo "not built" >"$scratch/$t/log"
        continue
    fi
    run_one "$t" &
    running=$((running + 1))
    if [ "$running" -ge "$parallel" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait

failed=0
printf '%-28s %12s %8s  %s\n' target executions corpus result
for t in "${targets[@]}"; do
    dir="$scratch/$t"
    rc=$(cat "$dir/rc" 2>/dev/null || echo 1)
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
    units=$(find "$dir/corpus" -type f 2>/dev/null | wc -l)
    if [ "$rc" = 0 ]; then
        printf '%-28s %12s %8s  %s\n' "$t" "${execs:-?}" "$units" ok
    else
        failed=1
        printf '%-28s %12s %8s  %s\n' "$t" "${execs:-?}" "$units" "FAILED (exit $rc)"
    fi
done
for t in "${targets[@]}"; do
    dir="$scratch/$t"
    [ "$(cat "$dir/rc" 2>/dev/null || echo 1)" = 0 ] && continue
    printf '\n==== %s: last lines of the log\n' "$t"
    tail -n 60 "$dir/log"
    for a in "$dir"/artifacts/*; do
        [ -f "$a" ] || continue
        printf -- '---- input %s (%s bytes), base64:\n' "$(basename "$a")" "$(stat -c %s "$a")"
        head -c 65536 "$a" | base64
    done
done
echo "fuzz runs: $((SECONDS - start)) s for ${#targets[@]} targets, $parallel at a time"
exit $failed
