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
