#!/usr/bin/env bash
# The main window under a real window manager, as users run it: the window
# icon, drags from a handle with each mouse button, a click whose press and
# release come together, child windows centred over the main window, and the
# re-show after a hidden child once the window has been minimised and restored.
#
# Usage: window_manager.sh RAVEZAZ PROGRAM-FOLDER [WINDOW-MANAGER-COMMAND...]
set -euo pipefail

program=$1
data=$2
shift 2
source "$(dirname "$0")/x11_driver.sh"

begin_session
start_x_server "$work" -screen 0 1280x1024x24
folder=$work/program
make_program_folder "$folder" "$program" "$data"
isolate_user_folders "$work"
start_window_manager "$@"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

main_caption='Ravezaz之文王卦'
# The caption-less handle in the title band of the main window.
handle_x=400
handle_y=20

# Prints the WM_STATE of the window $1: Normal, Iconic or Withdrawn.
window_state() {
    xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/ {print $NF}'
}

# Waits up to $3 seconds until the window $1 is in the state $2.
wait_for_state() {
    local id=$1 wanted=$2 deadline=$((SECONDS + $3))
    until [[ $(window_state "$id") == "$wanted" ]]; do
        ((SECONDS < deadline)) || fail "the main window is $(window_state "$id"), not $wanted"
        sleep 0.1
    done
}

# Music off, today's tips off: on a festival day the tips window would
# otherwise open over the main window and take the keys.
gbk_line '"音乐关","","3","","","关"' >"$folder/setlog.kds"
"$folder/ravezaz" &
pid=$!
main=$(wait_for_window "$main_caption" 30)
wait_for_state "$main" Normal 10

xprop -id "$main" _NET_WM_ICON >"$work/icon" 2>&1
grep -q '^_NET_WM_ICON(CARDINAL) = ' "$work/icon" || fail "the main window has no icon: $(head -c 200 "$work/icon")"

# Other buttons and a click whose press and release come together never move
# the window, and the keys still reach the program afterwards: A opens the
# about window.
for button in 3 2 1; do
    xdotool windowfocus --sync "$main"
    before=$(window_box "$main")
    xdotool mousemove --window "$main" $handle_x $handle_y click "$button"
    xdotool mousemove_relative --sync 90 70
    sleep 0.3
    [[ $(window_box "$main") == "$before" ]] ||
        fail "a click with button $button moved the window from $before to $(window_box "$main")"
    xdotool key A
    wait_for_window '关于本软件' 10 >/dev/null || fail "keys are lost after a click with button $button"
    press_in '关于本软件' F12
    wait_until_gone '关于本软件' 10
done

# A left drag from the handle moves the window with the pointer. The window
# manager takes the pointer over after the first step; a step that is under
# way while it does may be lost, as with any move the window manager runs.
read -r left top _ <<<"$(window_box "$main")"
xdotool mousemove --window "$main" $handle_x $handle_y mousedown 1
for _ in 1 2 3 4 5 6; do
    xdotool mousemove_relative --sync 20 15
    sleep 0.05
done
xdotool mouseup 1
sleep 0.3
read -r moved_left moved_top _ <<<"$(window_box "$main")"
dx=$((moved_left - left))
dy=$((moved_top - top))
((dx >= 100 && dx <= 123 && dy >= 75 && dy <= 93)) ||
    fail "a drag by (120, 90) moved the window from ($left, $top) to ($moved_left, $moved_top)"

# A double-click on the lunar date line, itself a drag handle, still reaches
# the line and opens the calendar; windows opened over the main window sit on
# its centre.
main_box=$(window_box "$main")
sleep 1.1
calendar_caption='(农历查询|.*公历日期:.*)'
for row in "double-click $calendar_caption" "F4 功能选项"; do
    read -r key caption <<<"$row"
    if [[ $key == double-click ]]; then
        xdotool mousemove --window "$main" 100 405 click --repeat 2 --delay 80 1
    else
        press_in "$main_caption" "$key"
    fi
    child=$(wait_for_window "$caption" 10) || fail "no window \"$caption\" after $key"
    wait_until_centred "$main_box" "$child" || fail "the window \"$caption\" is not centred"
    press_in "$caption" F12
    wait_until_gone "$caption" 10
    # The minimise and close pictures wake one second after a child closes.
    sleep 1.1
done

# Minimised once and restored by the window manager, the main window still
# comes back normal and active after every hidden child.
press_in "$main_caption" F11
wait_for_state "$main" Iconic 10
xdotool windowactivate "$main"
wait_for_state "$main" Normal 10
for round in 1 2; do
    press_in "$main_caption" F6
    child=$(wait_for_window '人工输入卦体' 10)
    wait_until_centred "$main_box" "$child" || fail "the window \"人工输入卦体\" is not centred"
    press_in '人工输入卦体' F12
    wait_until_gone '人工输入卦体' 10
    wait_for_window "$main_caption" 10 >/dev/null || fail "the main window did not come back (round $round)"
    wait_for_state "$main" Normal 5
    sleep 0.3
    [[ $(window_box "$main") == "$main_box" ]] ||
        fail "the main window came back at $(window_box "$main"), not at $main_box (round $round)"
    [[ $(xdotool getactivewindow) == "$main" ]] || fail "the main window came back inactive (round $round)"
done

status=0
quit_program "$main_caption" || status=$?
[[ $status == 0 ]] || fail "the program ended with status $status"
echo "PASS"
