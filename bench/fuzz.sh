#!/usr/bin/env bash
# Runs each fuzz target of tests/fuzz for a time box, one after the other:
#   bench/fuzz.sh [--merge] [--keep-going] SECONDS [TARGET...]
# Targets: message inflate filename safename instance (default: all). Builds them first with
# clang in build-fuzz/ (AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer's coverage,
# nothing but the fuzz targets; BUILD_DIR names another folder).
# Each target starts from its seed corpus (tests/fuzz/corpus/TARGET) and every regression input
# (tests/fuzz/corpus/regressions); the inputs it finds that add coverage are kept in
# bench/out/fuzz/corpus/TARGET (never in the seed corpus), findings (crash-*, timeout-*, oom-*,
# leak-*) in bench/out/fuzz/findings/TARGET/.
#   --merge       afterwards adds to the seed corpus only the kept inputs that cover new code
#                 (libFuzzer's -merge=1, so the seed corpus stays minimal)
#   --keep-going  goes on after a finding (libFuzzer's fork mode) instead of stopping at it
# FUZZ_JOBS (default 1) runs that many fuzzing processes per target.
set -euo pipefail
cd "$(dirname "$0")/.."

merge=0
keep_going=0
while [ $# -gt 0 ]; do
    case "$1" in
    --merge) merge=1 ;;
    --keep-going) keep_going=1 ;;
    *) break ;;
    esac
    shift
done
if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
    echo "usage: bench/fuzz.sh [--merge] [--keep-going] SECONDS [TARGET...]" >&2
    exit 2
fi
seconds=$1
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(message inflate filename safename instance)
fi
jobs=${FUZZ_JOBS:-1}

build_dir=${BUILD_DIR:-build-fuzz}
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
    -DTARVIN_SANITIZE=ON -DTARVIN_FUZZ=ON -DTARVIN_BUILD_TESTS=OFF -DTARVIN_BUILD_BENCH=OFF \
    "${launcher[@]}" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

seeds=tests/fuzz/corpus
out=bench/out/fuzz
summary=()
for target in "${targets[@]}"; do
    corpus=$out/corpus/$target
    findings=$out/findings/$target
    log=$out/$target.log
    mkdir -p "$corpus" "$findings"
    case "$target" in
    message) max_len=16384 ;;
    *) max_len=4096 ;;
    esac
    options=(-max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048
             -dict=tests/fuzz/pml.dict -artifact_prefix="$findings/" -print_final_stats=1)
    if [ "$keep_going" -eq 1 ]; then
        options+=(-fork="$jobs" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
    elif [ "$jobs" -gt 1 ]; then
        options+=(-jobs="$jobs" -workers="$jobs")
    fi
    echo "== $target: $seconds s (log: $log)"
    status=0
    inputs=("$corpus")
    for folder in "$seeds/$target" "$seeds/regressions"; do
        if [ -d "$folder" ]; then
            inputs+=("$folder")
        fi
    done
    "$build_dir/fuzz/fuzz_$target" "${options[@]}" "${inputs[@]}" >"$log" 2>&1 || status=$?
    # libFuzzer's last status line: executions, coverage (cov) and features (ft).
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    execs=$(grep -E '^stat::number_of_executed_units' "$log" | tail -n 1 | awk '{print $2}' || true)
    found=$(find "$findings" -type f | wc -l)
    summary+=("$target: exit $status, executions ${execs:-?}, findings $found; last: $last")
    if [ "$merge" -eq 1 ]; then
        "$build_dir/fuzz/fuzz_$target" -merge=1 -max_len="$max_len" "$seeds/$target" "$corpus" \
            >"$out/$target.merge.log" 2>&1
    fi
done
echo
printf '%s\n' "${summary[@]}"
