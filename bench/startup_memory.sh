#!/usr/bin/env bash
# The real program seen from outside, under Xvfb: the time from its start
# until its main window is on screen, less the splash's fixed 1.3 s (the
# 1.2 s bar and the 0.1 s after it), the CPU time it used until then, and its
# resident memory once the main window has been idle for a few seconds
# (VmRSS, and the peak that /usr/bin/time -v reports after it is ended).
# Usage: bench/startup_memory.sh [PROGRAM_FOLDER] (default build/)
set -euo pipefail

measure() {
    local scratch
    scratch=$(mktemp -d)
    # A runtime folder of its own, so a running copy of the program does not
    # turn this one away.
    export XDG_RUNTIME_DIR=$scratch
    local started shown ticks pid timer
    started=$(date +%s%N)
    /usr/bin/time -v -o "$scratch/time.txt" "$PROGRAM" &
    timer=$!
    until pid=$(pgrep -P "$timer" -x ravezaz); do sleep 0.002; done
    until xdotool search --onlyvisible --name '^Ravezaz之文王卦$' >/dev/null 2>&1; do sleep 0.005; done
    shown=$(date +%s%N)
    ticks=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep 5
    local idle
    idle=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
    kill -TERM "$pid"
    wait "$timer" || true
    local peak
    peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$scratch/time.txt")
    local clock_ticks
    clock_ticks=$(getconf CLK_TCK)
    awk -v wall=$(((shown - started) / 1000000)) -v cpu="$ticks" -v hz="$clock_ticks" -v idle="$idle" -v peak="$peak" 'BEGIN {
        printf "main window shown after   %6d ms wall clock, %6d ms without the splash wait (target: under 150)\n", wall, wall - 1300
        printf "CPU time until then       %6d ms\n", cpu * 1000 / hz
        printf "resident, idle main window %5.1f MB (peak %.1f MB; target: under 120)\n", idle / 1024, peak / 1024
    }'
    rm -rf "$scratch"
}
if [ "${1:-}" = --under-xvfb ]; then
    PROGRAM=$2
    measure
    exit
fi
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PROGRAM="$(cd "${1:-$ROOT/build}" && pwd)/ravezaz"
[ -x "$PROGRAM" ] || { echo "no program at $PROGRAM" >&2; exit 1; }
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --under-xvfb "$PROGRAM"
