#!/usr/bin/env bash
# Writes every export kolma-batch makes of the shipped examples into OUT_DIR: each Data view at
# each precision as CSV and .xls, the inverse faces and both harmonics tables. Run it with two
# builds and compare the folders with bench/compare_exports.py.
# Usage: bench/write_exports.sh KOLMA_BATCH OUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
batch=$1
out=$2
mkdir -p "$out"
annual=$here/examples/annual-daily-10m.kol
four=$here/examples/four-thermometers.kol
for data in temperature mean linear nonlinear stress; do
  for precision in 3 5 e; do
    "$batch" direct "$annual" --data "$data" --precision "$precision" \
      --csv "$out/annual-$data-$precision.csv" --xls "$out/annual-$data-$precision.xls" 2> /dev/null
    "$batch" direct "$four" --faces inverse --accept-warnings --time-step 24 --data "$data" --precision "$precision" \
      --csv "$out/four-$data-$precision.csv" --xls "$out/four-$data-$precision.xls" 2> /dev/null
  done
done
"$batch" inverse "$four" --accept-warnings --csv "$out/four-inverse.csv" --xls "$out/four-inverse.xls" 2> /dev/null
"$batch" harmonics "$annual" --direct --csv "$out/annual-harmonics.csv" --xls "$out/annual-harmonics.xls" 2> /dev/null
"$batch" harmonics "$four" --inverse --accept-warnings --csv "$out/four-harmonics.csv" \
  --xls "$out/four-harmonics.xls" 2> /dev/null
