# Shared by the command-line tests: a temporary folder of the test's own,
# removed at the end, the program run on settings of the test's own (qw),
# and a check that counts what passed and failed.
#   cli=PROGRAM; source "$(dirname "$0")/lib/check.bash"; qw COMMAND ARGS...
#   check "what" COMMAND...; finish
testlib="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"  # this folder, for the other helpers
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# Every run of the program goes through qw, which has it read a settings
# file of the test's own (empty): a QUILLWORK.INI in the build folder or in
# the user's folders changes no result. A --settings among the arguments
# comes later and wins.   qw COMMAND ARGS...
: > "$work/empty.ini"
qw() {
  local command="$1"
  shift
  "$cli" "$command" --settings "$work/empty.ini" "$@"
}

check() {  # check DESCRIPTION COMMAND...
  local what="$1"; shift
  if "$@"; then echo "ok   $what"; passed=$((passed + 1)); else echo "FAIL $what"; failed=$((failed + 1)); fi
}

# The closing line, and the exit status of the test.
finish() {
  echo "$passed passed, $failed failed"
  test "$failed" -eq 0
}
