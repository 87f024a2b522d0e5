#!/usr/bin/env bash
# Writes the full-sized hostile message files (tarvin_hostile --full) and runs each through
# "tarvin /C" (alone in a folder) and through one viewer window (hostile_view), each under
# /usr/bin/time with a time limit. Prints, per file and mode: wall time, peak memory (max
# resident set) and the outcome. Goal: every line under 2 s and 1 GB.
#   bench/hostile_bench.sh [build] [folder]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=${2:-$(mktemp -d)}
cmake --build "$build" --target tarvin tarvin_hostile hostile_view -j2 >/dev/null || exit 1
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$work/set" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
"$build/tests/support/tarvin_hostile" "$work/set" --full || exit 1

measure() { # mode file command...
    local mode=$1 file=$2
    shift 2
    local out="$work/time.txt"
    /usr/bin/time -v -o "$out" timeout 60 "$@" >"$work/stdout.txt" 2>/dev/null
    local status=$?
    local wall rss cpu
    wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$out")
    rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out")
    cpu=$(awk -F': ' '/User time|System time/ {s += $2} END {printf "%.2f", s}' "$out")
    local outcome
    if [ "$mode" = view ]; then
        outcome=$(head -c 200 "$work/stdout.txt" | head -n 1)
    else
        outcome=$(tr -d '\r' <"$XDG_CONFIG_HOME/Halvorn/Tarvin/CVTDATES.LOG" 2>/dev/null |
            grep -v '^\s*$' | sed -n '5,9p' | tr '\n' ' ' | cut -c1-200)
    fi
    printf '%-28s %-5s %9s %6s s %6d MB  exit %-3s %s\n' "$(basename "$file")" "$mode" "$wall" \
        "$cpu" $((rss / 1024)) "$status" "$outcome"
}

echo "# load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-28s %-5s %9s %8s %9s  %-8s %s\n' file mode wall cpu peak status outcome
for file in "$work"/set/*.pml; do
    size=$(stat -c %s "$file")
    folder="$work/c/$(basename "$file" .pml)"
    mkdir -p "$folder" && cp "$file" "$folder/"
    echo "# $(basename "$file"): $((size / 1024)) KB"
    measure /C "$file" "$build/tarvin" /C /S "$folder"
    measure view "$file" "$build/bench/hostile_view" "$file"
    rm -rf "$folder"
done
echo "# work folders left: $(ls "$XDG_RUNTIME_DIR"/tarvin 2>/dev/null | grep -c _vwr)"
