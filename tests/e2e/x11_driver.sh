# Drives the real program on a private X server with xdotool: a throw-away
# program folder, waiting for windows by their captions, and keys sent to the
# window that has the focus, exactly as a person would press them. Sourced by
# the end-to-end test and by docs/make_screenshots.sh.

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

stop_x_server() {
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

# Types the text $2 into the window captioned $1, replacing what its field holds.
type_in() {
    local caption=$1 text=$2 id
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
