#!/usr/bin/env bash
# Builds the alarm-storm benchmark in Release (into build-release) and runs it headless. Arguments pass
# through: scripts/bench.sh --runs 5 --only S1,S2
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

dir="$root/build-release"
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVIG_WERROR=ON >/dev/null
cmake --build "$dir" -j"$(nproc)" --target alarm_storm >&2
export QT_QPA_PLATFORM=offscreen
exec "$dir/bin/alarm_storm" "$@"
