#!/usr/bin/env bash
# Installs what Parvello needs, builds it and runs every test.
#   scripts/test.sh             everything below, in this order; fails if any part fails
#   scripts/test.sh --format    the C++ files git tracks, checked against .clang-format;
#                               installs nothing: it needs only clang-format
#   scripts/test.sh --normal    the normal build (build/) and its suite
#   scripts/test.sh --sanitize  the same suite under ASan + UBSan (build-asan/)
#   scripts/test.sh --fuzz      every fuzzer for FUZZ_SECONDS seconds each (default 30),
#                               built with clang into build-fuzz/ (scripts/fuzz.sh);
#                               installs nothing: it needs only what a build needs
# Each test that needs a service (CUPS, the SANE test backend, an HTTP server,
# an X server with a window manager) starts a private one of its own and stops
# it afterwards. CI builds with warnings as errors (PARVELLO_WERROR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export QT_QPA_PLATFORM=offscreen

# Lists every C++ file git tracks that clang-format would change.
formatting() {
    (
        if ! command -v clang-format >/dev/null; then
            echo "clang-format is missing (scripts/install-deps.sh installs it)." >&2
            exit 1
        fi
        cd "$root" &&
            files=$(git ls-files -- 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' \
                'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h') || exit 1
        unformatted=()
        while IFS= read -r f; do
            clang-format --dry-run --Werror "$f" 2>/dev/null || unformatted+=("$f")
        done <<<"$files"
        if [ ${#unformatted[@]} -gt 0 ]; then
            echo "Not formatted as .clang-format says (clang-format -i fixes them):" >&2
            printf '    %s\n' "${unformatted[@]}" >&2
            exit 1
        fi
    )
}

# The test builds carry no debugger's information, which takes a quarter of
# the compile time. The sanitized one keeps line tables (-g1) for its reports
# and is optimised less (-O1, as the sanitizers' own guides advise): it builds
# a quarter faster.
optimised() {
    echo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$1 -DNDEBUG"
}

# Each part chains its steps with &&: under "part || ..." the shell's -e does
# not stop a failed build from going on to test a stale one.
normal() {
    (
        export BUILD_DIR=${BUILD_DIR:-$root/build}
        "$root/scripts/build.sh" -DPARVELLO_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            "$(optimised -O2)" &&
            cd "$BUILD_DIR" &&
            ctest --output-on-failure -j"$(nproc)" --timeout 600
    )
}

sanitized() {
    (
        # Qt and libsane keep memory until exit: leaks are looked for by the
        # fuzzers, in our own code, not here.
        export BUILD_DIR=${ASAN_BUILD_DIR:-$root/build-asan}
        export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        "$root/scripts/build.sh" -DPARVELLO_SANITIZE=ON -DPARVELLO_BENCH=OFF -DPARVELLO_WERROR=ON \
            -DCMAKE_BUILD_TYPE=RelWithDebInfo "$(optimised "-O1 -g1")" &&
            cd "$BUILD_DIR" &&
            ctest --output-on-failure -j"$(nproc)" --timeout 900
    )
}

fuzz() {
    FUZZ_SEED=${FUZZ_SEED:-1} "$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-30}"
}

case "${1:-}" in
--normal) "$root/scripts/install-deps.sh" && normal ;;
--sanitize) "$root/scripts/install-deps.sh" && sanitized ;;
--fuzz) fuzz ;;
--format) formatting ;;
"")
    "$root/scripts/install-deps.sh"
    failed=()
    formatting || failed+=("the formatting")
    normal || failed+=("the test suite")
    sanitized || failed+=("the test suite under ASan + UBSan")
    fuzz || failed+=("the fuzzers")
    if [ ${#failed[@]} -gt 0 ]; then
        printf 'FAILED: %s\n' "${failed[@]}" >&2
        exit 1
    fi
    echo "All tests passed: normal, ASan + UBSan, fuzzers."
    ;;
*)
    echo "usage: $0 [--normal | --sanitize | --fuzz | --format]" >&2
    exit 2
    ;;
esac
