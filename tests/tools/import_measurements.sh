#!/usr/bin/env bash
# kolma-batch import-measurements: a logger file to a history file, a gap it refuses, and
# the choice of the column.
# Usage: import_measurements.sh KOLMA_BATCH REPO_ROOT
set -u
batch=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
status_of() { "$@" > "$work/out" 2> "$work/err"; echo $?; }

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

[ $failures = 0 ] && echo "all import-measurements checks passed"
exit $((failures > 0))
