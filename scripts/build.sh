#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default: build). Arguments go to cmake;
# after "--" come the targets to build (default: all).
#   scripts/build.sh -DPARVELLO_BENCH=OFF
#   scripts/build.sh -- parvello parvello-print
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
args=()
targets=()
while [ $# -gt 0 ]; do
    if [ "$1" = -- ]; then
        shift
        targets=("$@")
        break
    fi
    args+=("$1")
    shift
done
# The configure's progress lines stay out of sight unless it fails: then they
# say which package or file it was looking for.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S "$root" -B "$build" -G Ninja "${args[@]}" >"$log"; then
    cat "$log" >&2
    echo "Configuring $build failed." >&2
    exit 1
fi
cmake --build "$build" -j"$(nproc)" ${targets[@]+--target "${targets[@]}"}
