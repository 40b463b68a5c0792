#!/usr/bin/env bash
# The committed example files are exactly what kolma-batch make-examples produces.
# Usage: examples_current.sh KOLMA_BATCH REPO_ROOT
set -u
batch=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$batch" make-examples "$work" || { echo "FAIL: make-examples"; exit 1; }
failures=0
for made in "$work"/*; do
  name=$(basename "$made")
  if ! cmp -s "$made" "$root/examples/$name"; then
    echo "FAIL: examples/$name differs from a fresh build (run: kolma-batch make-examples examples)"
    failures=$((failures + 1))
  fi
done
for committed in "$root"/examples/*.kol "$root"/examples/*.txt; do
  [ -e "$work/$(basename "$committed")" ] || { echo "FAIL: $committed is not made by make-examples"; failures=$((failures + 1)); }
done
[ $failures -eq 0 ] && echo "examples are current"
exit $((failures > 0))
