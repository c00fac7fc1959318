#!/usr/bin/env bash
# The record browser with the keyboard alone, under a window manager: F7
# opens it with the focus in the list, Down and Enter read the second record
# back, and after a second F7 Up, Delete and Yes delete the first record.
# Then filelog.kdf must hold the second and third records, byte for byte.
#
# Usage: records_by_keys.sh RAVEZAZ PROGRAM-FOLDER
set -euo pipefail

program=$1
data=$2
source "$(dirname "$0")/x11_driver.sh"

begin_session
start_x_server "$work" -screen 0 1280x1024x24
start_window_manager

folder=$work/program
make_program_folder "$folder" "$program" "$data"
isolate_user_folders "$work"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

main_caption='Ravezaz之文王卦'
browser_caption='默认记录文件.*'

record() {
    gbk_line "\"时间:2006-7-16 10:0$1:00\",\"姓名:占者$1\",\"占筮事由:第$1事\",\"卦序号:1\",\"卦象:111111\",\"卦名:乾\",\"未变爻\",\"\",\"\",\"\""
}

# Music off, today's tips off: on a festival day the tips window would
# otherwise open over the main window and take the keys.
gbk_line '"音乐关","","3","","","关"' >"$folder/setlog.kds"
{ record 1; record 2; record 3; } >"$folder/filelog.kdf"
{ record 2; record 3; } >"$work/expected.kdf"

"$folder/ravezaz" &
pid=$!
wait_for_window "$main_caption" 30 >/dev/null

# Read back: the caret starts on the first entry; Down goes to the second.
press_in "$main_caption" F7
press_in "$browser_caption" Down Return
wait_until_gone "$browser_caption" 10 || fail "Enter in the list did not read the record back"
wait_for_window "$main_caption" 10 >/dev/null || fail "the main window did not come back after reading"

# Delete: Up selects the first entry, Delete asks (No is the default), Alt+Y
# answers Yes, Return closes the report.
press_in "$main_caption" F7
press_in "$browser_caption" Up Delete
press_in '删除记录文件' alt+y
wait_until_gone '删除记录文件' 10 || fail "the question did not close"
press_in 'Ravezaz' Return
wait_until_gone 'Ravezaz' 10 || fail "the report did not close"
press_in "$browser_caption" Escape
wait_until_gone "$browser_caption" 10 || fail "Esc did not close the browser"
wait_for_window "$main_caption" 10 >/dev/null || fail "the main window did not come back after deleting"

status=0
quit_program "$main_caption" || status=$?
[[ $status == 0 ]] || fail "the program ended with status $status"

cmp -s "$folder/filelog.kdf" "$work/expected.kdf" ||
    fail "filelog.kdf reads $(iconv -f GBK -t UTF-8 <"$folder/filelog.kdf")"
echo "PASS"
