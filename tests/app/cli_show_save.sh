#!/usr/bin/env bash
# Runs quillwork-cli on the bundled examples: show, save (byte for byte),
# the help texts and the failure statuses.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"

qw --version > "$work/version"
check "--version names the program and version" grep -qx 'QUILLWORK 1.0' "$work/version"
qw --help > "$work/help"
check "--help lists show and save" bash -c "grep -q '^  show ' '$work/help' && grep -q '^  save ' '$work/help'"
qw save --help > "$work/save-help"
check "save --help shows its usage" grep -q 'Usage: quillwork-cli save IN OUT' "$work/save-help"

qw show "$examples/dipole.qlk" > "$work/show.out" 2> "$work/show.err"
check "show exits 0" test $? -eq 0
check "show prints the wire echo" grep -qx -- '- W   10  0  0.000  -5.000  0.000  0.000  5.000  0.000  0.002' "$work/show.out"
check "show prints 16 lines (the model check last)" test "$(wc -l < "$work/show.out")" -eq 16
check "show writes no message" test ! -s "$work/show.err"

qw save "$examples/dipole.qlk" "$work/copy.qlk" > "$work/save.out" 2>&1
check "save exits 0 quietly" bash -c "test $? -eq 0 && test ! -s '$work/save.out'"
check "the example round-trips byte for byte" cmp -s "$examples/dipole.qlk" "$work/copy.qlk"

printf 'GW 1 9 0 0 -2.5 0 0 2.5 0.001\r\nS 1 5 1 0\r\n' > "$work/plain.qlk"
qw save "$work/plain.qlk" "$work/commented.qlk" --comment "from the CLI" 2> /dev/null
printf 'CM\r\nCM  QUILLWORK File\r\nCM  from the CLI\r\nCE\r\nGND Reference\r\n' > "$work/header"
check "--comment gives a header to a project without one" \
  cmp -s -n "$(stat -c %s "$work/header")" "$work/header" "$work/commented.qlk"

printf 'CM deck\r\nCE\r\nGW 1 9 0 0 -2.5 0 0 2.5 0.001\r\nGE\r\nEN\r\n' > "$work/deck.nec"
qw save "$work/deck.nec" "$work/out.nec" 2> "$work/nec.err"
check "a .nec target is written as .qlk" bash -c "test -f '$work/out.qlk' && test ! -e '$work/out.nec'"
check "a NEC radius becomes the diameter" grep -q '     0.002' "$work/out.qlk"
check "the .qlk note is on stderr" grep -q 'out.qlk' "$work/nec.err"

qw show "$work/missing.qlk" > /dev/null 2> "$work/missing.err"
check "an unreadable file exits 1" test $? -eq 1
check "and names the file" grep -q "missing.qlk" "$work/missing.err"
printf 'CM nothing\r\n' > "$work/empty.qlk"
qw show "$work/empty.qlk" > /dev/null 2> "$work/empty.err"
check "a file without wires exits 1" test $? -eq 1
check "with its message" grep -qx 'Bad File: No wires found' "$work/empty.err"
# A pipe or a device named as a project is refused at once, not read
# (a pipe would wait for a writer, a device might never end).
mkfifo "$work/pipe.qlk"
for f in "$work/pipe.qlk" /dev/zero; do
  timeout 10 "$cli" show "$f" --settings "$work/empty.ini" > /dev/null 2> "$work/pipe.err"
  status=$?
  check "$f as a project exits 1 at once" test "$status" -eq 1
  check "saying it cannot be read" grep -q 'it does not exist or cannot be read' "$work/pipe.err"
done
qw show > /dev/null 2>&1
check "a missing argument exits 1" test $? -eq 1
qw frobnicate > /dev/null 2>&1
check "an unknown command exits 1" test $? -eq 1

finish
