#!/usr/bin/env bash
# Starts the program as a user would, on a virtual X display with a fresh home folder, and checks
# that after a few seconds it is still running with its main window on screen.
#   tools/check-start.sh [program, default build-release/plotwell] [seconds, default 5]
set -uo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."

if [ "${1:-}" = --on-display ]; then
    # Run by xvfb-run below: the program in the background, then a look at it.
    program=$2 seconds=$3
    "$program" >"$HOME/out.log" 2>&1 &
    pid=$!
    sleep "$seconds"
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        echo "the program ended within $seconds s (exit status $?):"
        cat "$HOME/out.log"
        echo
        exit 1
    fi
    # The frame's caption begins with the product name; its window must be mapped and viewable.
    id=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "[^"]*Plotwell Plus - .*/\1/p' | head -n 1)
    state=""
    [ -n "$id" ] && state=$(xwininfo -id "$id" | sed -n 's/^ *Map State: //p')
    if [ "$state" != IsViewable ]; then
        echo "the program runs, but its main window is not on screen (window '${id:-none}', state '${state:-none}'); its windows:"
        xwininfo -root -tree | grep '"' | grep -v 'has no name'
        kill "$pid"
        exit 1
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null
    echo "the program was running after $seconds s with its main window on screen"
    exit 0
fi

program=$(realpath "${1:-build-release/plotwell}")
seconds=${2:-5}
home=$(mktemp -d "${TMPDIR:-/tmp}/plotwell-start-XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/run QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1400x1000x24" "$self" --on-display "$program" "$seconds"
