#!/usr/bin/env bash
# Compares the minute of every solar term from 1900 to 2100 in
# `ravezaz-cli almanac --format ics` with the astronomia library's full VSOP87
# theory (astronomia_terms.js says how).
#
#   astronomia_term_comparison.sh RAVEZAZ_CLI WORK_DIR
#
# The library, at the version pinned here, is installed with npm into
# WORK_DIR on first use; exit status 77 (skipped) when it cannot be.
set -euo pipefail

cli=${1:?usage: $0 RAVEZAZ_CLI WORK_DIR}
work=${2:?usage: $0 RAVEZAZ_CLI WORK_DIR}
here=$(cd "$(dirname "$0")" && pwd)
package=astronomia@4.3.0
skipped=77

mkdir -p "$work"
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "skipped: node and npm are not installed"
    exit $skipped
fi
if [ "$(cat "$work/installed" 2>/dev/null)" != "$package" ]; then
    if ! timeout 120 npm install --prefix "$work" --no-audit --no-fund --no-package-lock --silent \
        --fetch-retries=1 --fetch-timeout=30000 "$package" >"$work/npm.log" 2>&1; then
        echo "skipped: npm registry unreachable"
        sed 's/^/npm: /' "$work/npm.log" | tail -5
        exit $skipped
    fi
    echo "$package" >"$work/installed"
fi

"$cli" almanac --from 1900-01-01 --to 2100-12-31 --format ics >"$work/terms.ics"
NODE_PATH="$work/node_modules" node "$here/astronomia_terms.js" "$work/terms.ics"
