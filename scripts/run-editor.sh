#!/usr/bin/env bash
# Builds the editor and opens it on the default dictionary (or on the arguments given).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
"$top/scripts/build.sh"
exec "$build/bin/lexora-editor" "$@"
