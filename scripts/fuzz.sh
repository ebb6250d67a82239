#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (ASan + UBSan) into
# build-fuzz/ and runs each for SECONDS seconds (default 30; as many at once as
# there are cores), starting from its seed corpus in tests/fuzz/corpus/. Any
# crash, sanitizer report, leak in our own code, time-out or broken property
# fails the run; the input that did it is kept in build-fuzz/artifacts/.
#   scripts/fuzz.sh            every target, 30 s each
#   scripts/fuzz.sh 3600       every target, an hour each
#   scripts/fuzz.sh 60 fuzz_version fuzz_ini_file
# Inputs found along the way go to build-fuzz/corpus/ (not the repository), so a
# later run continues from them. FUZZ_SEED fixes libFuzzer's random seed (CI
# sets it, so that a run repeats on the same machine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
shift || true
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in "$root"/tests/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$f" .cpp)")
    done
fi

# Only the fuzz targets and the libraries they link are built. Without
# PARVELLO_WERROR: clang warns about other things than gcc, and a warning
# should not stop the search for crashes (the gcc builds keep warnings out).
CC=clang CXX=clang++ BUILD_DIR=$build "$root/scripts/build.sh" -DPARVELLO_FUZZ=ON \
    -DPARVELLO_TESTS=OFF -DPARVELLO_BENCH=OFF -- "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${FUZZ_ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/fuzz/lsan.supp:print_suppressions=0
mkdir -p "$build/artifacts"
# One target; its log says how it went.
run() {
    local t=$1 corpus=$build/corpus/$1 rc=0
    mkdir -p "$corpus"
    # Pictures up to the loader's size guard take ~800 MB; the rest stay small.
    "$build/bin/$t" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=3072 ${FUZZ_SEED:+-seed=$FUZZ_SEED} \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
        "$corpus" "$root/tests/fuzz/corpus/$t" >"$build/$t.log" 2>&1 || rc=$?
    echo "$rc" >"$build/$t.status"
}

# A fuzzer keeps one core busy: as many run at once as there are cores.
for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
        wait -n || true
    done
    echo "== $t: ${seconds} s"
    run "$t" &
done
wait

status=0
summary=()
for t in "${targets[@]}"; do
    log=$build/$t.log
    if [ "$(cat "$build/$t.status")" = 0 ]; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        summary+=("$t: ${runs:-?} executions, no failure")
    else
        status=1
        summary+=("$t: FAILED (see $log)")
        grep -E -A30 '^==[0-9]+==|property broken|ERROR:|runtime error' "$log" | head -60 || true
    fi
done
echo
printf '%s\n' "${summary[@]}"
exit $status
