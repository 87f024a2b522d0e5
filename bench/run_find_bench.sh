#!/usr/bin/env bash
# Find-in-messages benchmark: the search engine (bench/find_bench) against grep and find over
# 10,000 generated messages (about 1 GB) in ten subfolders, with a warm page cache, median of
# several runs each:
#   content search              find_bench DIR PHRASE                 vs  LC_ALL=C grep -rlF PHRASE DIR
#   content, ignoring case      find_bench DIR PHRASE --ignore-case   vs  LC_ALL=C grep -rliF PHRASE DIR
#   name only                   find_bench DIR "" --name NAME         vs  find DIR -iname '*NAME*.pml'
# Each pair's hit lists must be equal (sorted). Also the peak memory of the content search at
# 1,000 and 10,000 files.
#
#   bench/run_find_bench.sh [COUNT] [RUNS]      (defaults: 10000 files, 5 runs)
#
# Environment: BUILD_DIR (default build/), PHRASE (default "Sender 117"), NAME (default 12),
# KEEP=1 keeps the generated files, DATA=folder reuses (or fills) a folder of messages.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
count=${1:-10000}
runs=${2:-5}
phrase=${PHRASE:-Sender 117}
name=${NAME:-12}
bench=$build/bench/find_bench
generator=$build/bench/bench_model_generate
folders=10

for tool in "$bench" "$generator"; do
    if [ ! -x "$tool" ]; then
        echo "missing $tool: cmake --build $build --target find_bench bench_model_generate" >&2
        exit 1
    fi
done
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing (package time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvin-find-bench.XXXXXX")
cleanup() { [ "${KEEP:-0}" = 1 ] || rm -rf "$work"; }
trap cleanup EXIT
data=${DATA:-$work/messages}

if [ ! -d "$data/f$((folders - 1))" ]; then
    echo "generating $count messages in $folders folders..."
    for ((f = 0; f < folders; f++)); do
        mkdir -p "$data/f$f"
        "$generator" "$data/f$f" $((count / folders)) $((f + 1)) >/dev/null
    done
fi
files=$(find "$data" -type f -name '*.pml' | wc -l)
size=$(du -sm "$data" | cut -f1)
echo "$files files, $size MB; phrase \"$phrase\", name \"$name\""

seconds() { # command...: wall-clock seconds of one run
    local start end
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 </dev/null || true
    end=$EPOCHREALTIME
    echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); if (NR % 2) print v[m]; else printf "%.3f\n", (v[m] + v[m + 1]) / 2 }'; }

peak_kib() { # command...: peak resident memory in KiB
    /usr/bin/time -f "%M" "$@" 2>&1 >/dev/null </dev/null | tail -n 1
}

grep_plain() { LC_ALL=C grep -rlF -- "$phrase" "$data"; }
grep_icase() { LC_ALL=C grep -rliF -- "$phrase" "$data"; }
find_name() { find "$data" -iname "*$name*.pml"; }
ours_plain() { "$bench" "$data" "$phrase"; }
ours_icase() { "$bench" "$data" "$phrase" --ignore-case; }
ours_name() { "$bench" "$data" "" --name "$name"; }

status=0
compare() { # label ours baseline
    local label=$1 ours=$2 base=$3
    "$ours" 2>/dev/null | sort >"$work/ours.txt"
    "$base" 2>/dev/null | sort >"$work/base.txt" || true
    local hits
    hits=$(wc -l <"$work/ours.txt")
    if cmp -s "$work/ours.txt" "$work/base.txt"; then
        echo "$label: hit lists equal ($hits hits)"
    else
        echo "$label: HIT LISTS DIFFER (ours $hits, baseline $(wc -l <"$work/base.txt"))"
        diff "$work/ours.txt" "$work/base.txt" | head -n 10
        status=1
    fi
}

# One untimed pass of each warms the page cache and checks the results.
compare "content" ours_plain grep_plain
compare "ignore case" ours_icase grep_icase
compare "name" ours_name find_name

report() { # label goal ours baseline baseline-name
    local label=$1 goal=$2 ours=$3 base=$4 base_name=$5 a=() b=()
    for ((i = 1; i <= runs; i++)); do
        a+=("$(seconds "$ours")")
        b+=("$(seconds "$base")")
    done
    local ma mb
    ma=$(printf '%s\n' "${a[@]}" | median)
    mb=$(printf '%s\n' "${b[@]}" | median)
    printf '%-12s find_bench runs: %s  median %s s\n' "$label" "${a[*]}" "$ma"
    printf '%-12s %-10s runs: %s  median %s s\n' "" "$base_name" "${b[*]}" "$mb"
    awk -v a="$ma" -v b="$mb" -v l="$label" -v g="$goal" -v n="$base_name" \
        'BEGIN { printf "%-12s ratio find_bench/%s: %.2f (goal: at most %s)\n", l, n, a / b, g }'
}

report "content" 1.5 ours_plain grep_plain grep
report "ignore case" 1.5 ours_icase grep_icase "grep -i"
report "name" 2 ours_name find_name find

echo "peak memory of the content search: $(peak_kib "$bench" "$data/f0" "$phrase") KiB at" \
     "$(find "$data/f0" -type f | wc -l) files, $(peak_kib "$bench" "$data" "$phrase") KiB at $files files"
exit $status
