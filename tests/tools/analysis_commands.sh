#!/usr/bin/env bash
# kolma-batch direct, inverse and harmonics on the examples: the tables they write, and
# what happens on warnings and on bad input.
# Usage: analysis_commands.sh KOLMA_BATCH REPO_ROOT
. "$(dirname "$0")/lib/prelude.sh" "$@"

# A year of hourly faces at the default step: one row per hour, one column per node.
[ "$(status_of "$batch" direct "$examples/annual-daily-10m.kol" --csv "$work/d.csv")" = 0 ] || fail "direct status"
[ "$(wc -l < "$work/d.csv")" = 8762 ] || fail "direct rows: $(wc -l < "$work/d.csv")"
head -1 "$work/d.csv" | grep -q '^Time,X =  0.00000,' || fail "direct header"
sed -n 3p "$work/d.csv" | grep -q $'^   0,' || fail "first step at time 0"
grep -q '8760 steps of 1 h, 11 points' "$work/err" || fail "work size on stderr"
grep -qE '; [0-9.]+ s$' "$work/err" || fail "seconds on stderr"
tr -d '\r' < "$work/d.csv" | awk -F, 'NR > 2 && NF != 12 { bad = 1 } END { exit bad }' || fail "direct columns"

# Daily steps and another quantity.
"$batch" direct "$examples/annual-daily-10m.kol" --time-step 24 --data nonlinear --precision e \
  --csv "$work/n.csv" 2> /dev/null || fail "nonlinear status"
[ "$(wc -l < "$work/n.csv")" = 367 ] || fail "daily rows"
sed -n 3p "$work/n.csv" | grep -qE ',-?[0-9]\.[0-9]+e[-+][0-9]+' || fail "exponent precision"

# The inverse analysis of the example discards short periods: a warning, status 1, no file...
[ "$(status_of "$batch" inverse "$examples/four-thermometers.kol" --csv "$work/i.csv")" = 1 ] || fail "warning status"
grep -q '^Warning: Numerical problem: Periods lower than' "$work/err" || fail "warning text"
grep -qx 'kolma-batch: nothing written; --accept-warnings writes the table of this run anyway' "$work/err" \
  || fail "no hint at --accept-warnings"
[ -e "$work/i.csv" ] && fail "a file was written despite the warning"
# ...unless the warnings are accepted.
"$batch" inverse "$examples/four-thermometers.kol" --accept-warnings --csv "$work/i.csv" 2> /dev/null || fail "inverse"
[ "$(head -1 "$work/i.csv" | tr -d '\r')" = "Time,Upstream face,Downstream face" ] || fail "inverse header"
[ "$(wc -l < "$work/i.csv")" = 367 ] || fail "inverse rows"

"$batch" harmonics "$examples/annual-daily-10m.kol" --direct --csv "$work/h.csv" 2> /dev/null || fail "harmonics"
grep -q "^1,Infinite," "$work/h.csv" || fail "the mean first in the direct harmonics table"
"$batch" direct "$examples/four-thermometers.kol" --faces inverse --accept-warnings --csv "$work/f.csv" 2> /dev/null \
  || fail "direct from inverse faces"

# Faces of two grids over the same year are analysed together, and the run says so: the
# downstream face kept at every second hour (its count and step are the file's bytes 70181-70192).
/usr/bin/python3 - "$examples/annual-daily-10m.kol" "$work/grids.kol" <<'PY'
import struct, sys
b = open(sys.argv[1], "rb").read()
values = b[70193:70193 + 8760 * 8]
coarse = b"".join(values[i:i + 8] for i in range(0, len(values), 16))
open(sys.argv[2], "wb").write(b[:70181] + struct.pack("<id", 4380, 2.0) + coarse + b[70193 + 8760 * 8:])
PY
[ "$(status_of "$batch" direct "$work/grids.kol" --csv "$work/g.csv")" = 0 ] || fail "two grids: $(cat "$work/err")"
grep -qx 'kolma-batch: note: Downstream face re-sampled from 4380 samples every 2 h to 8760 .*' "$work/err" \
  || fail "two grids: no note: $(cat "$work/err")"

# The same tables as Excel workbooks, read back by an independent reader.
"$batch" harmonics "$examples/four-thermometers.kol" --inverse --accept-warnings --xls "$work/h.xls" \
  --csv "$work/h2.csv" 2> /dev/null || fail "harmonics --xls"
/usr/bin/python3 - "$work/h.xls" "$work/h2.csv" <<'PY' || fail "workbook differs from the CSV table"
import csv, sys, xlrd
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
rows = list(csv.reader(open(sys.argv[2], encoding="utf-8", newline="")))
assert sheet.nrows == len(rows), (sheet.nrows, len(rows))
for r, row in enumerate(rows):
    for c, text in enumerate(row):
        value = sheet.cell_value(r, c) if c < sheet.ncols else ""
        if isinstance(value, float):
            assert abs(value - float(text)) <= 1e-9 * max(1.0, abs(value)), (r, c, value, text)
        else:
            assert value == text, (r, c, value, text)
assert "(°C)" in sheet.row_values(2)
PY
[ "$(status_of "$batch" inverse "$examples/four-thermometers.kol" --accept-warnings --xls /nonexistent/x.xls)" = 2 ] \
  || fail "unwritable workbook"
grep -q '/nonexistent/x.xls' "$work/err" || fail "the unwritable workbook is named"

# A refused analysis: the section has no face histories.
[ "$(status_of "$batch" direct "$examples/four-thermometers.kol" --csv "$work/r.csv")" = 1 ] || fail "refusal status"
[ -e "$work/r.csv" ] && fail "a file was written for a refused analysis"

# Inputs the analyses refuse, each named in the warning: status 1, no file. (The example is
# plane strain; Poisson's ratio 0.5 leaves it without a finite stress.)
patched() {  # source example, offset, bytes as printf escapes: prints the patched copy's path
  local copy=$work/patched-$2.kol
  cp "$examples/$1" "$copy" && printf "$3" | dd of="$copy" bs=1 seek="$2" conv=notrunc 2> /dev/null
  echo "$copy"
}
while IFS='|' read -r command project option warning; do
  [ "$(status_of "$batch" $command "$project" $option --csv "$work/x.csv")" = 1 ] || fail "$warning: status"
  grep -qxF "Warning: $warning" "$work/err" || fail "$warning: $(cat "$work/err")"
  [ -e "$work/x.csv" ] && fail "$warning: a file was written"
done <<EOF_CASES
inverse|$(patched four-thermometers.kol 19 '\0')||Two Inside Temperatures must be selected for the inverse analysis. Analysis is cancelled
direct|$(patched annual-daily-10m.kol 16 '\0')||The section must be defined before a direct analysis. Analysis aborted.
inverse|$(patched four-thermometers.kol 194 '\0\0\0\0\0\0\370\177')||Thermometer 1 "T1", sample 1, is not a number
direct|$(patched annual-daily-10m.kol 72 '\0\0\0\0\0\0\340\77')|--data stress|Plane strain with Poisson's ratio 0.5 has no finite thermal stress
direct|$examples/annual-daily-10m.kol|--time-step 1e-9|The results would hold 11 x 8760000000000 values (717937.9 GB), more than the 1 GB an analysis may take
EOF_CASES

# Bad input: status 2, one line, no file.
printf 'not a project' > "$work/bad.kol"
[ "$(status_of "$batch" direct "$work/bad.kol" --csv "$work/b.csv")" = 2 ] || fail "bad file status"
[ "$(wc -l < "$work/err")" = 1 ] || fail "one line for a bad file"
[ -e "$work/b.csv" ] && fail "output for a bad file"
[ "$(status_of "$batch" direct "$examples/annual-daily-10m.kol" --time-step -1 --csv "$work/t.csv")" = 2 ] \
  || fail "negative time step"
[ "$(status_of "$batch" harmonics "$examples/annual-daily-10m.kol" --csv "$work/t.csv")" = 2 ] || fail "no --direct"
[ "$(status_of "$batch" direct "$examples/annual-daily-10m.kol")" = 2 ] || fail "no output named"

# The export streams from the numbers, and the field is summed as it is written: a table of
# 876,000 steps (77 MB of results, several times that as text) is written within a 60 MB
# address space. (A sanitizer build reserves far more address space than the limit allows.)
if ! ldd "$batch" 2> /dev/null | grep -q 'lib[at]san'; then
  status=$( (ulimit -v 60000; "$batch" direct "$examples/annual-daily-10m.kol" --time-step 0.01 \
    --csv "$work/m.csv" > "$work/out" 2> "$work/err"; echo $?) 2> /dev/null )
  [ "$status" = 0 ] || fail "long table within 60 MB: exit status $status: $(cat "$work/err")"
  [ "$(wc -l < "$work/m.csv")" = 876002 ] || fail "long table within 60 MB: rows"
  # Results that must be kept whole, beyond the memory left: a message, no abort, no file.
  status=$( (ulimit -v 60000; "$batch" harmonics "$examples/annual-daily-10m.kol" --direct --time-step 0.01 \
    --csv "$work/mem.csv" > "$work/out" 2> "$work/err"; echo $?) 2> /dev/null )
  [ "$status" = 1 ] || fail "results beyond the memory: exit status $status"
  grep -q 'not enough memory' "$work/err" || fail "results beyond the memory: message"
  [ -e "$work/mem.csv" ] && fail "a file was written for results beyond the memory"
fi

finish "analysis commands: all checks passed"
