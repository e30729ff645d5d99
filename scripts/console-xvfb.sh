#!/usr/bin/env bash
# The alarm console on a virtual 1920x1080 display with a window manager (openbox), for machines without a
# desktop: after the given seconds of live alarms (20 by default) it writes what the X server shows to a PNG.
# Usage: scripts/console-xvfb.sh [--after SECONDS] [--screenshot FILE] [console options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$("$root/scripts/build.sh" | tail -n 1)
cd "$root"
after=20
shot="$root/alarm-console-x11.png"
args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --after) after=$2; shift 2 ;;
        --screenshot) shot=$2; shift 2 ;;
        *) args+=("$1"); shift ;;
    esac
done
echo "Virtual display with openbox: $after seconds of live alarms, then the screen goes to $shot"
exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" bash -c '
    openbox --sm-disable >/dev/null 2>&1 &
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.1
    done
    QT_QPA_PLATFORM=xcb "$@"
' console-xvfb "$dir/bin/alarm-console" --screenshot "$shot" --after "$after" "${args[@]}"
