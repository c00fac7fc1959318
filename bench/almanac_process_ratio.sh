#!/usr/bin/env bash
# The whole `ravezaz-cli almanac` process writing every day from 1900-01-31 to
# 2100-12-31 as TSV, against the whole lunar-javascript process describing the
# same 73,384 days, run in turn (A B A B ...) by farm-bench --vs. farm-bench
# prints the paired ratios A/B: 0.010 means the almanac takes a hundredth of
# the time.
#
#   bench/almanac_process_ratio.sh BUILD_DIR [RUNS]
#
# The library is installed into bench/node_modules on first use.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [RUNS]}
runs=${2:-7}
here=$(cd "$(dirname "$0")" && pwd)

if [ ! -d "$here/node_modules/lunar-javascript" ]; then
    npm install --prefix "$here" --no-audit --no-fund --silent
fi
cmake --build "$build" --target ravezaz-cli >/dev/null

farm-bench -n "$runs" --timeout 900 \
    --vs "env NODE_PATH=$here/node_modules node $here/lunar_javascript.js describe" \
    -- "$build/ravezaz-cli" almanac --from 1900-01-31 --to 2100-12-31
