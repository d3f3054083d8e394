# Shared by the command-line tests: a temporary folder of the test's own,
# removed at the end, and a check that counts what passed and failed.
#   source "$(dirname "$0")/lib/check.bash"; check "what" COMMAND...; finish
testlib="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"  # this folder, for the other helpers
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {  # check DESCRIPTION COMMAND...
  local what="$1"; shift
  if "$@"; then echo "ok   $what"; passed=$((passed + 1)); else echo "FAIL $what"; failed=$((failed + 1)); fi
}

# The closing line, and the exit status of the test.
finish() {
  echo "$passed passed, $failed failed"
  test "$failed" -eq 0
}
