#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the program as run.sh builds it, started
# on a virtual display; the normal suite, its window-placement tests again under a window
# manager, the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run
# of every fuzzer. Warnings are errors here.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --ui
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
stage() { printf '\n==== %s (%s)\n' "$1" "$(date +%T)"; }
start=$SECONDS

if [ "${PLOTWELL_SKIP_FORMAT:-0}" != 1 ]; then
    stage "format"
    # Every source file as .clang-format lays it out; nothing is rewritten here.
    find src tests bench \( -name '*.h' -o -name '*.cpp' \) -print0 | xargs -0 -r clang-format --dry-run --Werror
    echo "format stage: $((SECONDS - start)) s"
fi

if [ "${PLOTWELL_SKIP_TIDY:-0}" != 1 ]; then
    t=$SECONDS
    stage "clang-tidy"
    # Its own compile database: clang-tidy cannot read gcc's precompiled headers. Nothing is
    # built; generated code (moc, rcc) lies outside src/ and is not checked.
    CC=clang CXX=clang++ cmake -S . -B build-tidy -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
        -DPLOTWELL_PCH=OFF -DPLOTWELL_TESTS=OFF -DPLOTWELL_BENCH=OFF >/dev/null
    # A source that includes moc or uic output needs it made first.
    if grep -rqE '#include\s*[<"]([^">]*/)?(moc_|ui_)|\.moc"' src; then
        cmake --build build-tidy -j "$jobs" --target \
            $(cmake --build build-tidy --target help | sed -n 's#^.*/CMakeFiles/\(.*_autogen\): phony$#\1#p')
    fi
    # run-clang-tidy of LLVM 14 has no -warnings-as-errors: the same setting goes in with the config.
    run-clang-tidy -p build-tidy -quiet -j "$jobs" -header-filter="^$PWD/src/" \
        -config="$(cat .clang-tidy; printf '\nWarningsAsErrors: "*"\n')" "^$PWD/src/" >build-tidy/tidy.log 2>&1 ||
        { grep -E '(warning|error):' build-tidy/tidy.log | sort -u; echo "clang-tidy found the above"; exit 1; }
    echo "clang-tidy stage: $((SECONDS - t)) s"
fi

t=$SECONDS
stage "program build, as run.sh builds it"
PLOTWELL_WERROR=ON tools/build-program.sh -j "$jobs"
stage "program start"
tools/check-start.sh build-release/plotwell
echo "program stage: $((SECONDS - t)) s"

t=$SECONDS
stage "normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTWELL_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
stage "normal tests"
ctest --test-dir build -j "$jobs" --output-on-failure --timeout 300
echo "normal stage: $((SECONDS - t)) s"

t=$SECONDS
stage "window placement under a window manager"
# Offscreen no window manager frames or moves a window: the placement tests run once more with one.
tools/check-placement.sh build
echo "placement stage: $((SECONDS - t)) s"

if [ "${PLOTWELL_SKIP_SANITIZE:-0}" != 1 ]; then
    t=$SECONDS
    stage "sanitizer build"
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLOTWELL_SANITIZE=ON -DPLOTWELL_BENCH=OFF \
        -DPLOTWELL_WERROR=ON >/dev/null
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
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTWELL_FUZZ=ON \
        -DPLOTWELL_WERROR=ON >/dev/null
    cmake --build build-fuzz -j "$jobs"
    stage "short fuzz runs"
    tests/fuzz/run-short.sh build-fuzz "${PLOTWELL_FUZZ_SECONDS:-10}"
    echo "fuzz stage: $((SECONDS - t)) s"
fi
echo "all stages: $((SECONDS - start)) s"
