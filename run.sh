#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Plotwell.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
tools/build-program.sh
exec ./build-release/plotwell "$@"
