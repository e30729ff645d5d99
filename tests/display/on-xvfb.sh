#!/usr/bin/env bash
# Runs one test on a virtual X display of its own with the xcb platform, under openbox with --wm.
# Usage: on-xvfb.sh [--wm] TEST [ARGS...]
set -euo pipefail
wm=0
if [ "${1:-}" = --wm ]; then
    wm=1
    shift
fi
export VIG_XVFB_WM=$wm
exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" bash -c '
    set -u
    if [ "$VIG_XVFB_WM" = 1 ]; then
        openbox --sm-disable >/dev/null 2>&1 &
        wm_pid=$!
        # The test is only meaningful once the window manager manages the screen.
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
            sleep 0.1
        done
    fi
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    [ "$VIG_XVFB_WM" = 1 ] && kill "$wm_pid" 2>/dev/null
    exit $status
' on-xvfb "$@"
