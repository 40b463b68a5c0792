#!/usr/bin/env bash
# Times kolma-batch on long records, as whole processes: the ten-year case (ten years of
# hourly faces, 50 divisions, 10 thermometers, the stress spreadsheet as CSV) and a year of
# hourly faces at the largest MinHarmonics. Prints the median wall time, the median processor
# time (user + system: less sensitive to other work on the machine) and the median peak memory
# of RUNS runs of each.
# Usage: bench/time_batch.sh BUILD_DIR [RUNS]   (needs /usr/bin/time: apt-get install time)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/release}" && pwd)
runs=${2:-7}
batch=$build/tools/kolma-batch
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

c++ -std=c++20 -O2 -I"$here" "$here/bench/tools/make_long_project.cpp" "$build/core/libkolma_core.a" \
  -o "$work/make_long_project"
"$work/make_long_project" "$work/decade.kol" 10 50 40
"$work/make_long_project" "$work/year.kol" 1 50 4379

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# time_case NAME ARGS...: RUNS runs, then "NAME: median s, median MB peak".
time_case() {
  local name=$1; shift
  : > "$work/seconds"; : > "$work/kbytes"; : > "$work/cpu"
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%M %U %S' -o "$work/time" "$batch" "$@" 2> "$work/stderr" > /dev/null \
      || { cat "$work/stderr"; exit 1; }
    end=$(date +%s%N)
    seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
    read -r kbytes user system < "$work/time"
    echo "$user $system" | awk '{ printf "%.2f\n", $1 + $2 }' >> "$work/cpu"
    echo "$seconds" >> "$work/seconds"
    echo "$kbytes" >> "$work/kbytes"
  done
  printf '%s: %s s wall, %s s processor, %s MB peak (median of %d); %s\n' "$name" \
    "$(median < "$work/seconds")" "$(median < "$work/cpu")" \
    "$(median < "$work/kbytes" | awk '{ printf "%.1f", $1 / 1024 }')" "$runs" \
    "$(grep -m1 'analysis:' "$work/stderr" || true)"
}

time_case "ten years, stress, CSV" direct "$work/decade.kol" --data stress --time-step 1 --csv "$work/decade.csv"
time_case "one year, MinHarmonics 4379, CSV" direct "$work/year.kol" --time-step 1 --csv "$work/year.csv"
