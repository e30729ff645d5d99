#!/usr/bin/env bash
# Builds the project and runs the whole test suite headless. SANITIZE=address|thread runs it under a sanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$("$root/scripts/build.sh" | tail -n 1)
export QT_QPA_PLATFORM=offscreen
cd "$dir"
ctest --output-on-failure -j"$(nproc)" "$@"
