#!/usr/bin/env bash
# Configures and builds into a build folder. SANITIZE=address|thread selects a sanitizer build;
# BUILD_TYPE overrides the build type (RelWithDebInfo by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

sanitize=${SANITIZE:-}
build_type=${BUILD_TYPE:-RelWithDebInfo}
flags=(-DCMAKE_BUILD_TYPE="$build_type" -DVIG_WERROR=ON)
case "$sanitize" in
    "") dir="$root/build" ;;
    address) dir="$root/build-asan"; flags+=(-DVIG_SANITIZE_ADDRESS=ON) ;;
    thread) dir="$root/build-tsan"; flags+=(-DVIG_SANITIZE_THREAD=ON) ;;
    *) echo "error: SANITIZE must be address or thread, not '$sanitize'" >&2; exit 2 ;;
esac
if [ "$build_type" = Release ] && [ -z "$sanitize" ]; then
    dir="$root/build-release"
fi
dir=${BUILD_DIR:-$dir}

cmake -S "$root" -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" >&2
echo "$dir"
