#!/usr/bin/env bash
# One whole session with the real program under a window manager, keys only:
# open the casting window with F5, raise the speed to 5, answer the name and
# matter prompts, cast automatically, let the countdown close the window,
# leave with F12 and Yes.
# Then the record line in filelog.kdf and the settings line in setlog.kds are
# checked byte for byte where they are fixed and by their rules elsewhere.
#
# Usage: cast_and_exit.sh RAVEZAZ RAVEZAZ-CLI PROGRAM-FOLDER
set -euo pipefail

program=$1
cli=$2
data=$3
source "$(dirname "$0")/x11_driver.sh"

begin_program_session "$program" "$data"

# Music off, today's tips off: on a festival day the tips window would
# otherwise open over the main window and take the keys.
gbk_line '"音乐关","某官","3","","","关"' >"$folder/setlog.kds"

name=张三
matter=问前程
day_before=$(date +%Y-%-m-%-d)
started=$SECONDS

"$folder/ravezaz" &
pid=$!

wait_for_window 'Ravezaz之文王卦' 30 >/dev/null
press_in 'Ravezaz之文王卦' F5
wait_for_window '推演卦体' 20 >/dev/null
# Speed 3 from the settings, two steps faster.
press_in '推演卦体' ctrl+KP_Add ctrl+KP_Add

# The first F5 asks for the name, the second for the matter, the third casts.
press_in '推演卦体' F5
type_in '输入姓名' "$name"
press_in '输入姓名' Return
wait_until_gone '输入姓名' 10
press_in '推演卦体' F5
type_in '输入事由' "$matter"
press_in '输入事由' Return
wait_until_gone '输入事由' 10
press_in '推演卦体' F5

# Eighteen changes at speed 5, then the five-second hint and the countdown
# from 5 to 0 close the window by themselves.
wait_until_gone '推演卦体' 60
wait_for_window 'Ravezaz之文王卦' 10 >/dev/null
status=0
quit_program 'Ravezaz之文王卦' || status=$?
[[ $status == 0 ]] || fail "the program ended with status $status"
day_after=$(date +%Y-%-m-%-d)
echo "session took $((SECONDS - started)) s"

# --- setlog.kds: the six fields, the name and the speed as they were left.
[[ -f $folder/setlog.kds ]] || fail "no setlog.kds in the program folder"
expected_settings=$(gbk_line "\"音乐关\",\"$name\",\"5\",\"\",\"\",\"关\"" | od -An -tx1)
actual_settings=$(od -An -tx1 <"$folder/setlog.kds")
[[ $actual_settings == "$expected_settings" ]] ||
    fail "setlog.kds reads $(iconv -f GBK -t UTF-8 <"$folder/setlog.kds" | od -c)"

# --- filelog.kdf: exactly one GBK line of ten quoted fields, ended by CR LF.
record_file=$folder/filelog.kdf
[[ -f $record_file ]] || fail "no filelog.kdf in the program folder"
[[ $(tail -c 2 "$record_file" | od -An -tx1) == ' 0d 0a' ]] || fail "the record line does not end with CR LF"
[[ $(wc -l <"$record_file") == 1 ]] || fail "filelog.kdf holds $(wc -l <"$record_file") lines, not one"
line=$(iconv -f GBK -t UTF-8 "$record_file") || fail "filelog.kdf is not GBK text"
line=${line%$'\r'}
echo "record: $line"
[[ $line == \"*\" ]] || fail "the record line is not made of quoted fields"
rest=${line:1:-1}
fields=()
while [[ $rest == *'","'* ]]; do
    fields+=("${rest%%\",\"*}")
    rest=${rest#*\",\"}
done
fields+=("$rest")
[[ ${#fields[@]} == 10 ]] || fail "the record has ${#fields[@]} fields, not ten"

time_pattern='^时间:([0-9]{4}-[0-9]{1,2}-[0-9]{1,2}) [0-9]{1,2}:[0-9]{2}:[0-9]{2}$'
[[ ${fields[0]} =~ $time_pattern ]] || fail "field 1 is not a cast time: ${fields[0]}"
[[ ${BASH_REMATCH[1]} == "$day_before" || ${BASH_REMATCH[1]} == "$day_after" ]] ||
    fail "the cast time ${fields[0]} is not today"
[[ ${fields[1]} == "姓名:$name" ]] || fail "field 2 is ${fields[1]}"
[[ ${fields[2]} == "占筮事由:$matter" ]] || fail "field 3 is ${fields[2]}"

# Number, lines and name of a hexagram must be one row of the hexagram table.
check_hexagram() {
    local what=$1 number=$2 lines=$3 hexagram_name=$4 row
    [[ $lines =~ ^[01]{6}$ ]] || fail "$what lines are $lines"
    row=$("$cli" hexagram "$lines" | head -n 1)
    [[ $row == "$number"$'\t'"$hexagram_name"$'\t'"$lines" ]] ||
        fail "$what is $number $hexagram_name $lines, the table says $row"
}
[[ ${fields[3]} == 卦序号:* && ${fields[4]} == 卦象:* && ${fields[5]} == 卦名:* ]] ||
    fail "fields 4 to 6 lack their labels"
primary_lines=${fields[4]#卦象:}
check_hexagram "the primary hexagram" "${fields[3]#卦序号:}" "$primary_lines" "${fields[5]#卦名:}"

if [[ ${fields[6]} == 未变爻 ]]; then
    [[ -z ${fields[7]}${fields[8]}${fields[9]} ]] || fail "a cast without changing lines names a resulting hexagram"
else
    [[ ${fields[6]} =~ ^变([1-6])爻$ ]] || fail "field 7 is ${fields[6]}"
    changing=${BASH_REMATCH[1]}
    check_hexagram "the resulting hexagram" "${fields[7]}" "${fields[8]}" "${fields[9]}"
    differing=0
    for ((i = 0; i < 6; ++i)); do
        if [[ ${primary_lines:i:1} != "${fields[8]:i:1}" ]]; then
            differing=$((differing + 1))
        fi
    done
    [[ $differing == "$changing" ]] || fail "${fields[6]} but $differing lines differ"
fi

# The program folder was writable, so nothing went to the per-user folder.
leftovers=$(find "$HOME" -name '*.kds' -o -name '*.kdf')
[[ -z $leftovers ]] || fail "files written to the per-user folder: $leftovers"
echo "PASS"
