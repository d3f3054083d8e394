#!/usr/bin/env bash
# quillwork-cli compute: every example computes, the options stand in for
# the dialogs, and failures exit 1 with their message.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"

for f in "$examples"/*.qlk; do
  qw compute --yes "$f" > "$work/out" 2> "$work/err"
  check "$(basename "$f") computes" test $? -eq 0
  check "$(basename "$f") reports an impedance" grep -q '^  IMPEDANCE  =  .* Ohms at Source 1$' "$work/out"
done

qw compute "$examples/dipole.qlk" > "$work/dipole.out"
check "the report starts with the project name" bash -c "head -1 '$work/dipole.out' | grep -qx 'DIPOLE.QLK'"
check "the file's echo is not printed" bash -c "! grep -q '^GW' '$work/dipole.out'"

qw compute "$examples/vertical.qlk" > /dev/null 2> "$work/vertical.err"
check "height 0 over ground without --yes exits 1" test $? -eq 1
check "after the zero-height question" grep -q '^Warning: Unless your antenna is a Ground plane' "$work/vertical.err"

qw compute --json "$examples/dipole.qlk" > "$work/dipole.json"
check "--json prints one object" bash -c "test \$(wc -l < '$work/dipole.json') -eq 1"
check "--json has the keys" grep -q '^{"frequency": 14.2, "coax_impedance": 50, "pulses": 9, "sources": \[{"number": 1, "pulse": 5, "impedance": {"r": .*"swr": .*"voltage": {"re": 1, "im": 0}, "current": {"re": .*"power": .*}\], "total_power": .*}$' "$work/dipole.json"

printf 'CM NEC deck\r\nCE\r\nGW 1 21 0 0 -0.24 0 0 0.24 0.001\r\nGE 0\r\nEX 0 1 11 0 1 0\r\nEN\r\n' > "$work/nofr.nec"
qw compute --yes "$work/nofr.nec" > /dev/null 2> "$work/nec.err"
check "a NEC deck without FR or --frequency exits 1" test $? -eq 1
check "saying the frequency is missing" grep -q 'no frequency was given' "$work/nec.err"
printf 'CM NEC deck\r\nCE\r\nGW 1 21 0 0 -0.24 0 0 0.24 0.001\r\nGE 0\r\nEX 0 1 11 0 1 0\r\nFR 0 1 0 0 299.8 0\r\nEN\r\n' > "$work/dipole.nec"
qw compute "$work/dipole.nec" --frequency 299.8 --ground free --source 10 > "$work/nec.out" 2>&1
check "a NEC deck computes with --frequency, --ground and --source" grep -qx '  IMPEDANCE  =  73.03 +  j 3.54 Ohms at Source 1' "$work/nec.out"
qw compute "$examples/dipole.qlk" --source 99 > /dev/null 2> "$work/src.err"
check "--source beyond the last pulse exits 1" bash -c "test $? -eq 1 && grep -q 'no pulse 99' '$work/src.err'"
qw compute "$examples/dipole.qlk" --frequency 0.05 > /dev/null 2> "$work/low.err"
check "a frequency of 0.1 MHz or less exits 1" bash -c "test $? -eq 1 && grep -q 'Frequency is Zero or too low' '$work/low.err'"
qw compute "$examples/dipole.qlk" --ground 13 > /dev/null 2>&1
check "a malformed --ground exits 1" test $? -eq 1

# Options that change the ground or the height rebuild the pulses: a deck
# read over ground and computed with --ground free is the free-space
# antenna, and a deck computed with --height is the deck raised by it.
printf 'CM\r\nCE\r\nGW 1 21 0 0 0 0 0 10.6 0.001\r\nGE 1\r\nEN\r\n' > "$work/touching.nec"
printf 'CM\r\nCE\r\nFree Space\r\nF 14.2\r\nGW 1 21 0 0 0 0 0 10.6 0.002\r\nS 1 11 1 0\r\n' > "$work/free.qlk"
printf 'CM\r\nCE\r\nGW 1 21 0 0 5 0 0 15.6 0.001\r\nGE 1\r\nEN\r\n' > "$work/raised.nec"
impedance() { qw compute --yes "$@" 2>/dev/null | grep '^  IMPEDANCE'; }
free_deck=$(impedance "$work/touching.nec" --frequency 14.2 --ground free --source 11)
check "--ground free rebuilds the pulses of a deck read over ground" \
  test "$free_deck" = "$(impedance "$work/free.qlk")" -a -n "$free_deck"
qw compute --yes --json "$work/touching.nec" --frequency 14.2 --ground free --source 11 > "$work/free.json"
check "--ground free: no pulse at the ground" grep -q '"pulses": 20,' "$work/free.json"
raised=$(impedance "$work/touching.nec" --frequency 14.2 --ground perfect --height 5 --source 11)
check "--height rebuilds the pulses at the new height" \
  test "$raised" = "$(impedance "$work/raised.nec" --frequency 14.2 --ground perfect --source 11)" -a -n "$raised"

# --debug: the debug file of the Debug command, written where it says.
qw compute "$examples/dipole.qlk" --debug "$work/steps.dbg" > /dev/null
check "--debug writes the solver's steps, CR LF ended" bash -c \
  "printf 'Begin Matrix Fill\r\n' | cmp -s - <(head -1 '$work/steps.dbg') && tail -1 '$work/steps.dbg' | cmp -s - <(printf 'End Factorize. Solving\r\n')"
qw compute "$examples/dipole.qlk" --debug "$work/none/steps.dbg" > "$work/nodbg.out" 2> "$work/nodbg.err"
check "an unwritable --debug exits 1 before computing" bash -c "test $? -eq 1 && test ! -s '$work/nodbg.out'"
check "saying which file" grep -qx "Debug: The debug file $work/none/steps.dbg could not be opened for writing." "$work/nodbg.err"
printf 'FREE\r\nF 28\r\nGW 1 9 0 -2.5 0 0 2.5 0 0.002\r\nGW 2 9 1 -2.5 0 1 2.5 1e99 0.002\r\nS 1 5 1 0\r\n' > "$work/overflow.qlk"
qw compute "$work/overflow.qlk" --debug "$work/read.dbg" > /dev/null 2> "$work/read.err"
check "the debug file is on while the file is read" grep -q $'^In ReadGeometry File parsing stopped at: 1e99\r$' "$work/read.dbg"
check "and the message names the token" grep -qx 'Geometry Error: File parsing stopped at: 1e99' "$work/read.err"
qw compute --help > "$work/compute.help"
check "compute --help names --debug" grep -q -- '--debug PATH' "$work/compute.help"

finish
