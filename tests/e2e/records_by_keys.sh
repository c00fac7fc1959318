#!/usr/bin/env bash
# The record browser with the keyboard alone, under a window manager. F7
# opens it with the focus in the list; Down and Enter read the second record
# back, and the main window then shows that cast, as a screen reader reads it
# through AT-SPI. After a second F7, Down, Down and Delete ask to delete the
# third record, Alt+Y answers Yes and Enter closes the report, which leaves
# the browser open and the cast shown as it was; Esc closes the browser.
# Then the record file must hold the first two records, byte for byte.
#
# Usage: records_by_keys.sh RAVEZAZ RAVEZAZ-CLI PROGRAM-FOLDER
set -euo pipefail

program=$1
cli=$2
data=$3
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x11_driver.sh"
on_own_accessibility_session "$0" "$@"

begin_program_session "$program" "$data"

main_caption='Ravezaz之文王卦'
# The caption names the file in parentheses; in xdotool's extended regular
# expressions they are escaped to stand for themselves.
browser_caption='默认记录文件\(.*/filelog\.kdf\)'

# Music off, today's tips off: on a festival day the tips window would
# otherwise open over the main window and take the keys.
gbk_line '"音乐关","","3","","","关"' >"$folder/setlog.kds"
record_file=$folder/filelog.kdf
names=(张一 李二 王三)
matters=(问学业 问出行 问家宅)
for i in 0 1 2; do
    "$cli" cast --seed $((i + 1)) --name "${names[i]}" --matter "${matters[i]}" --record "$record_file" >/dev/null
done
[[ $("$cli" records "$record_file" count) == 3 ]] || fail "the record file was not made with three records"
head -n 2 "$record_file" >"$work/expected.kdf"
second_hexagram=$("$cli" records "$record_file" show 2 | awk -F'\t' '$1 == 6 {print $2}')

start_accessibility_bus

"$folder/ravezaz" &
pid=$!
wait_for_window "$main_caption" 30 >/dev/null

# Waits up to ten seconds until the main window shows the cast of the name $1,
# the matter $2 and the hexagram $3, as the accessibility bus reads it.
wait_for_shown_cast() {
    local deadline=$((SECONDS + 10)) shown
    while true; do
        shown=$(/usr/bin/python3 "$here/shown_cast.py" "$main_caption") || shown=
        if [[ $shown == *"姓名：$1，占筮事由：$2，"* && $shown == *" $3，六爻："* ]]; then
            echo "shown: ${shown%%$'\n'*}"
            return 0
        fi
        ((SECONDS < deadline)) || fail "the main window shows \"$shown\", not the cast of $1 ($2, $3)"
        sleep 0.2
    done
}

idle=$(/usr/bin/python3 "$here/shown_cast.py" "$main_caption") || fail "the main window is not on the accessibility bus"
[[ -z $idle ]] || fail "a cast is shown before any was read: $idle"

# Read back: the caret starts on the first entry; Down goes to the second.
press_in "$main_caption" F7
press_in "$browser_caption" Down Return
wait_until_gone "$browser_caption" 10 || fail "Enter in the list did not read the record back"
wait_for_window "$main_caption" 10 >/dev/null || fail "the main window did not come back after reading"
wait_for_shown_cast "${names[1]}" "${matters[1]}" "$second_hexagram"

# Delete: Down twice to the third entry, Delete asks (No is the default),
# Alt+Y answers Yes, Enter closes the report. The report closes on the press
# of Enter; its release then comes to the list and must read nothing.
press_in "$main_caption" F7
press_in "$browser_caption" Down Down Delete
press_in '删除记录文件' alt+y
wait_until_gone '删除记录文件' 10 || fail "the question did not close"
press_in 'Ravezaz' Return
wait_until_gone 'Ravezaz' 10 || fail "the report did not close"
wait_for_window "$browser_caption" 5 >/dev/null || fail "the browser closed with the report"
press_in "$browser_caption" Escape
wait_until_gone "$browser_caption" 10 || fail "Esc did not close the browser"
wait_for_window "$main_caption" 10 >/dev/null || fail "the main window did not come back after deleting"
wait_for_shown_cast "${names[1]}" "${matters[1]}" "$second_hexagram"

status=0
quit_program "$main_caption" || status=$?
[[ $status == 0 ]] || fail "the program ended with status $status"

count=$("$cli" records "$record_file" count)
[[ $count == 2 ]] || fail "the record file holds $count records, not 2"
cmp -s "$record_file" "$work/expected.kdf" ||
    fail "the record file reads $(iconv -f GBK -t UTF-8 <"$record_file")"
echo "PASS"
