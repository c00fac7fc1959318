#!/usr/bin/env bash
# The main window under a real window manager, as users run it: the window
# icon, drags from a handle with each mouse button, the spot grabbed staying
# under the pointer through a left drag, a click whose press and release come
# together, a release right after the drag distance, child windows centred
# over the main window, and the re-show after a hidden child once the window
# has been minimised and restored.
#
# Usage: window_manager.sh RAVEZAZ PROGRAM-FOLDER [WINDOW-MANAGER-COMMAND...]
set -euo pipefail

program=$1
data=$2
shift 2
source "$(dirname "$0")/x11_driver.sh"

begin_program_session "$program" "$data" "$@"

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

# Prints the pointer's position on the screen: "x y".
pointer_position() {
    xdotool getmouselocation | sed -E 's/^x:(-?[0-9]+) y:(-?[0-9]+) .*/\1 \2/'
}

# Succeeds once the window $1 has the spot $2 $3 (from the top left corner of
# its frame) under the pointer, give or take 2 pixels; after three seconds
# says how far off it is and fails.
wait_until_under_pointer() {
    local id=$1 spot_x=$2 spot_y=$3 deadline=$((SECONDS + 3)) x y left top off_x off_y
    while :; do
        read -r x y <<<"$(pointer_position)"
        read -r left top _ <<<"$(window_box "$id")"
        off_x=$((left + spot_x - x))
        off_y=$((top + spot_y - y))
        ((off_x >= -2 && off_x <= 2 && off_y >= -2 && off_y <= 2)) && return 0
        if ((SECONDS >= deadline)); then
            echo "the spot grabbed is ($off_x, $off_y) pixels off the pointer" >&2
            return 1
        fi
        sleep 0.1
    done
}

# A left drag from the handle moves the window with the pointer, the spot
# grabbed staying under the pointer whether the pointer crossed the drag
# distance in one long first step or in the short steps of a mouse.
for row in "6 20 15" "40 -3 -2"; do
    read -r steps step_x step_y <<<"$row"
    read -r left top _ <<<"$(window_box "$main")"
    xdotool mousemove --sync --window "$main" $handle_x $handle_y
    read -r spot_x spot_y <<<"$(pointer_position)"
    spot_x=$((spot_x - left))
    spot_y=$((spot_y - top))
    xdotool mousedown 1
    for ((step = 0; step < steps; step++)); do
        xdotool mousemove_relative --sync -- "$step_x" "$step_y"
        sleep 0.02
    done
    xdotool mouseup 1
    wait_until_under_pointer "$main" "$spot_x" "$spot_y" ||
        fail "a left drag in $steps steps of ($step_x, $step_y) left the window behind the pointer"
done

# A release that comes at once after the drag distance, before the window
# manager has taken the pointer, still ends the move: the window stays where
# the release left it, and the keys reach the program.
xdotool mousemove --window "$main" $handle_x $handle_y mousedown 1 mousemove_relative 20 15 mouseup 1
sleep 0.3
released=$(window_box "$main")
xdotool mousemove_relative --sync 90 70
sleep 0.3
[[ $(window_box "$main") == "$released" ]] ||
    fail "the window followed the pointer after the release, from $released to $(window_box "$main")"
xdotool windowfocus --sync "$main"
xdotool key A
wait_for_window '关于本软件' 10 >/dev/null || fail "keys are lost after a short drag"
press_in '关于本软件' F12
wait_until_gone '关于本软件' 10

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
