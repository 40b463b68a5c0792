# What every kolma-batch test script starts with; sourced as
#   . "$(dirname "$0")/lib/prelude.sh" "$@"      (arguments: KOLMA_BATCH REPO_ROOT)
# It gives: batch, root, examples, a scratch folder work (removed on exit), a failure count
# with fail MESSAGE, status_of COMMAND... (stdout to $work/out, stderr to $work/err; prints the
# exit status) and finish SUMMARY (prints the count or the summary and exits accordingly).
set -u
batch=$1
root=$2
examples=$root/examples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
status_of() { "$@" > "$work/out" 2> "$work/err"; echo $?; }
finish() {
  if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
  echo "$1"
  exit 0
}
