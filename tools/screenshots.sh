#!/usr/bin/env bash
# Saves pictures of the waveform window, its zoom and draw modes, the sine and cardiac dialogs over
# their previews, the small dialogs, a message box, the transfer set-up dialogs and the CSV preview as
# PNG files.
#   tools/screenshots.sh [build folder, default build] [picture folder, default build/screenshots]
# Offscreen by default; with QT_QPA_PLATFORM=xcb on an X server that runs a window manager the
# pictures are taken from the screen, with the window frames.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/screenshots}
cmake --build "$build" --target pw_screenshots
mkdir -p "$out"
PLOTWELL_SCREENSHOT_DIR=$(cd "$out" && pwd) QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/pw_screenshots"
ls -1 "$out"/*.png
