#!/usr/bin/env bash
# Runs the form tests of where windows go under a window manager: openbox on a virtual X display,
# the toolkit on xcb. Offscreen no window manager frames, places or moves a window, so only here do
# these tests meet its timing. Every selected test must run and pass; one that skips fails too.
#   tools/check-placement.sh [build folder, default build]
set -uo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.." || exit 1

# The screen, the test executable, then the gtest filter of its placement tests. On the smaller
# screen the frame's design size with its decorations does not fit: the frame must fit itself to
# them once the window manager has framed it.
tests=(
    1400x1000 test_app_forms "AppTest.AWindowMadeOverAMaximisedOneComesUpMaximised:AppTest.TheFrameOpensInsideTheScreensFreeArea:AppTest.FrameKeepsItsMinimumWidth:FirstUseTest.NewWindowsCascadeInsideTheClientArea:FirstUseTest.CascadeStaggersTheWindowsAndKeepsTheirSizes"
    1400x1000 test_workspace_forms "ZoomDrawTest.*Overview*"
    1024x768 test_app_forms "AppTest.TheFrameOpensInsideTheScreensFreeArea"
)

if [ "${1:-}" = --on-display ]; then
    # Run by xvfb-run below: the window manager first, then the tests of this screen.
    build=$2 screen=$3
    openbox --sm-disable >"$HOME/openbox.log" 2>&1 &
    wm=$!
    trap 'kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null' EXIT
    # Windows shown before the window manager has taken the display would go unframed.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        echo "openbox did not take the display:"
        cat "$HOME/openbox.log"
        exit 1
    fi
    status=0
    for ((i = 0; i < ${#tests[@]}; i += 3)); do
        [ "${tests[i]}" = "$screen" ] || continue
        name=${tests[i + 1]} exe=$build/${tests[i + 1]} filter=${tests[i + 2]}
        wanted=$("$exe" --gtest_filter="$filter" --gtest_list_tests 2>/dev/null | grep -c '^  ')
        out=$("$exe" --gtest_filter="$filter" 2>&1)
        code=$?
        passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p' <<<"$out")
        if [ $code -ne 0 ] || [ "$wanted" -eq 0 ] || [ "${passed:-0}" -ne "$wanted" ] ||
            grep -q '^\[  SKIPPED \]' <<<"$out"; then
            echo "$out"
            echo "$name on $screen: $wanted selected, ${passed:-0} passed (exit status $code); none may fail or skip"
            status=1
        else
            echo "$name on $screen: all $wanted placement tests passed under openbox"
        fi
    done
    exit $status
fi

build=$(realpath "${1:-build}")
home=$(mktemp -d "${TMPDIR:-/tmp}/plotwell-placement-XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
# -noreset: the server resets when its last client leaves, and drops a client that is still
# connecting then; a look for the window manager that ended while openbox connected left the
# display without one.
status=0
for screen in $(printf '%s\n' "${tests[@]}" | grep -E '^[0-9]+x[0-9]+$' | sort -u); do
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/run QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s "-screen 0 ${screen}x24 -noreset" "$self" --on-display "$build" "$screen" || status=1
done
exit $status
