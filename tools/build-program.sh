#!/usr/bin/env bash
# Builds the program as a user gets it: the Release configuration, the plotwell target alone, in
# build-release. run.sh and test.sh both build through here, so CI builds exactly what a user runs.
#   tools/build-program.sh [arguments for cmake --build, such as -j 2]
# PLOTWELL_WERROR=ON (test.sh sets it) makes every warning in the program's own sources an error.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLOTWELL_TESTS=OFF -DPLOTWELL_BENCH=OFF \
    -DPLOTWELL_WERROR="${PLOTWELL_WERROR:-OFF}" >/dev/null
cmake --build build-release --target plotwell "$@"
