#!/usr/bin/env bash
# Takes the README's screenshots from the real program on a private X
# server: the main window at rest, the casting window as a cast ends, and the
# main window showing that cast. Needs a built tree, Xvfb, xdotool and
# ImageMagick's import.
#
# Usage: docs/make_screenshots.sh [BUILD-FOLDER]   (default: build/)
set -euo pipefail

docs=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$docs/../build}" && pwd)

source "$docs/../tests/e2e/x11_driver.sh"
begin_session
# White root: the corners a shaped window cuts away come out white.
start_x_server "$work" -screen 0 1280x1024x24 -wr

make_program_folder "$work/program" "$build/ravezaz" "$build"
isolate_user_folders "$work"
export TZ=Asia/Shanghai

# Saves the window captioned $1 as docs/$2, cut from the screen so that its
# shaped outline shows as it does on a desktop.
shoot() {
    local id geometry
    id=$(wait_for_window "$1" 20)
    geometry=$(xdotool getwindowgeometry --shell "$id")
    eval "$geometry"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$docs/$2"
    echo "wrote docs/$2 (${WIDTH}x${HEIGHT})"
}

"$work/program/ravezaz" &
pid=$!
wait_for_window 'Ravezaz之文王卦' 30 >/dev/null
sleep 2
shoot 'Ravezaz之文王卦' main-window.png

press_in 'Ravezaz之文王卦' F5
press_in '推演卦体' ctrl+KP_Add ctrl+KP_Add F5
type_in '输入姓名' 张三
press_in '输入姓名' Return
press_in '推演卦体' F5
type_in '输入事由' 问前程
press_in '输入事由' Return
wait_until_gone '输入事由' 10
press_in '推演卦体' F5
# Eighteen changes at speed 5 take a few seconds; the window then waits five
# seconds before its countdown.
sleep 6
shoot '推演卦体' casting-window.png

wait_until_gone '推演卦体' 60
sleep 2
shoot 'Ravezaz之文王卦' cast-view.png

quit_program 'Ravezaz之文王卦'
