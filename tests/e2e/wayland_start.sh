#!/usr/bin/env bash
# The start on a Wayland desktop, a headless Weston. With XWayland there, and
# no platform chosen by the user, the program comes up as an X11 client of
# XWayland, where its windows keep their outline and their places: the main
# window opens on the centre of the screen. Without XWayland it falls back to
# native Wayland and still starts.
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

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

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
