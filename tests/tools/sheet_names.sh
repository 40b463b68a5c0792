#!/usr/bin/env bash
# The workbook of kolma-batch direct names what it holds on its sheet tab: the quantity and
# its unit, within the 31 characters a sheet name may have. The CSV of the same run keeps its
# rows and columns.
# Usage: sheet_names.sh KOLMA_BATCH REPO_ROOT
. "$(dirname "$0")/lib/prelude.sh" "$@"
sheet_of() { /usr/bin/python3 -c 'import sys, xlrd; print(xlrd.open_workbook(sys.argv[1]).sheet_names()[0])' "$1"; }

while IFS='|' read -r data expected; do
  "$batch" direct "$examples/annual-daily-10m.kol" --time-step 24 --data "$data" \
    --xls "$work/$data.xls" --csv "$work/$data.csv" 2> /dev/null || { fail "$data: status"; continue; }
  sheet=$(sheet_of "$work/$data.xls") || { fail "$data: workbook unreadable"; continue; }
  [ "$sheet" = "$expected" ] || fail "$data: sheet '$sheet', expected '$expected'"
  [ "${#sheet}" -le 31 ] || fail "$data: sheet name longer than 31 characters"
  head -1 "$work/$data.csv" | grep -q '^Time,X =  0.00000,' || fail "$data: CSV header changed"
done <<'TABLE'
stress|Stresses (MPa)
temperature|Temperatures (°C)
nonlinear|Nonlinear temperatures Tn (°C)
TABLE

finish "sheet names say what the workbooks hold"
