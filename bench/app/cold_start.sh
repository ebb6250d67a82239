#!/usr/bin/env bash
# Cold start: time from launching parvello to its splash window mapped on an
# X server (Xvfb). Usage: bench/app/cold_start.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build folder}
runs=${2:-5}
display=:93
Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 0.5
export DISPLAY=$display
home=$(mktemp -d)
for i in $(seq "$runs"); do
    start=$(date +%s%N)
    XDG_CONFIG_HOME=$home "$build/bin/parvello" >/dev/null 2>&1 &
    pid=$!
    until xwininfo -root -tree 2>/dev/null | grep -q '"Parvello"'; do sleep 0.005; done
    end=$(date +%s%N)
    echo "run $i: $(( (end - start) / 1000000 )) ms to the splash"
    kill $pid
    wait $pid 2>/dev/null || true
done
rm -rf "$home"
