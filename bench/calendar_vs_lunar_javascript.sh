#!/usr/bin/env bash
# Times the calendar against the lunar-javascript library on this machine, in
# one run, over every day from 1900-01-31 to 2100-12-31 (73,384 days):
#   - calendar_bench: every day fully described in process (ns per day);
#   - the whole `ravezaz-cli almanac` process over the range, output included,
#     and the whole `node lunar_javascript.js describe` process describing the
#     same days, each the best of several runs, wall clock and CPU time;
#   - lunar-javascript describing the days in process.
# Prints the figures and the ratios.
#
#   bench/calendar_vs_lunar_javascript.sh BUILD_DIR
#
# BUILD_DIR is a build tree configured with -DRAVEZAZ_BENCH=ON. The library is
# installed into bench/node_modules on first use.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR (configured with -DRAVEZAZ_BENCH=ON)}
here=$(cd "$(dirname "$0")" && pwd)
first=1900-01-31
last=2100-12-31

if [ ! -d "$here/node_modules/lunar-javascript" ]; then
    npm install --prefix "$here" --no-audit --no-fund --silent
fi
cmake --build "$build" --target calendar_bench ravezaz-cli >/dev/null

bench=$("$build/calendar_bench")
echo "$bench" | sed 's/^/calendar_bench\t/'

# Best wall-clock and best CPU (user + system) milliseconds of a command run
# `rounds` times with its output thrown away.
best_of() {
    local rounds=$1
    shift
    local best_wall= best_cpu=
    for _ in $(seq "$rounds"); do
        local cpu_file
        cpu_file=$(mktemp)
        local start
        start=$(date +%s%N)
        /usr/bin/time -f '%U %S' -o "$cpu_file" "$@" >/dev/null
        local wall=$(( ($(date +%s%N) - start) / 1000 ))
        local cpu
        cpu=$(awk '{ printf "%d", ($1 + $2) * 1000000 }' "$cpu_file")
        rm -f "$cpu_file"
        if [ -z "$best_wall" ] || [ "$wall" -lt "$best_wall" ]; then best_wall=$wall; fi
        if [ -z "$best_cpu" ] || [ "$cpu" -lt "$best_cpu" ]; then best_cpu=$cpu; fi
    done
    echo "$best_wall $best_cpu"
}

read -r almanac_wall almanac_cpu < <(best_of 10 "$build/ravezaz-cli" almanac --from "$first" --to "$last")
read -r javascript_wall javascript_cpu < <(best_of 3 node "$here/lunar_javascript.js" describe)

javascript=$(node "$here/lunar_javascript.js" time)
echo "$javascript" | sed 's/^/lunar_javascript\t/'

value() { awk -F'\t' -v key="$1" '$1 == key { print $2 }'; }
days=$(echo "$bench" | value days)
bench_ns=$(echo "$bench" | value ns_per_described_day)
javascript_ns=$(echo "$javascript" | value ns_per_described_day)

awk -v days="$days" -v bench="$bench_ns" -v js="$javascript_ns" \
    -v aw="$almanac_wall" -v ac="$almanac_cpu" -v jw="$javascript_wall" -v jc="$javascript_cpu" 'BEGIN {
    printf "process\travezaz-cli almanac\twall_ms\t%.1f\tcpu_ms\t%.1f\tns_per_day\t%.1f\n", aw / 1e3, ac / 1e3, aw * 1e3 / days
    printf "process\tlunar_javascript describe\twall_ms\t%.1f\tcpu_ms\t%.1f\tns_per_day\t%.1f\n", jw / 1e3, jc / 1e3, jw * 1e3 / days
    printf "ratio\tlunar_javascript process / almanac process (wall)\t%.1f\n", jw / aw
    printf "ratio\tlunar_javascript process / almanac process (cpu)\t%.1f\n", (ac > 0 ? jc / ac : 0)
    printf "ratio\tlunar_javascript in process / calendar_bench per day\t%.1f\n", js / bench
}'
