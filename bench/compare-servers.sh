#!/usr/bin/env bash
# The network rows of the alarm-storm benchmark against two alarm-server builds, A and B, run in turns
# (A B, then B A, ...) so that a shared machine's load falls on both alike. Prints every run with the load
# average at its start, then per row and build the medians of the time, the other clients' longest wait, the
# server's peak resident size and (R100K) its size once the stalled client left; a failed run (one that
# ran out of time) is counted, and its numbers are kept.
#
#   bench/compare-servers.sh A_SERVER B_SERVER [ROUNDS] [ROWS]
#
# ROWS defaults to F100,C300K,R100K,H80K,S1N; the client side is this tree's Release build (build-release,
# made by scripts/bench.sh) unless ALARM_STORM names another alarm_storm.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
a=$(realpath "$1")
b=$(realpath "$2")
rounds=${3:-3}
rows=${4:-F100,C300K,R100K,H80K,S1N}
bench=${ALARM_STORM:-$root/build-release/bin/alarm_storm}
runs=$(mktemp)
trap 'rm -f "$runs"' EXIT

for ((round = 1; round <= rounds; ++round)); do
    order="A B"
    ((round % 2)) || order="B A"
    for side in $order; do
        server=$a
        [[ $side == B ]] && server=$b
        for row in ${rows//,/ }; do
            load=$(cut -d' ' -f1 /proc/loadavg)
            output=$(ALARM_STORM_SERVER=$server QT_QPA_PLATFORM=offscreen "$bench" --runs 1 --only "$row" \
                         2>/dev/null) && state=ok || state=FAILED
            line=$(grep -E "^$row ratio=" <<<"$output" || echo "$row")
            echo "$side load=$load $line $state" | tee -a "$runs"
        done
    done
done

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2];
                                              else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { grep -E "^$1 load=[^ ]* $2 " "$runs" | tr ' ' '\n' | grep "^$3=" | cut -d= -f2 | median; }

echo
echo "A = $a"
echo "B = $b"
printf '%-6s %-4s %10s %10s %8s %12s %10s %7s %s\n' row side time_ms wait_ms ratio server_MB after_MB failed \
    'loads at the starts'
for row in ${rows//,/ }; do
    for side in A B; do
        loads=$(grep -E "^$side load=[^ ]* $row " "$runs" | cut -d' ' -f2 | cut -d= -f2 | paste -sd/ -)
        failed=$(grep -cE "^$side load=[^ ]* $row .*FAILED$" "$runs" || true)
        printf '%-6s %-4s %10s %10s %8s %12s %10s %7s %s\n' "$row" "$side" "$(field "$side" "$row" time_ms)" \
            "$(field "$side" "$row" stall_ms)" "$(field "$side" "$row" ratio)" \
            "$(field "$side" "$row" server_mb)" "$(field "$side" "$row" after_mb)" "$failed" "${loads:--}"
    done
done
