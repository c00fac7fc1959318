#!/usr/bin/env bash
# The start on a Wayland desktop, a headless Weston. With XWayland there, and
# no platform chosen by the user, the program comes up as an X11 client of
# XWayland, where its windows keep their outline and their places: the main
# window opens on the centre of the screen, and after five child windows
# opened by key and closed with Esc it is still there, as large as before,
# not maximised. Without XWayland it falls back to native Wayland and still
# starts.
#
# Usage: wayland_start.sh RAVEZAZ PROGRAM-FOLDER
set -euo pipefail

program=$1
data=$2
source "$(dirname "$0")/x11_driver.sh"

work=$(mktemp -d)
pid=
compositor=
stop_program() {
    if [[ -n $pid ]]; then
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    pid=
}
stop_compositor() {
    if [[ -n $compositor ]]; then
        kill "$compositor" 2>/dev/null || true
        wait "$compositor" 2>/dev/null || true
    fi
    compositor=
}
cleanup() {
    stop_program
    stop_compositor
    rm -rf "$work"
}
trap cleanup EXIT

folder=$work/program
make_program_folder "$folder" "$program" "$data"
isolate_user_folders "$work"
gbk_line '"音乐关","","3","","","关"' >"$folder/setlog.kds"
unset DISPLAY WAYLAND_DISPLAY
# What GNOME and KDE sessions announce; Qt then prefers Wayland by itself.
export XDG_SESSION_TYPE=wayland

# Starts a headless Weston with the options given and waits for its socket.
# The socket's lock file lies beside the program's instance lock, so the
# socket must not be called "ravezaz".
start_compositor() {
    local deadline=$((SECONDS + 20))
    weston --backend=headless-backend.so --socket=wayland-test --width=1280 --height=1024 --idle-time=0 \
        --log="$work/weston.log" "$@" &
    compositor=$!
    until [[ -S $XDG_RUNTIME_DIR/wayland-test ]]; do
        ((SECONDS < deadline)) || fail "Weston did not start: $(cat "$work/weston.log")"
        sleep 0.1
    done
    export WAYLAND_DISPLAY=wayland-test
}

# --- With XWayland: an X11 client, centred on the screen.
start_compositor --xwayland
deadline=$((SECONDS + 20))
until display=$(grep -o 'xserver listening on display :[0-9]*' "$work/weston.log"); do
    ((SECONDS < deadline)) || fail "XWayland did not start: $(cat "$work/weston.log")"
    sleep 0.1
done
export DISPLAY=${display##* }
"$folder/ravezaz" 2>"$work/program.log" &
pid=$!
main=$(wait_for_window 'Ravezaz之文王卦' 30) || fail "no main window on XWayland: $(cat "$work/program.log")"
wait_until_centred "0 0 1280 1024" "$main" || fail "the main window is not centred on the screen"
main_box=$(window_box "$main")

# Waits up to five seconds until the main window is back in its box; then it
# must not be maximised. Weston places a window a moment after mapping it.
wait_for_main_in_place() {
    local deadline=$((SECONDS + 5))
    until [[ $(window_box "$main") == "$main_box" ]]; do
        ((SECONDS < deadline)) || fail "the main window came back at $(window_box "$main"), not at $main_box ($1)"
        sleep 0.1
    done
    if xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED; then
        fail "the main window came back maximised ($1)"
    fi
}

# Under Weston the keys go to the window itself (send_to): no X client can
# move the focus there. F5 opens the casting window, whose 姓名 field starts
# empty, so one Esc closes it; F6 opens manual entry with its time filled in,
# which the first Esc empties and the second closes the window.
rounds=('F6 人工输入卦体 Escape Escape' 'F5 推演卦体 Escape')
for round in 1 2 3 4 5; do
    read -r key caption escapes <<<"${rounds[round % 2]}"
    send_to 'Ravezaz之文王卦' "$key"
    wait_for_window "$caption" 10 >/dev/null || fail "no window \"$caption\" after $key (round $round)"
    # shellcheck disable=SC2086 # one word for each Esc
    send_to "$caption" $escapes || fail "the window \"$caption\" closed before its last Esc (round $round)"
    wait_until_gone "$caption" 10 || fail "Esc did not close the window \"$caption\" (round $round)"
    wait_for_window 'Ravezaz之文王卦' 10 >/dev/null || fail "the main window did not come back (round $round)"
    wait_for_main_in_place "round $round, after $caption"
    echo "round $round: $caption opened with $key and closed with Esc; the main window is at $main_box"
done
read -r left top width height <<<"$main_box"
((left >= 0 && top >= 0 && left + width <= 1280 && top + 40 <= 1024)) ||
    fail "the title band of the main window at $main_box is off the screen"
stop_program
stop_compositor
unset DISPLAY

# --- Without XWayland: native Wayland. The client's protocol log shows the
# main window's title going to the compositor.
start_compositor
WAYLAND_DEBUG=client "$folder/ravezaz" 2>"$work/program.log" &
pid=$!
deadline=$((SECONDS + 30))
until grep -q 'set_title("Ravezaz之文王卦")' "$work/program.log"; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended on native Wayland: $(grep -v '^\[' "$work/program.log")"
    ((SECONDS < deadline)) || fail "no main window on native Wayland"
    sleep 0.2
done
echo "PASS"
