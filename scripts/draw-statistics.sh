#!/bin/sh
# The long statistics run of the draw: GAMES games (default 1,000,000) for each number count,
# from the operating system's generator, through the program's own shuffle. Writes the table of
# statistics and p-values to docs/draw-statistics.md.
#   scripts/draw-statistics.sh [ZORVI_DRAWS] [GAMES]
set -e
cd "$(dirname "$0")/.."
TOOL="${1:-build/test/tools/zorvi-draws}"
GAMES="${2:-1000000}"
OUT=docs/draw-statistics.md
TMP="$OUT.tmp"
START=$(date +%s)
{
    echo "# Draw statistics: the long run"
    echo
    echo "Made by \`scripts/draw-statistics.sh\` on $(date -u +%Y-%m-%d) with \`zorvi-draws stats\`:"
    echo "$GAMES games for each number count, from the operating system's generator (no key),"
    echo "through the program's own shuffle. Each test is a chi-square test; under uniformly random"
    echo "orders its p-value is uniform on 0 to 1, and a test fails at p < 0.001. The tests and their"
    echo "degrees of freedom are described in [draw-integrity.md](draw-integrity.md)."
    echo
    "$TOOL" stats --numbers 75 --games "$GAMES"
    "$TOOL" stats --numbers 90 --games "$GAMES" | tail -n +3
    echo
    echo "Run time: $(( $(date +%s) - START )) s."
} > "$TMP"
mv "$TMP" "$OUT"
cat "$OUT"
