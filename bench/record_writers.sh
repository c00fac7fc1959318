#!/bin/sh
# Several processes writing one record file at once, as the program and
# ravezaz-cli may: prints how many records each run leaves and whether every
# line is a whole record.
#
#   bench/record_writers.sh [CLI] [APPENDS_PER_WRITER] [DELETES]
#
# 1. Two writers append APPENDS_PER_WRITER casts each (default 500) to an
#    empty file: exactly 2 x APPENDS_PER_WRITER whole records must result.
# 2. One writer appends 60 casts while another deletes record 1 DELETES times
#    (default 60) from a file seeded with DELETES + 10 records: all 60
#    appended records must survive and exactly 10 seed records remain.
set -eu
cli=${1:-build/ravezaz-cli}
appends=${2:-500}
deletes=${3:-60}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

append() { # file count matter
    i=0
    while [ "$i" -lt "$2" ]; do
        "$cli" cast --matter "$3" --record "$1" >/dev/null
        i=$((i + 1))
    done
}

# Lines that are not ten quoted fields.
broken() {
    "$cli" records "$1" list 1 1000000 | grep -cvE '^ №<[0-9]+>("[^"]*",){9}"[^"]*"$' || true
}

file=$folder/parallel.kdf
append "$file" "$appends" 甲 & first=$!
append "$file" "$appends" 乙 & second=$!
wait "$first" "$second"
echo "parallel appends: $("$cli" records "$file" count) records of $((2 * appends)), $(broken "$file") broken lines"

file=$folder/deletes.kdf
append "$file" $((deletes + 10)) 旧
append "$file" 60 新 & appender=$!
i=0
while [ "$i" -lt "$deletes" ]; do
    "$cli" records "$file" delete 1 >/dev/null
    i=$((i + 1))
done
wait "$appender"
new=$("$cli" records "$file" list 1 1000000 | grep -c '"占筮事由:新"' || true)
old=$("$cli" records "$file" list 1 1000000 | grep -c '"占筮事由:旧"' || true)
echo "appends during deletes: $new of 60 appended records kept, $old of 10 seed records left, $(broken "$file") broken lines"
