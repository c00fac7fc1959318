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

# Best wall-clock and best CPU (user + system) microseconds of a command run
# `rounds` times with its output thrown away; the CPU time comes from the
# kernel's accounting of the child, to the microsecond.
best_of() {
    local rounds=$1
    shift
    /usr/bin/python3 - "$rounds" "$@" <<'PYTHON'
import resource, subprocess, sys, time
rounds, command = int(sys.argv[1]), sys.argv[2:]
best_wall = best_cpu = None
for _ in range(rounds):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    best_wall = wall if best_wall is None else min(best_wall, wall)
    best_cpu = cpu if best_cpu is None else min(best_cpu, cpu)
print(int(best_wall * 1e6), int(best_cpu * 1e6))
PYTHON
}

read -r almanac_wall almanac_cpu < <(best_of 20 "$build/ravezaz-cli" almanac --from "$first" --to "$last")
read -r javascript_wall javascript_cpu < <(best_of 3 node "$here/lunar_javascript.js" describe)

javascript=$(node "$here/lunar_javascript.js" time)
echo "$javascript" | sed 's/^/lunar_javascript\t/'

value() { awk -F'\t' -v key="$1" '$1 == key { print $2 }'; }
days=$(echo "$bench" | value days)
bench_ns=$(echo "$bench" | value wall_ns_per_described_day)
javascript_ns=$(echo "$javascript" | value ns_per_described_day)

awk -v days="$days" -v bench="$bench_ns" -v js="$javascript_ns" \
    -v aw="$almanac_wall" -v ac="$almanac_cpu" -v jw="$javascript_wall" -v jc="$javascript_cpu" 'BEGIN {
    printf "process\travezaz-cli almanac\twall_ms\t%.1f\tcpu_ms\t%.1f\tns_per_day\t%.1f\n", aw / 1e3, ac / 1e3, aw * 1e3 / days
    printf "process\tlunar_javascript describe\twall_ms\t%.1f\tcpu_ms\t%.1f\tns_per_day\t%.1f\n", jw / 1e3, jc / 1e3, jw * 1e3 / days
    printf "ratio\tlunar_javascript process / almanac process (wall)\t%.1f\n", jw / aw
    printf "ratio\tlunar_javascript process / almanac process (cpu)\t%.1f\n", (ac > 0 ? jc / ac : 0)
    printf "ratio\tlunar_javascript in process / calendar_bench per day (wall)\t%.1f\n", js / bench
}'
