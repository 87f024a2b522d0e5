#!/usr/bin/env bash
# Date-conversion benchmark: times "tarvin /C /S" over a folder of generated messages against
# "xmllint --noout" on the same files (median of several runs each), and reports the peak
# memory of the conversion at two folder sizes, to show that it stays flat as the folder grows.
#
#   bench/run_convert_bench.sh [COUNT] [RUNS]     (defaults: 10000 files, 5 runs)
#
# Environment: BUILD_DIR (default build/), SMALL_COUNT (default 1000), KEEP=1 keeps the files.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
count=${1:-10000}
runs=${2:-5}
small=${SMALL_COUNT:-1000}
tarvin=$build/tarvin
generator=$build/bench/bench_model_generate

for tool in "$tarvin" "$generator"; do
    if [ ! -x "$tool" ]; then
        echo "missing $tool: cmake --build $build --target tarvin bench_model_generate" >&2
        exit 1
    fi
done
command -v xmllint >/dev/null || { echo "xmllint missing (package libxml2-utils)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing (package time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvin-convert-bench.XXXXXX")
cleanup() { [ "${KEEP:-0}" = 1 ] || rm -rf "$work"; }
trap cleanup EXIT
# The conversion log goes to a throw-away configuration folder.
export XDG_CONFIG_HOME=$work/config

generate() { # count folder
    mkdir -p "$2"
    "$generator" "$2" "$1" >/dev/null
}

seconds() { # command...: wall-clock seconds of one run
    local start end
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 </dev/null
    end=$EPOCHREALTIME
    echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); if (NR % 2) print v[m]; else printf "%.3f\n", (v[m] + v[m + 1]) / 2 }'; }

peak_kib() { # command...: peak resident memory in KiB
    /usr/bin/time -f "%M" "$@" 2>&1 >/dev/null </dev/null | tail -n 1
}

xmllint_all() { # folder: every message file through one xmllint process
    find "$1" -maxdepth 1 -name '*.pml' -print0 | xargs -0 -s 1000000 xmllint --noout
}

big=$work/messages-$count
echo "generating $count messages..."
generate "$count" "$big"
files=$(find "$big" -maxdepth 1 -name '*.pml' | wc -l)
size=$(du -sm "$big" | cut -f1)
echo "$files files, $size MB"

# One untimed pass of each warms the page cache.
"$tarvin" /C /S "$big" </dev/null
xmllint_all "$big" >/dev/null 2>&1

tarvin_times=() xmllint_times=()
for ((i = 1; i <= runs; i++)); do
    tarvin_times+=("$(seconds "$tarvin" /C /S "$big")")
    xmllint_times+=("$(seconds xmllint_all "$big")")
done
tarvin_median=$(printf '%s\n' "${tarvin_times[@]}" | median)
xmllint_median=$(printf '%s\n' "${xmllint_times[@]}" | median)
ratio=$(awk -v a="$tarvin_median" -v b="$xmllint_median" 'BEGIN { printf "%.2f", a / b }')

tail -n 1 "$XDG_CONFIG_HOME/Halvorn/Tarvin/CVTDATES.LOG" | tr -d '\r'
echo "tarvin /C /S    runs: ${tarvin_times[*]}  median ${tarvin_median} s"
echo "xmllint --noout runs: ${xmllint_times[*]}  median ${xmllint_median} s"
echo "ratio tarvin/xmllint: $ratio (goal: at most 1.5)"

smallset=$work/messages-$small
generate "$small" "$smallset"
echo "peak memory of tarvin /C /S: $(peak_kib "$tarvin" /C /S "$smallset") KiB at $small files," \
     "$(peak_kib "$tarvin" /C /S "$big") KiB at $count files"
