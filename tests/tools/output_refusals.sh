#!/usr/bin/env bash
# kolma-batch never writes over its own input, through a link or a pipe, and says why a
# write failed.
# Usage: output_refusals.sh KOLMA_BATCH REPO_ROOT
. "$(dirname "$0")/lib/prelude.sh" "$@"

cp "$examples/annual-daily-10m.kol" "$work/victim.kol"
ln -s victim.kol "$work/link.kol"
ln "$work/victim.kol" "$work/hard.kol"
printf 'hours,temperature\n0,1\n1,2\n2,3\n3,4\n' > "$work/logger.csv"
cp "$work/logger.csv" "$work/logger.orig"
mkfifo "$work/pipe.csv"
mkdir "$work/folder"

# Command line, then the start of the stderr line that must explain the refusal.
refused() {
  local expected=$1; shift
  timeout 20 "$batch" "$@" > /dev/null 2> "$work/err.txt"
  local status=$?
  [ $status -eq 2 ] || fail "$*: exit status $status"
  grep -qF -- "$expected" "$work/err.txt" || fail "$*: stderr $(cat "$work/err.txt")"
}
refused "it is the same file as the input" direct "$work/victim.kol" --csv "$work/victim.kol"
refused "it is the same file as the input" direct "$work/victim.kol" --xls "$work/link.kol"
refused "it is the same file as the input" harmonics "$work/victim.kol" --direct --csv "$work/hard.kol"
refused "it is the same file as the input" import-measurements "$work/logger.csv" "$work/logger.csv"
refused "not a regular file" direct "$work/victim.kol" --csv "$work/pipe.csv"
refused "it is a folder" direct "$work/victim.kol" --csv "$work/folder"
refused "named twice" direct "$work/victim.kol" --csv "$work/out.csv" --xls "$work/out.csv"
refused "the output file name is empty" resave "$work/victim.kol" ""
cmp -s "$examples/annual-daily-10m.kol" "$work/victim.kol" || fail "the project was changed"
cmp -s "$work/logger.orig" "$work/logger.csv" || fail "the logger file was changed"
[ -p "$work/pipe.csv" ] || fail "the pipe was replaced"
[ -e "$work/out.csv" ] && fail "an output was written although the run was refused"

# A write that fails says why after the file name.
"$batch" direct "$work/victim.kol" --csv "$work/missing/out.csv" > /dev/null 2> "$work/err.txt"
grep -qF "Cannot Create file $work/missing/out.csv: " "$work/err.txt" && grep -qi "no such file" "$work/err.txt" ||
  fail "write failure without its reason: $(cat "$work/err.txt")"

finish "output refusals: ok"
