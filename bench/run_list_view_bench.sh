#!/usr/bin/env bash
# Message-list window benchmark (offscreen): generates a folder of COUNT empty message files
# (bench/make_list_folder.py, the folder's marker says the times are UTC) and runs
# build/bench/list_view_bench on it, which reports
#   - the time from a folder change (SetFolder) to the end of the first paint that shows rows,
#     median of RUNS folder changes (goal: within 100 ms at 100,000 files), and the time until
#     the listing has ended and the rows are sorted;
#   - the time to paint one screen of rows (about 34 rows at 800x600), median of 500 renders
#     (goal: under 2 ms).
#
#   bench/run_list_view_bench.sh [COUNT] [RUNS]     (defaults: 100000 files, 5 runs)
#
# Environment: BUILD_DIR (default build/), KEEP=1 keeps the files.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
count=${1:-100000}
runs=${2:-5}
driver=$build/bench/list_view_bench

if [ ! -x "$driver" ]; then
    echo "missing $driver: cmake --build $build --target list_view_bench" >&2
    exit 1
fi
command -v python3 >/dev/null || { echo "python3 missing" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvin-list-view-bench.XXXXXX")
cleanup() { [ "${KEEP:-0}" = 1 ] || rm -rf "$work"; }
trap cleanup EXIT

folder=$work/messages
mkdir -p "$folder"
echo "generating $count message files..."
python3 "$root/bench/make_list_folder.py" "$folder" "$count"
printf '%s\r\n' $'; This is a system file created by Halvorn\x99 Stowell.' ';' \
    '; Please keep this file in the same location as the .PML files in this folder.' '' \
    '[File Options]' 'IsTimestampUtc=1' >"$folder/pmlver.000"

QT_QPA_PLATFORM=offscreen "$driver" "$folder" "$runs"
