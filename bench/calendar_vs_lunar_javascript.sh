#!/usr/bin/env bash
# Times the calendar against the lunar-javascript library on this machine, in
# one run: the calendar benchmark (every day 1900-01-01..2050-12-31 fully
# described in process), the whole `ravezaz-cli almanac` over the same range
# (process start and output included, best of ten), and lunar-javascript
# describing the same days in process. Prints the figures and the ratios.
#
#   bench/calendar_vs_lunar_javascript.sh BUILD_DIR
#
# BUILD_DIR is a build tree configured with -DRAVEZAZ_BENCH=ON. The library is
# installed into bench/node_modules on first use.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR (configured with -DRAVEZAZ_BENCH=ON)}
here=$(cd "$(dirname "$0")" && pwd)

if [ ! -d "$here/node_modules/lunar-javascript" ]; then
    npm install --prefix "$here" --no-audit --no-fund --silent
fi
cmake --build "$build" --target calendar_bench ravezaz-cli >/dev/null

bench=$("$build/calendar_bench")
echo "$bench" | sed 's/^/calendar_bench\t/'

best_ns=
for _ in 1 2 3 4 5 6 7 8 9 10; do
    start=$(date +%s%N)
    "$build/ravezaz-cli" almanac --from 1900-01-01 --to 2050-12-31 >/dev/null
    elapsed=$(( $(date +%s%N) - start ))
    if [ -z "$best_ns" ] || [ "$elapsed" -lt "$best_ns" ]; then best_ns=$elapsed; fi
done

javascript=$(node "$here/lunar_javascript.js" time)
echo "$javascript" | sed 's/^/lunar_javascript\t/'

value() { awk -F'\t' -v key="$1" '$1 == key { print $2 }'; }
days=$(echo "$bench" | value days)
bench_ns=$(echo "$bench" | value ns_per_described_day)
javascript_ns=$(echo "$javascript" | value ns_per_described_day)

awk -v run="$best_ns" -v days="$days" -v bench="$bench_ns" -v js="$javascript_ns" 'BEGIN {
    per_day = run / days
    printf "almanac\trun_ms\t%.1f\n", run / 1e6
    printf "almanac\tns_per_day\t%.1f\n", per_day
    printf "ratio\tlunar_javascript_per_day / almanac_per_day\t%.1f\n", js / per_day
    printf "ratio\tlunar_javascript_per_day / calendar_bench_per_day\t%.1f\n", js / bench
}'
