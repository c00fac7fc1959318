#!/usr/bin/env bash
# Reads every window of the real program through AT-SPI, as a screen reader
# does, under a window manager and with keys only: the main window, casting,
# manual entry (which enters a cast), the main window with that cast, the
# translation viewer, trigram reference, options, about, calendar, help and
# record browser. accessibility_survey.py lists, for each, the interactive
# objects without a name and the buttons that cannot take the focus.
#
# Usage: accessibility_survey.sh RAVEZAZ PROGRAM-FOLDER [report]
# Fails when a window has a fault; with "report" it only prints the survey.
set -euo pipefail

program=$1
data=$2
mode=${3:-check}
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x11_driver.sh"
on_own_accessibility_session "$0" "$@"

begin_program_session "$program" "$data"
# Music off, today's tips off: on a festival day the tips window would
# otherwise open over the main window and take the keys.
gbk_line '"音乐关","某官","3","","","关"' >"$folder/setlog.kds"

start_accessibility_bus

"$folder/ravezaz" &
pid=$!

faults=0
# survey NAME CAPTION-PATTERN: one window, already open and active.
survey() {
    local name=$1 caption=$2 status=0
    /usr/bin/python3 "$here/accessibility_survey.py" "$name" "$caption" || status=$?
    if ((status == 2)); then
        echo "FAIL: the window $name was not found on the accessibility bus" >&2
        exit 1
    fi
    if ((status != 0)); then
        faults=$((faults + 1))
    fi
}

main='Ravezaz之文王卦'

# survey_child NAME KEY CAPTION-PATTERN: the child window that KEY opens from
# the main window, surveyed and closed with F12.
survey_child() {
    local name=$1 key=$2 caption=$3
    press_in "$main" "$key"
    wait_for_window "$caption" 20 >/dev/null
    survey "$name" "$caption"
    press_in "$caption" F12
    wait_until_gone "$caption" 10
}

wait_for_window "$main" 30 >/dev/null
survey main "$main"

survey_child casting F5 '推演卦体'

# A cast entered by hand: the time is filled in; name, matter, six yang lines,
# the first line changing, then the confirm command.
press_in "$main" F6
wait_for_window '人工输入卦体' 20 >/dev/null
survey manual_entry '人工输入卦体'
press_in '人工输入卦体' Tab t o m Tab a s k Tab 1 1 1 1 1 1 space Tab Tab Tab Tab Tab space
wait_until_gone '人工输入卦体' 10
wait_for_window "$main" 10 >/dev/null
survey main_with_cast "$main"

survey_child translation_viewer 1 '卦、爻辞译文'
survey_child trigrams F8 '八卦卦象参考'
survey_child options F4 '功能选项'
survey_child about F3 '关于本软件'

press_in "$main" F10
calendar=$(wait_for_window '(农历查询|.*公历日期:.*)' 20)
survey calendar '(农历查询|.*公历日期:.*)'
xdotool windowfocus --sync "$calendar"
sleep 0.5
xdotool key F12

survey_child help F1 'Ravezaz 帮助.*'
survey_child record_browser F7 '.*记录文件.*'

quit_program "$main" || true
if [[ $mode == check ]] && ((faults > 0)); then
    echo "FAIL: $faults windows have unnamed interactive objects or buttons that cannot take the focus" >&2
    exit 1
fi
