#!/usr/bin/env bash
# Message-list benchmark: lists a folder of generated message files through the list model,
# sorted by Date (bench/list_bench), against
#   find DIR -maxdepth 1 -name '*.pml' -printf '%f %T@\n' | sort -k2
# on the same folder in the same run, warm cache, median of several runs each; then the peak
# memory of the driver and the memory per row (peak at COUNT files less peak at an empty
# folder, divided by COUNT).
#
#   bench/run_list_bench.sh [COUNT] [RUNS]     (defaults: 100000 files, 5 runs)
#
# The files are empty (the list never opens them); their names carry subjects and 12-digit
# codes, their last-write times are random dates over ten years, and the folder's marker says
# the times are UTC, so the Date column shows them in local time. Besides the wall-clock
# medians the script prints the median processor time (user + system) of each, which a busy
# machine disturbs less. Environment: BUILD_DIR (default build/), KEEP=1 keeps the files.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
count=${1:-100000}
runs=${2:-5}
driver=$build/bench/list_bench

if [ ! -x "$driver" ]; then
    echo "missing $driver: cmake --build $build --target list_bench" >&2
    exit 1
fi
command -v python3 >/dev/null || { echo "python3 missing" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing (package time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvin-list-bench.XXXXXX")
cleanup() { [ "${KEEP:-0}" = 1 ] || rm -rf "$work"; }
trap cleanup EXIT

folder=$work/messages
empty=$work/empty
mkdir -p "$folder" "$empty"
echo "generating $count message files..."
python3 "$root/bench/make_list_folder.py" "$folder" "$count"
printf '%s\r\n' $'; This is a system file created by Halvorn\x99 Stowell.' ';' \
    '; Please keep this file in the same location as the .PML files in this folder.' '' \
    '[File Options]' 'IsTimestampUtc=1' >"$folder/pmlver.000"
files=$(find "$folder" -maxdepth 1 -name '*.pml' | wc -l)
echo "$files files"

timed() { # command...: "wall-clock-seconds processor-seconds" of one run
    local start end cpu
    start=$EPOCHREALTIME
    cpu=$(/usr/bin/time -f "%U %S" "$@" 2>&1 >/dev/null </dev/null | tail -n 1)
    end=$EPOCHREALTIME
    echo "$start $end $cpu" | awk '{ printf "%.3f %.2f\n", $2 - $1, $3 + $4 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); if (NR % 2) print v[m]; else printf "%.3f\n", (v[m] + v[m + 1]) / 2 }'; }

peak_kib() { # command...: peak resident memory in KiB
    /usr/bin/time -f "%M" "$@" 2>&1 >/dev/null </dev/null | tail -n 1
}

find_sort() { # folder
    find "$1" -maxdepth 1 -name '*.pml' -printf '%f %T@\n' | sort -k2
}
# The pipeline as one command for /usr/bin/time.
find_sort_command=(bash -c "$(declare -f find_sort); find_sort \"\$1\"" find_sort)

# One untimed pass of each warms the caches; the driver's output is checked on the way.
lines=$("$driver" "$folder" 2>/dev/null | wc -l)
[ "$lines" -eq "$files" ] || { echo "list_bench printed $lines lines for $files files" >&2; exit 1; }
find_sort "$folder" >/dev/null

driver_times=() find_times=() driver_cpu=() find_cpu=()
for ((i = 1; i <= runs; i++)); do
    read -r wall cpu < <(timed "$driver" "$folder")
    driver_times+=("$wall") driver_cpu+=("$cpu")
    read -r wall cpu < <(timed "${find_sort_command[@]}" "$folder")
    find_times+=("$wall") find_cpu+=("$cpu")
done
driver_median=$(printf '%s\n' "${driver_times[@]}" | median)
find_median=$(printf '%s\n' "${find_times[@]}" | median)
driver_cpu_median=$(printf '%s\n' "${driver_cpu[@]}" | median)
find_cpu_median=$(printf '%s\n' "${find_cpu[@]}" | median)
ratio=$(awk -v a="$driver_median" -v b="$find_median" 'BEGIN { printf "%.2f", a / b }')
cpu_ratio=$(awk -v a="$driver_cpu_median" -v b="$find_cpu_median" 'BEGIN { printf "%.2f", a / b }')

echo "list_bench    runs: ${driver_times[*]}  median ${driver_median} s" \
     "(processor ${driver_cpu_median} s)"
echo "find | sort   runs: ${find_times[*]}  median ${find_median} s" \
     "(processor ${find_cpu_median} s)"
echo "ratio list_bench/(find | sort): $ratio, processor time $cpu_ratio (goal: at most 2)"

peak_full=$(peak_kib "$driver" "$folder")
peak_empty=$(peak_kib "$driver" "$empty")
per_row=$(awk -v f="$peak_full" -v e="$peak_empty" -v n="$files" \
    'BEGIN { printf "%.0f", (f - e) * 1024 / n }')
echo "peak memory of list_bench: $peak_full KiB at $files files, $peak_empty KiB at none;" \
     "$per_row bytes per row (goal: under 300)"
