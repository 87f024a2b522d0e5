#!/bin/sh
# Message model benchmark: loading 2,000 synthetic message files fully against
# "xmllint --noout" on the same files (median of several interleaved runs), and the peak memory
# of loading one 50 MB message.
#
#   bench/run_model_bench.sh [build folder] [runs]
#
# Goals: load time within 1.3x of xmllint's; peak memory below 3x the file size.
set -eu

BUILD=${1:-build}
RUNS=${2:-5}
COUNT=${BENCH_COUNT:-2000}
BIG_MB=${BENCH_BIG_MB:-50}
GEN="$BUILD/bench/bench_model_generate"
LOAD="$BUILD/bench/bench_model_load"

for tool in "$GEN" "$LOAD"; do
    [ -x "$tool" ] || { echo "missing $tool: cmake --build $BUILD --target bench_model_generate bench_model_load" >&2; exit 2; }
done
command -v xmllint >/dev/null || { echo "xmllint missing (package libxml2-utils)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing (package time)" >&2; exit 2; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarvin-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

echo "Generating $COUNT messages..."
"$GEN" "$WORK/msgs" "$COUNT"

# Wall-clock and CPU (user + system) seconds of one command, from /usr/bin/time.
seconds() {
    /usr/bin/time -f "%e %U %S" -o "$WORK/time" "$@" >/dev/null 2>"$WORK/stderr" || {
        cat "$WORK/stderr" >&2
        exit 1
    }
    awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$WORK/time"
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm the page cache once, then alternate the two so that both see the same machine load.
xmllint --noout "$WORK"/msgs/*.pml
: >"$WORK/ours"
: >"$WORK/xmllint"
i=0
while [ "$i" -lt "$RUNS" ]; do
    seconds "$LOAD" "$WORK/msgs" >>"$WORK/ours"
    seconds xmllint --noout "$WORK"/msgs/*.pml >>"$WORK/xmllint"
    i=$((i + 1))
done
OURS=$(cut -d' ' -f1 "$WORK/ours" | median)
XMLLINT=$(cut -d' ' -f1 "$WORK/xmllint" | median)
OURS_CPU=$(cut -d' ' -f2 "$WORK/ours" | median)
XMLLINT_CPU=$(cut -d' ' -f2 "$WORK/xmllint" | median)
echo "Load of $COUNT files: model $OURS s, xmllint --noout $XMLLINT s (wall, median of $RUNS runs)"
echo "  model runs:   $(cut -d' ' -f1 "$WORK/ours" | tr '\n' ' ')"
echo "  xmllint runs: $(cut -d' ' -f1 "$WORK/xmllint" | tr '\n' ' ')"
awk -v a="$OURS" -v b="$XMLLINT" 'BEGIN { printf "  ratio model/xmllint: %.2f (goal <= 1.30)\n", a / b }'
awk -v a="$OURS_CPU" -v b="$XMLLINT_CPU" \
    'BEGIN { printf "  CPU time (user+system): model %.2f s, xmllint %.2f s, ratio %.2f\n", a, b, a / b }'

# Peak memory of one large message: five attachments, and one single attachment.
for parts in 5 1; do
    "$GEN" --big "$WORK/big.pml" "$BIG_MB" "$parts"
    SIZE=$(stat -c %s "$WORK/big.pml")
    /usr/bin/time -v -o "$WORK/mem" "$LOAD" "$WORK/big.pml" >/dev/null
    PEAK_KB=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$WORK/mem")
    /usr/bin/time -v -o "$WORK/mem2" xmllint --noout --huge "$WORK/big.pml"
    LINT_KB=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$WORK/mem2")
    awk -v p="$PEAK_KB" -v s="$SIZE" -v l="$LINT_KB" -v n="$parts" 'BEGIN {
        printf "Peak memory, %.1f MB message with %d attachment(s): %.1f MB = %.2fx file size (goal < 3x); xmllint --huge %.1f MB\n",
               s / 1048576, n, p / 1024, p * 1024 / s, l / 1024 }'
done
