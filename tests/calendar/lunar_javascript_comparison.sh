#!/usr/bin/env bash
# Compares every day from 1900-01-31 to 2100-12-31 of `ravezaz-cli almanac`
# with the lunar-javascript library, which follows the published calendar:
# lunar year, month, leap month, day, month-and-day text, year name, day name
# and solar term must agree on every day.
#
#   lunar_javascript_comparison.sh RAVEZAZ_CLI BENCH_DIR WORK_DIR
#
# The library (the version bench/package.json pins) is installed with npm into
# WORK_DIR on first use.
set -euo pipefail

cli=${1:?usage: $0 RAVEZAZ_CLI BENCH_DIR WORK_DIR}
bench=${2:?usage: $0 RAVEZAZ_CLI BENCH_DIR WORK_DIR}
work=${3:?usage: $0 RAVEZAZ_CLI BENCH_DIR WORK_DIR}

mkdir -p "$work"
if ! cmp -s "$bench/package.json" "$work/package.json" || [ ! -d "$work/node_modules/lunar-javascript" ]; then
    cp "$bench/package.json" "$work/package.json"
    npm install --prefix "$work" --no-audit --no-fund --no-package-lock --silent
fi

"$cli" almanac --from 1900-01-31 --to 2100-12-31 >"$work/almanac.tsv"
NODE_PATH="$work/node_modules" node "$bench/lunar_javascript.js" check "$work/almanac.tsv"
