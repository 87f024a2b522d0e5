#!/usr/bin/env bash
# Writes the full-sized hostile message files (tarvin_hostile --full) and runs each through
# "tarvin /C" (alone in a folder) and through one viewer window (hostile_view), each under
# /usr/bin/time with a time limit. Prints, per file and mode: wall time, processor time and
# peak memory (max resident set), the medians of RUNS runs, and the outcome (for the viewer
# also the first line of a message it showed). Goal: every line under 2 s and 1 GB.
# With --trace each command runs once more under strace (not timed), and every file it
# created, wrote, renamed, removed or changed outside the bench folder is listed (Chromium's
# shared memory in /dev/shm, removed at once, and /proc are left out).
#   bench/hostile_bench.sh [--runs RUNS] [--trace] [build] [folder]
set -uo pipefail
cd "$(dirname "$0")/.."
runs=1
trace=0
while [ $# -gt 0 ]; do
    case $1 in
    --runs) runs=$2 && shift 2 ;;
    --trace) trace=1 && shift ;;
    *) break ;;
    esac
done
build=${1:-build}
work=$(realpath -m "${2:-$(mktemp -d)}")
cmake --build "$build" --target tarvin tarvin_hostile hostile_view -j2 >/dev/null || exit 1
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
# The graphics driver's shader cache (~/.cache/mesa_shader_cache under Xvfb) goes there too.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" XDG_CACHE_HOME="$work/cache"
mkdir -p "$work/set" "$work/config" "$work/runtime" "$work/cache"
chmod 700 "$work/runtime"
"$build/tests/support/tarvin_hostile" "$work/set" --full || exit 1

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# Paths outside the bench folder that the traced command (strace -y, one file per process)
# created, wrote, renamed, removed or changed.
outside() { # trace-file-prefix
    cat "$1".* 2>/dev/null | python3 -c '
import re, sys
work = sys.argv[1] + "/"
changing = ("open", "openat", "creat", "mkdir", "mkdirat", "rename", "renameat", "renameat2",
            "link", "linkat", "symlink", "symlinkat", "unlink", "unlinkat", "rmdir", "truncate",
            "chmod", "fchmodat", "utimensat")
found = set()
for line in sys.stdin:
    m = re.match(r"(\w+)\((.*)\)\s+=\s+(-?\d+)", line)
    if not m or m.group(1) not in changing or m.group(3).startswith("-"):
        continue
    args = m.group(2)
    if m.group(1).startswith("open") and "O_RDONLY" in args and "O_CREAT" not in args:
        continue
    # A name relative to a folder descriptor (strace -y shows its path) or to the current folder.
    for base, name in re.findall(r"(?:\d+<([^>]*)>, )?\"((?:[^\"\\]|\\.)*)\"", args):
        path = name if name.startswith("/") else (base or "<current folder>") + "/" + name
        if not (path.startswith(work) or path.startswith("/dev/shm/.org.chromium.")
                or path.startswith("/proc/") or path == "/dev/null"):
            found.add(path)
print(" ".join(sorted(found)))
' "$work"
}

measure() { # mode file command...
    local mode=$1 file=$2
    shift 2
    local out="$work/time.txt" walls=() cpus=() rsss=() status
    for ((run = 0; run < runs; run++)); do
        /usr/bin/time -v -o "$out" timeout 60 "$@" >"$work/stdout.txt" 2>"$work/stderr.txt"
        status=$?
        walls+=("$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$out" |
            awk -F: '{print $(NF - 1) * 60 + $NF}')")
        cpus+=("$(awk -F': ' '/User time|System time/ {s += $2} END {printf "%.2f", s}' "$out")")
        rsss+=("$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out")")
    done
    local wall cpu rss outcome
    wall=$(printf '%s\n' "${walls[@]}" | median)
    cpu=$(printf '%s\n' "${cpus[@]}" | median)
    rss=$(printf '%s\n' "${rsss[@]}" | median)
    if [ "$mode" = view ]; then
        outcome="$(head -c 200 "$work/stdout.txt" | head -n 1)"
        local shown
        shown=$(grep -a -m1 '^hostile_view: ' "$work/stderr.txt" | cut -c15-200)
        [ -n "$shown" ] && outcome="$outcome | shown: $shown"
    else
        outcome=$(tr -d '\r' <"$XDG_CONFIG_HOME/Halvorn/Tarvin/CVTDATES.LOG" 2>/dev/null |
            grep -v '^\s*$' | sed -n '5,9p' | tr '\n' ' ' | cut -c1-200)
    fi
    printf '%-28s %-5s %7.2f s %6s s %6d MB  exit %-3s %s\n' "$(basename "$file")" "$mode" \
        "$wall" "$cpu" $((rss / 1024)) "$status" "$outcome"
    if [ "$trace" = 1 ]; then
        rm -f "$work"/strace.*
        timeout 120 strace -f -ff -qq -y -o "$work/strace" -e trace=%file "$@" >/dev/null 2>&1
        local changed
        changed=$(outside "$work/strace")
        echo "#   changed outside $work: ${changed:-nothing}"
        rm -f "$work"/strace.*
    fi
}

echo "# load average: $(cut -d' ' -f1-3 /proc/loadavg); runs: $runs (medians)"
printf '%-28s %-5s %9s %8s %9s  %-8s %s\n' file mode wall cpu peak status outcome
# The baseline: an ordinary HTML mail with a picture, from the samples.
baseline="$work/baseline.pml"
cp "samples/Quarterly figures with chart[24410ad21211].pml" "$baseline"
echo "# baseline (sample HTML mail): $(($(stat -c %s "$baseline") / 1024)) KB"
measure view "$baseline" "$build/bench/hostile_view" "$baseline"
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
echo "# load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
