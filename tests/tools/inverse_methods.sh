#!/usr/bin/env bash
# kolma-batch inverse: --thermometers, --report, and records with a jump.
# Usage: inverse_methods.sh KOLMA_BATCH REPO_ROOT
. "$(dirname "$0")/lib/prelude.sh" "$@"
project=$examples/four-thermometers.kol

# The report: one line per face, on stdout, in a fixed form.
[ "$(status_of "$batch" inverse "$project" --thermometers all --report --accept-warnings)" = 0 ] || fail "report status"
[ "$(wc -l < "$work/out")" = 2 ] || fail "two report lines: $(cat "$work/out")"
grep -qE '^upstream: expected error [0-9]+\.[0-9]+ °C rms; periods shorter than [0-9]+ h not recovered$' "$work/out" \
  || fail "upstream line: $(cat "$work/out")"
grep -qE '^downstream: expected error [0-9]+\.[0-9]+ °C rms; periods shorter than [0-9]+ h not recovered$' "$work/out" \
  || fail "downstream line"
# The two methods differ, and the project's own choice is the pair.
"$batch" inverse "$project" --thermometers all --accept-warnings --csv "$work/all.csv" 2> /dev/null || fail "all"
"$batch" inverse "$project" --thermometers pair --accept-warnings --csv "$work/pair.csv" 2> /dev/null || fail "pair"
"$batch" inverse "$project" --accept-warnings --csv "$work/own.csv" 2> /dev/null || fail "own choice"
cmp -s "$work/pair.csv" "$work/own.csv" || fail "the project's choice is not the pair"
cmp -s "$work/pair.csv" "$work/all.csv" && fail "least squares gave the pair's faces"
[ "$(status_of "$batch" inverse "$project" --thermometers some --csv "$work/x.csv")" = 2 ] || fail "bad method"

# A thermometer replaced during the year: its record jumps by 5 °C from sample 200 on.
python3 - "$project" "$work/jump.kol" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
first = 194  # sample 1 of thermometer 1
for j in range(199, 365):
    at = first + 8 * j
    data[at:at + 8] = struct.pack('<d', struct.unpack('<d', data[at:at + 8])[0] + 5.0)
open(sys.argv[2], 'wb').write(data)
PY
[ "$(status_of "$batch" inverse "$work/jump.kol" --csv "$work/j.csv")" = 1 ] || fail "jump status"
grep -q '^Warning: Thermometer 1 "T1" jumps by 5.0 °C at hour 4776$' "$work/err" || fail "jump named: $(cat "$work/err")"
[ -e "$work/j.csv" ] && fail "a file was written past a jump"
"$batch" inverse "$work/jump.kol" --accept-warnings --csv "$work/j.csv" 2> /dev/null || fail "accepted jump"

finish "inverse method checks passed"
