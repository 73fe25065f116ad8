#!/usr/bin/env bash
# Builds the editor and saves pictures of its window (collapsed, expanded, advanced) and of the prediction
# test window in docs/, for the README.
# Needs no display: the window is drawn by Qt's offscreen platform.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
"$top/scripts/setup.sh"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target lexora_screenshot sample-dictionaries
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" "$build/bin/lexora_screenshot" "$top/docs" "$@"
