#!/usr/bin/env bash
# Installs what Parvello needs, builds it and runs every test.
#   scripts/test.sh             the normal build (build/)
#   scripts/test.sh --sanitize  the same suite under ASan + UBSan (build-asan/)
# Each test that needs a service (CUPS, the SANE test backend, an HTTP server)
# starts a private one of its own and stops it afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR=${BUILD_DIR:-$root/build-asan}
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    "$root/scripts/build.sh" -DPARVELLO_SANITIZE=ON -DPARVELLO_BENCH=OFF
else
    export BUILD_DIR=${BUILD_DIR:-$root/build}
    "$root/scripts/build.sh"
fi
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" --timeout 600
