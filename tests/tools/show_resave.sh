#!/usr/bin/env bash
# kolma-batch show and resave on the examples, and their refusal of a bad file.
# Usage: show_resave.sh KOLMA_BATCH REPO_ROOT
. "$(dirname "$0")/lib/prelude.sh" "$@"
expect_lines() {  # output file, then the lines it must hold
  local file=$1; shift
  for line in "$@"; do grep -qxF -- "$line" "$file" || fail "no line '$line' in $(basename "$file")"; done
}

"$batch" show "$examples/annual-daily-10m.kol" > "$work/annual.txt" 2> "$work/annual.err" || fail "show exit status"
[ -s "$work/annual.err" ] && fail "show wrote to stderr"
expect_lines "$work/annual.txt" "section.Xu=0" "section.Xd=10" "section.NbDivisions=10" "flags.section=1" \
  "flags.upstream=1" "upstream.count=8760" "upstream.timeStep=1" "downstream.count=8760" "thermometers.count=0" \
  "options.MinHarmonics=40" "nodes=0 0.5 1.25 2.25 3.5 5 6.5 7.75 8.75 9.5 10"

"$batch" show "$examples/four-thermometers.kol" > "$work/four.txt" || fail "show four-thermometers"
expect_lines "$work/four.txt" "flags.inversePair=1" "thermometers.count=4" "thermometer.1.title=T1" \
  "thermometer.4.position=11.2" "thermometer.4.timeStep=24" "inversePair.first=1" "inversePair.second=4"
grep -q '^upstream\.' "$work/four.txt" && fail "lines for an undefined face"

for name in annual-daily-10m four-thermometers; do
  "$batch" resave "$examples/$name.kol" "$work/$name.kol" || fail "resave $name exit status"
  cmp -s "$examples/$name.kol" "$work/$name.kol" || fail "resave $name changed the bytes"
done

# A bad file: exit 2, one line on stderr naming the file, no output file.
head -c 100 "$examples/annual-daily-10m.kol" > "$work/cut.kol"
for input in "$work/cut.kol" "$work/missing.kol"; do
  "$batch" resave "$input" "$work/out.kol" > "$work/out.txt" 2> "$work/err.txt"
  status=$?
  [ $status -eq 2 ] || fail "resave $input: exit status $status"
  [ "$(wc -l < "$work/err.txt")" -eq 1 ] && grep -qF "$input" "$work/err.txt" || fail "resave $input: stderr"
  [ -e "$work/out.kol" ] && fail "resave $input wrote an output file"
done

"$batch" --help | grep -q 'show' || fail "--help does not list show"
"$batch" frobnicate > "$work/unknown.out" 2> "$work/unknown.err"
[ $? -eq 2 ] && [ ! -s "$work/unknown.out" ] && grep -q usage "$work/unknown.err" || fail "unknown command"
"$batch" show > /dev/null 2>&1
[ $? -eq 2 ] || fail "show without a file: exit status"

finish "all checks passed"
