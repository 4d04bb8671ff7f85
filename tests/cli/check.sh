# The checks of the command-line tests, sourced by each: check NAME CONDITION... counts a passed
# or failed condition; the script ends with the counts.
passed=0
failed=0
check() {
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}

# The tests on the example tables, called with VELTRUM EXAMPLES_DIR: the command (`veltrum`, made
# absolute), the examples (`examples`), a work folder removed at the end (`work`) holding drive C
# and the private folders (TMPDIR, to see that they go again); reports dated 07.12.2026 09:05 UTC.
table_test_setup() {
  veltrum=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  examples=$2
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export VELTRUM_DRIVE_C="$work/C"
  export SOURCE_DATE_EPOCH=1796634300
  export TMPDIR="$work/tmp"
  mkdir -p "$TMPDIR"
}
# Two reports alike but for the line naming the input file.
same_but_name() { cmp -s <(grep -av '^Eingabedatei ist ' "$1") <(grep -av '^Eingabedatei ist ' "$2"); }
