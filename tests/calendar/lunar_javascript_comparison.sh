#!/usr/bin/env bash
# Compares every day from 1900-01-31 to 2100-12-31 of
# `ravezaz-cli almanac --huangli` with the lunar-javascript library, which
# follows the published calendar: lunar year, month, leap month, day,
# month-and-day text, year name, day name, solar term, the whole day almanac
# (宜, 忌 and the rest) and the public holidays must agree on every day.
#
#   lunar_javascript_comparison.sh RAVEZAZ_CLI BENCH_DIR WORK_DIR
#
# The library (the version bench/package.json pins) is installed with npm into
# WORK_DIR on first use. Without node and npm, or when npm cannot install it
# (no network, registry down), the comparison is skipped: exit code 77.
set -euo pipefail

cli=${1:?usage: $0 RAVEZAZ_CLI BENCH_DIR WORK_DIR}
bench=${2:?usage: $0 RAVEZAZ_CLI BENCH_DIR WORK_DIR}
work=${3:?usage: $0 RAVEZAZ_CLI BENCH_DIR WORK_DIR}
skipped=77

if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "skipped: node or npm not installed"
    exit $skipped
fi

mkdir -p "$work"
if ! cmp -s "$bench/package.json" "$work/package.json" || [ ! -d "$work/node_modules/lunar-javascript" ]; then
    cp "$bench/package.json" "$work/package.json"
    if ! timeout 240 npm install --prefix "$work" --no-audit --no-fund --no-package-lock --silent \
            --fetch-retries=1 --fetch-timeout=30000 >/dev/null 2>&1 \
            || [ ! -d "$work/node_modules/lunar-javascript" ]; then
        rm -f "$work/package.json"
        echo "skipped: npm registry unreachable"
        exit $skipped
    fi
fi

# A user's holidays.txt must not take part: the program reads its per-user
# files from an empty data folder here.
data_home=$(mktemp -d)
trap 'rm -rf "$data_home"' EXIT
XDG_DATA_HOME=$data_home "$cli" almanac --from 1900-01-31 --to 2100-12-31 --huangli >"$work/almanac.tsv"
NODE_PATH="$work/node_modules" node "$bench/lunar_javascript.js" check "$work/almanac.tsv"
