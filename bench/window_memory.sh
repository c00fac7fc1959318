#!/usr/bin/env bash
# Resident memory of the real program under Xvfb, driven by keys: once its
# main window has been idle for a few seconds, then after every 80 openings
# of the trigram reference (F8), the calendar (F10), the about window (F3) and
# the options window (F4), each closed again with F12 (the calendar with
# Escape: its F12 waits for its day panel), up to 240 openings.
# Today's tips are off, and so is the music unless MUSIC=on is given, so only
# the windows count. Uses the X server in DISPLAY when one is set, else
# starts Xvfb.
# Usage: [MUSIC=on] bench/window_memory.sh [PROGRAM_FOLDER] (default build/)
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
data=$(cd "${1:-$ROOT/build}" && pwd)
[ -x "$data/ravezaz" ] || { echo "no program at $data/ravezaz" >&2; exit 1; }
source "$ROOT/tests/e2e/x11_driver.sh"

work=$(mktemp -d)
pid=
cleanup() {
    if [[ -n $pid ]]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    stop_x_server
    rm -rf "$work"
}
trap cleanup EXIT
[[ -n ${DISPLAY:-} ]] || start_x_server "$work" -screen 0 1280x1024x24
folder=$work/program
make_program_folder "$folder" "$data/ravezaz" "$data"
isolate_user_folders "$work"
music=音乐关
[[ ${MUSIC:-off} == on ]] && music=音乐开
printf '"%s","某官","3","","","关"\r\n' "$music" | iconv -f UTF-8 -t GBK >"$folder/setlog.kds"

resident() {
    awk '/^VmRSS/ {printf "%.1f MB", $2 / 1024}' "/proc/$pid/status"
}

"$folder/ravezaz" &
pid=$!
main='Ravezaz之文王卦'
wait_for_window "$main" 30 >/dev/null
sleep 5
echo "idle main window:        $(resident)"

# key that opens the window, its caption, key that closes it
windows=(F8 '八卦卦象参考' F12 F10 '.*公历日期.*' Escape F3 '关于本软件' F12 F4 '功能选项' F12)
opens=0
for block in 1 2 3; do
    for ((round = 0; round < 20; ++round)); do
        for ((i = 0; i < ${#windows[@]}; i += 3)); do
            press_in "$main" "${windows[i]}"
            press_in "${windows[i + 1]}" "${windows[i + 2]}"
            wait_until_gone "${windows[i + 1]}" 20
            opens=$((opens + 1))
        done
    done
    sleep 2
    printf 'after %3d openings:      %s\n' "$opens" "$(resident)"
done
