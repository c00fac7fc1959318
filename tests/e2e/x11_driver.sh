# Drives the real program on a private X server with xdotool: a throw-away
# program folder, waiting for windows by their captions, and keys sent to the
# window that has the focus, exactly as a person would press them. Sourced by
# the end-to-end test and by docs/make_screenshots.sh.

# Ends the test as failed, saying why.
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb with the server options given and points DISPLAY at it. The
# server picks a free display number itself (-displayfd), so sessions started
# at the same time never race for one display. $1 is a scratch folder.
start_x_server() {
    local folder=$1 display
    shift
    mkfifo "$folder/display"
    Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$folder/display" 2>"$folder/xvfb.log" &
    x_server=$!
    if ! read -r -t 20 display <"$folder/display"; then
        cat "$folder/xvfb.log" >&2
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=:$display
}

# Starts a window manager on the X server (openbox unless a command is given)
# and waits until it has taken charge of the screen. Windows then get frames,
# focus and minimise as on a user's desktop.
start_window_manager() {
    local deadline
    if (($# == 0)); then
        set -- openbox --sm-disable
    fi
    "$@" >/dev/null 2>&1 &
    window_manager=$!
    deadline=$((SECONDS + 20))
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        if ((SECONDS >= deadline)); then
            echo "the window manager $1 did not start" >&2
            return 1
        fi
        sleep 0.1
    done
}

# For sessions read through AT-SPI: skips the test (exit 77) when the
# accessibility bus or python3-pyatspi is missing, and otherwise runs the
# script "$@" again on a session bus of its own (once), so the accessibility
# bus started on it is this session's alone.
on_own_accessibility_session() {
    local tool
    for tool in dbus-run-session /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool not installed (scripts/test installs at-spi2-core)"; exit 77; }
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
        { echo "skipped: python3-pyatspi not installed (scripts/test installs it)"; exit 77; }
    if [[ -z ${RAVEZAZ_OWN_SESSION_BUS:-} ]]; then
        export RAVEZAZ_OWN_SESSION_BUS=1
        exec dbus-run-session -- "$@"
    fi
}

# Starts the accessibility bus on the session bus and has Qt report to it;
# the bus ends with the session. After begin_session.
start_accessibility_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    bus_launcher=$!
    trap 'kill $bus_launcher 2>/dev/null || true; end_session' EXIT
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# Makes the scratch folder $work and sees to it that at exit the program
# (its process id in $pid, once started) is killed, the window manager and
# the X server are stopped and the folder is removed.
begin_session() {
    work=$(mktemp -d)
    pid=
    trap end_session EXIT
}

# A whole session for one test: begin_session, a 1280×1024 X server under
# a window manager (openbox unless a command is given), the program $1 with
# its data folder $2 copied into $folder, and user folders of its own.
begin_program_session() {
    local program=$1 data=$2
    shift 2
    begin_session
    start_x_server "$work" -screen 0 1280x1024x24
    start_window_manager "$@"
    folder=$work/program
    make_program_folder "$folder" "$program" "$data"
    isolate_user_folders "$work"
}

end_session() {
    if [[ -n $pid ]]; then
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    stop_x_server
    rm -rf "$work"
}

stop_x_server() {
    if [[ -n ${window_manager:-} ]]; then
        kill "$window_manager" 2>/dev/null || true
        wait "$window_manager" 2>/dev/null || true
    fi
    if [[ -n ${x_server:-} ]]; then
        kill "$x_server" 2>/dev/null || true
        wait "$x_server" 2>/dev/null || true
    fi
}

# Lays out a program folder in $1 around the executable $2 and the data of
# the build's program folder $3. The executable is copied, not linked: the
# program takes its folder from the real path of its executable, and that is
# where it writes setlog.kds and filelog.kdf.
make_program_folder() {
    local folder=$1 executable=$2 data=$3 item
    mkdir -p "$folder"
    cp "$executable" "$folder/ravezaz"
    for item in wav mid festival kdhelp.chm; do
        ln -s "$data/$item" "$folder/$item"
    done
}

# A private home and runtime folder, so neither the instance lock nor the
# per-user data folder is shared with anything else on the machine.
isolate_user_folders() {
    local root=$1
    export HOME="$root/home" XDG_RUNTIME_DIR="$root/runtime"
    unset XDG_DATA_HOME XDG_CONFIG_HOME
    mkdir -p "$HOME"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM
    export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
}

# Prints the id of the viewable window whose caption is exactly $1, waiting
# up to $2 seconds; fails when none shows up.
wait_for_window() {
    local caption=$1 seconds=$2 deadline id
    deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        id=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n 1) || true
        if [[ -n $id ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    echo "no window \"$caption\" within $seconds s" >&2
    return 1
}

# Prints "left top width height" of the window $1 on the screen, with the
# frame the window manager gave it.
window_box() {
    local left=0 right=0 top=0 bottom=0 extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -o '[0-9]*, [0-9]*, [0-9]*, [0-9]*') || true
    if [[ -n $extents ]]; then
        IFS=', ' read -r left right top bottom <<<"$extents"
    fi
    xwininfo -id "$1" | awk -v l="$left" -v r="$right" -v t="$top" -v b="$bottom" '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF}
        END {print x - l, y - t, w + l + r, h + t + b}'
}

# Succeeds when the centre of the box $2 lies within 2 pixels of the centre
# of the box $1 (boxes as window_box prints them); else says by how much it
# is off and fails.
centred_over() {
    local px py pw ph cx cy cw ch dx dy
    read -r px py pw ph <<<"$1"
    read -r cx cy cw ch <<<"$2"
    dx=$(((2 * cx + cw) - (2 * px + pw)))
    dy=$(((2 * cy + ch) - (2 * py + ph)))
    if ((dx < -4 || dx > 4 || dy < -4 || dy > 4)); then
        echo "off the centre by ($((dx / 2)), $((dy / 2))) pixels" >&2
        return 1
    fi
}

# Waits up to three seconds until the window $2 sits on the centre of the box
# $1: some window managers place a new window only after mapping it.
wait_until_centred() {
    local deadline=$((SECONDS + 3))
    until centred_over "$1" "$(window_box "$2")" 2>/dev/null; do
        if ((SECONDS >= deadline)); then
            centred_over "$1" "$(window_box "$2")"
            return
        fi
        sleep 0.1
    done
}

# Waits up to $2 seconds until no viewable window has the caption $1.
wait_until_gone() {
    local caption=$1 seconds=$2 deadline
    deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        xdotool search --onlyvisible --name "^${caption}\$" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    echo "window \"$caption\" still open after $seconds s" >&2
    return 1
}

# Gives the keyboard focus to the window captioned $1 (waiting for it as
# above) and presses the keys that follow, each a press and a release.
press_in() {
    local caption=$1 id
    shift
    id=$(wait_for_window "$caption" 20)
    xdotool windowfocus --sync "$id"
    xdotool key --delay 80 "$@"
}

# Presses keys in the window captioned $1 (waiting for it as above) by
# sending them to that window, without moving the focus. For XWayland under
# Weston, where press_in cannot work: Weston's window manager puts the X focus
# back wherever the compositor has it after any client moves it, on a headless
# Weston (no seat) to no window at all, and from then on no pressed key reaches
# any window.
send_to() {
    local caption=$1 id
    shift
    id=$(wait_for_window "$caption" 20)
    xdotool key --window "$id" --delay 80 "$@"
}

# Binds every character of $1 beyond ASCII that has no key yet to a key
# with no symbol, for the rest of the X session. Left to itself, xdotool binds
# such a character for one press and unbinds it at once; a program that reads
# the key map again after the unbinding (as Qt does on the change) then gets
# no character for that press, and under load a typed name loses a character.
bind_keys_for() {
    local text=$1 code keysym
    local -a free
    mapfile -t free < <(xmodmap -pke | awk 'NF == 3 { print $2 }')
    for code in $(printf %s "$text" | iconv -f UTF-8 -t UTF-32LE | od -An -v -tx4); do
        ((16#$code > 0x7f)) || continue
        keysym=$(printf 'U%04X' $((16#$code)))
        xmodmap -pke | grep -qw "$keysym" && continue
        ((${#free[@]} > 0)) || { echo "no free key for $keysym" >&2; return 1; }
        xmodmap -e "keycode ${free[0]} = $keysym"
        free=("${free[@]:1}")
    done
}

# Types the text $2 into the window captioned $1, replacing what its field holds.
type_in() {
    local caption=$1 text=$2 id
    bind_keys_for "$text"
    id=$(wait_for_window "$caption" 20)
    xdotool windowfocus --sync "$id"
    xdotool key ctrl+a
    xdotool type --delay 80 "$text"
}

# Waits up to $2 seconds for the process $1, a child of this shell, to end
# and returns its exit status; kills it and returns 124 when it is still
# running then.
wait_for_exit() {
    local pid=$1 seconds=$2 deadline
    deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            return
        fi
        sleep 0.2
    done
    echo "the program is still running after $seconds s" >&2
    kill -KILL "$pid" 2>/dev/null || true
    return 124
}

# Leaves the program as a user does: F12 in the main window (caption $1) and
# Yes in the confirmation, whose default is No (Alt+Y is the mnemonic of its
# Yes button). Returns the program's exit status.
quit_program() {
    local status=0
    press_in "$1" F12
    press_in '《Ravezaz》系统' alt+y
    wait_for_exit "$pid" 15 || status=$?
    pid=
    return "$status"
}

# GBK bytes of a UTF-8 text, CR LF appended.
gbk_line() {
    printf '%s\r\n' "$1" | iconv -f UTF-8 -t GBK
}
