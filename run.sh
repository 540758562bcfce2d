#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Plotwell.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLOTWELL_TESTS=OFF -DPLOTWELL_BENCH=OFF >/dev/null
cmake --build build-release --target plotwell
exec ./build-release/plotwell "$@"
