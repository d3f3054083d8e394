#!/usr/bin/env bash
# quillwork-cli --large: projects and NEC decks of more than 50 wires and
# 300 pulses are read and computed with it (or with the settings key), and
# refused with the usual messages without it.
set -u
cli="$1"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"

# 60 parallel wires of 6 segments (5 pulses each, 300 pulses), as a
# project file and as a NEC deck.
awk 'BEGIN {
  printf "CM sixty wires\r\nCE\r\nFREE\r\nUNITS Meters\r\nF 144\r\n"
  for (w = 1; w <= 60; ++w) printf "GW %d 6 %.2f 0 -0.5 %.2f 0 0.5 0.002\r\n", w, 0.3 * w, 0.3 * w
  printf "S 1 3 1 0\r\nCOAX 50\r\n"
}' > "$work/sixty.qlk"
awk 'BEGIN {
  printf "CM sixty wires\r\nCE\r\n"
  for (w = 1; w <= 60; ++w) printf "GW %d 6 %.2f 0 -0.5 %.2f 0 0.5 0.001\r\n", w, 0.3 * w, 0.3 * w
  printf "GE 0\r\nEX 0 1 3 0 1 0\r\nFR 0 1 0 0 144 0\r\nEN\r\n"
}' > "$work/sixty.nec"

qw compute "$work/sixty.qlk" > "$work/out" 2> "$work/err"
check "60 wires without --large exit 1" test $? -eq 1
check "with Too many Wires" grep -q 'Too many Wires' "$work/err"
qw show "$work/sixty.nec" > /dev/null 2> "$work/err"
check "a deck of 60 wires without --large is refused" grep -q 'This NEC deck has 60 wires; the program takes at most 50.' "$work/err"

qw compute --large "$work/sixty.qlk" > "$work/out" 2> "$work/err"
check "with --large the project computes" test $? -eq 0
check "and reports its impedance" grep -q '^  IMPEDANCE  =  .* Ohms at Source 1$' "$work/out"
printf '[DEFAULTS]\r\nLarge models=-1\r\n' > "$work/large.ini"
"$cli" compute --settings "$work/large.ini" "$work/sixty.qlk" > "$work/out2" 2> /dev/null
check "the settings key does the same, with the same report" cmp -s "$work/out" "$work/out2"

qw compute --large "$work/sixty.nec" > "$work/nec.out" 2> "$work/err"
check "the deck computes with --large" grep -q 'IMPEDANCE' "$work/nec.out"
qw compute --source 301 "$work/sixty.nec" --large > /dev/null 2> "$work/err"
check "--source takes pulses beyond 300 with --large" bash -c "! grep -q 'with a pulse from 1 to' '$work/err'"
qw compute --source 301 "$2/dipole.qlk" > /dev/null 2> "$work/err"
check "--source beyond 300 without --large names the limit" grep -q 'with a pulse from 1 to 300' "$work/err"

"$cli" --help > "$work/help"
check "--help names --large" grep -q -- '--large' "$work/help"
"$cli" compute --help > "$work/chelp"
check "compute --help names --large" grep -q -- '--large' "$work/chelp"
finish
