#!/usr/bin/env bash
# kolma-batch import-measurements: a logger file to a history file, a gap it refuses, the
# choice of the columns, the corpus of logger exports and the refusal of many bad readings.
# Usage: import_measurements.sh KOLMA_BATCH REPO_ROOT
. "$(dirname "$0")/lib/prelude.sh" "$@"

# Semicolons, decimal commas, CR LF, readings every 30 min with one of them unreadable.
printf 'Zeit;Luft;Wasser\r\n01.03.2026;x;x\r\n2026-03-01 00:00;1,0;5,0\r\n2026-03-01 00:30;2,0;6,0\r\n' > "$work/a.csv"
printf '2026-03-01 01:00;3,0;7,0\r\n2026-03-01 01:30;4,0;9,0\r\n' >> "$work/a.csv"
[ "$(status_of "$batch" import-measurements "$work/a.csv" "$work/a.txt")" = 2 ] || fail "two columns: no choice"
grep -q 'add --column N' "$work/err" || fail "no hint at --column: $(cat "$work/err")"
[ -e "$work/a.txt" ] && fail "a file was written without a column"

[ "$(status_of "$batch" import-measurements "$work/a.csv" "$work/a.txt" --column 3 --step 1)" = 0 ] || fail "--column 3"
grep -q 'line 2: unparsable' "$work/err" || fail "refused line not listed: $(cat "$work/err")"
[ "$(tr -d '\r' < "$work/a.txt" | tr '\n' ' ')" = "2 1E+0 5E+0 7E+0 " ] || fail "history: $(cat "$work/a.txt")"

# A 12 h gap: refused with its times at the default limit, bridged with a larger one.
printf 'hours,T\n0,10\n1,11\n13,23\n14,24\n' > "$work/g.csv"
[ "$(status_of "$batch" import-measurements "$work/g.csv" "$work/g.txt")" = 1 ] || fail "long gap status"
grep -q 'A gap of 12 h from 1 h to 13 h is longer than the limit of 6 h' "$work/err" || fail "gap message: $(cat "$work/err")"
[ -e "$work/g.txt" ] && fail "a file was written despite the gap"
"$batch" import-measurements "$work/g.csv" "$work/g.txt" --max-gap 12 2> /dev/null || fail "--max-gap 12"
[ "$(head -2 "$work/g.txt" | tr -d '\r' | tr '\n' ' ')" = "15 1E+0 " ] || fail "bridged history: $(cat "$work/g.txt")"

# Dates that do not tell the day/month order: refused until the order is given.
printf '01/03/2026 00:00,1\n01/03/2026 01:00,2\n' > "$work/o.csv"
[ "$(status_of "$batch" import-measurements "$work/o.csv" "$work/o.txt")" = 2 ] || fail "ambiguous order accepted"
grep -q 'add --day-first or --month-first' "$work/err" || fail "no hint at the order options"
"$batch" import-measurements "$work/o.csv" "$work/o.txt" --month-first 2> "$work/err" || fail "--month-first"
grep -q 'from 2026-01-03 00:00' "$work/err" || fail "month first not read: $(cat "$work/err")"

[ "$(status_of "$batch" import-measurements "$work/none.csv" "$work/n.txt")" = 2 ] || fail "missing input status"
grep -q "^kolma-batch: .*none.csv: " "$work/err" || fail "missing input message"

# The corpus of logger exports: each gives the history beside it and says its note.
corpus=$2/tests/core/analysis/logger_exports
count=0
while IFS='|' read -r file options note; do
  case $file in '' | '#'*) continue ;; esac
  count=$((count + 1))
  # shellcheck disable=SC2086
  if ! "$batch" import-measurements "$corpus/$file" "$work/c.txt" $options 2> "$work/err"; then
    fail "$file: $(cat "$work/err")"
    continue
  fi
  [ -z "$note" ] || grep -qF -- "$note" "$work/err" || fail "$file: no '$note' in: $(cat "$work/err")"
  tr -d '\r' < "$work/c.txt" > "$work/got"
  tr -d '\r' < "$corpus/${file%.*}.expected.txt" > "$work/want"
  [ "$(wc -l < "$work/got")" = "$(wc -l < "$work/want")" ] && [ "$(head -1 "$work/got")" = "$(head -1 "$work/want")" ] ||
    fail "$file: $(head -1 "$work/got") samples, not $(head -1 "$work/want")"
  paste "$work/got" "$work/want" | awk '{ d = $1 - $2; if (d < 0) d = -d; if (d > 1e-5) bad = 1 } END { exit bad }' ||
    fail "$file: history differs: $(paste "$work/got" "$work/want" | tr '\n' ' ')"
done < "$corpus/manifest.txt"
[ $count -ge 8 ] || fail "only $count exports in the corpus"

# More than a tenth of the readings refused: nothing written unless accepted.
printf 'h,T\n0,1\n1,x\n2,3\n3,y\n4,5\n' > "$work/m.csv"
[ "$(status_of "$batch" import-measurements "$work/m.csv" "$work/m.txt")" = 1 ] || fail "many refused: status"
grep -q '2 of the 5 readings were refused.*--accept-warnings' "$work/err" || fail "many refused: $(cat "$work/err")"
[ -e "$work/m.txt" ] && fail "a file was written with many readings refused"
[ "$(status_of "$batch" import-measurements "$work/m.csv" "$work/m.txt" --accept-warnings)" = 0 ] ||
  fail "--accept-warnings: $(cat "$work/err")"
[ "$(head -2 "$work/m.txt" | tr -d '\r' | tr '\n' ' ')" = "3 2E+0 " ] || fail "accepted history: $(cat "$work/m.txt")"

# The time column named: a counter instead of the hours found, counting columns from 1.
printf 'Nr;T;Stunden\n1;12,5;0\n2;11,5;0,5\n3;13,5;1\n4;12,0;1,5\n' > "$work/t.csv"
"$batch" import-measurements "$work/t.csv" "$work/t.txt" --column 2 2> /dev/null || fail "hours found"
[ "$(sed -n 2p "$work/t.txt" | tr -d '\r')" = "5E-1" ] || fail "hours not found: $(cat "$work/t.txt")"
"$batch" import-measurements "$work/t.csv" "$work/t.txt" --time-column 1 --column 2 2> /dev/null || fail "--time-column 1"
[ "$(head -3 "$work/t.txt" | tr -d '\r' | tr '\n' ' ')" = "4 1E+0 1.25E+1 " ] || fail "--time-column 1: $(cat "$work/t.txt")"
[ "$(status_of "$batch" import-measurements "$work/t.csv" "$work/t.txt" --time-column 9)" = 2 ] || fail "--time-column 9"

# A zone stated: the repeated autumn hour is then duplicates, listed, and too many to pass.
[ "$(status_of "$batch" import-measurements "$corpus/autumn_local.csv" "$work/z.txt" --utc-offset 1)" = 1 ] ||
  fail "--utc-offset 1: $(cat "$work/err")"
grep -q 'line 11: duplicate time' "$work/err" || fail "duplicates not listed: $(cat "$work/err")"
[ "$(status_of "$batch" import-measurements "$work/m.csv" "$work/z.txt" --utc-offset 15)" = 2 ] || fail "--utc-offset 15"

finish "all import-measurements checks passed"
