#!/usr/bin/env bash
# Builds the project and starts the alarm console against the embedded simulated alarm server. Without a
# display it runs headless for a few seconds of live alarms and writes a screenshot. Options pass through
# (see --help), e.g. scripts/console.sh --mode grid --lang zh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$("$root/scripts/build.sh" | tail -n 1)
cd "$root"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    shot="$root/alarm-console.png"
    echo "No display: running headless for 8 seconds of live alarms, then writing a screenshot to $shot"
    exec env QT_QPA_PLATFORM=offscreen "$dir/bin/alarm-console" --screenshot "$shot" --after 8 "$@"
fi
exec "$dir/bin/alarm-console" "$@"
