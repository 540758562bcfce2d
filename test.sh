#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the normal suite, the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of every fuzzer.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
stage() { printf '\n==== %s (%s)\n' "$1" "$(date +%T)"; }
start=$SECONDS

stage "normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
stage "normal tests"
ctest --test-dir build -j "$jobs" --output-on-failure --timeout 300
echo "normal stage: $((SECONDS - start)) s"

if [ "${PLOTWELL_SKIP_SANITIZE:-0}" != 1 ]; then
    t=$SECONDS
    stage "sanitizer build"
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLOTWELL_SANITIZE=ON -DPLOTWELL_BENCH=OFF >/dev/null
    cmake --build build-asan -j "$jobs"
    stage "sanitizer tests"
    ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --test-dir build-asan -j "$jobs" --output-on-failure --timeout 600
    echo "sanitizer stage: $((SECONDS - t)) s"
fi

if [ "${PLOTWELL_SKIP_FUZZ:-0}" != 1 ] && [ -f tests/fuzz/CMakeLists.txt ]; then
    t=$SECONDS
    stage "fuzz build"
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTWELL_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j "$jobs"
    stage "short fuzz runs"
    tests/fuzz/run-short.sh build-fuzz "${PLOTWELL_FUZZ_SECONDS:-20}"
    echo "fuzz stage: $((SECONDS - t)) s"
fi
echo "all stages: $((SECONDS - start)) s"
