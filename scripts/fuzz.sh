#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60).
# Usage: scripts/fuzz.sh [SECONDS]   (build folder: build-fuzz, or $VIG_FUZZ_BUILD)
# Findings are written to <build>/fuzz-findings/<target>/; a run stops at the first one and the script
# exits non-zero. Corpora grow in <build>/fuzz-corpus/<target>/ and are reused by the next run.
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VIG_FUZZ_BUILD:-$root/build-fuzz}
jobs=${VIG_FUZZ_JOBS:-2}
targets="fuzz_alarm_records fuzz_recording_path fuzz_image_url fuzz_net_messages"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVIG_FUZZ=ON -DVIG_BUILD_TESTS=OFF -DVIG_BUILD_BENCH=OFF \
    -DVIG_SANITIZE_ADDRESS=ON \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link \
    -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j"$jobs" --target $targets

status=0
for target in $targets; do
    corpus=$build/fuzz-corpus/$target
    findings=$build/fuzz-findings/$target
    mkdir -p "$corpus" "$findings"
    echo "== $target for ${seconds}s"
    if ! (cd "$build" && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
          UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
          "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
          -artifact_prefix="$findings/" -max_len=4096 "$corpus"); then
        echo "!! $target found a problem; the input is in $findings" >&2
        status=1
    fi
done
exit $status
