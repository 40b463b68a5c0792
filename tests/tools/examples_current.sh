#!/usr/bin/env bash
# The committed example files are exactly what kolma-batch make-examples produces.
# Usage: examples_current.sh KOLMA_BATCH REPO_ROOT
. "$(dirname "$0")/lib/prelude.sh" "$@"
"$batch" make-examples "$work" || { echo "FAIL: make-examples"; exit 1; }
for made in "$work"/*; do
  name=$(basename "$made")
  if ! cmp -s "$made" "$root/examples/$name"; then
    fail "examples/$name differs from a fresh build (run: kolma-batch make-examples examples)"
  fi
done
for committed in "$root"/examples/*.kol "$root"/examples/*.txt; do
  [ -e "$work/$(basename "$committed")" ] || fail "$committed is not made by make-examples"
done
finish "examples are current"
