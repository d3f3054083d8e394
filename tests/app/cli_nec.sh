#!/usr/bin/env bash
# NEC decks on the command line: a deck read whole, export-nec run through
# nec2c (when it is installed) against our own impedance, check, and the
# exit status of decks and projects that are refused.
set -u
cli="$1"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
data="$(cd "$(dirname "${BASH_SOURCE[0]}")/../data/nec" && pwd)"

qw show "$data/yagi3.nec" > "$work/show.out" 2> "$work/show.err"
check "a deck with symbols is read" test $? -eq 0
check "and says it was read whole" grep -qx 'NEC deck read whole: 3 wires, 1 source, 0 loads' "$work/show.out"
check "with no warning" test ! -s "$work/show.err"

# The real part and the reactance of "IMPEDANCE = R +  j X" from compute.
ours() { sed -n 's/.*IMPEDANCE  = *\([-0-9.]*\) *\([-+]\) *j *\([0-9.]*\).*/\1 \2\3/p' | head -1; }
# The impedance of the first source in a nec2c output.
theirs() { awk '/ANTENNA INPUT PARAMETERS/ {getline; getline; getline; print $(NF-4), $(NF-3); exit}'; }
# within A B TOL: the impedances A and B ("R X") agree within TOL of |A|.
within() {
  awk -v a="$1" -v b="$2" -v tol="$3" 'BEGIN { split(a, x, " "); split(b, y, " ");
    d = sqrt((x[1]-y[1])^2 + (x[2]-y[2])^2); m = sqrt(x[1]^2 + x[2]^2); exit !(d <= tol * m) }'
}

printf 'CM free-space dipole\r\nCE\r\nFree Space\r\nF 14.2\r\nGW 1 21 0 -5 0 0 5 0 0.002\r\nS 1 10 1 0\r\n' \
  > "$work/dipole.qlk"
for model in "$work/dipole.qlk" "$data/yagi3.nec"; do
  name="$(basename "$model")"
  qw export-nec "$model" "$work/$name.out.nec" 2> "$work/export.err"
  check "$name: export-nec exits 0" test $? -eq 0
  check "$name: the deck has GW, GE, EX, FR, RP and EN cards" \
    bash -c "for c in GW GE EX FR RP EN; do grep -q \"^\$c\" '$work/$name.out.nec' || exit 1; done"
  qw show "$work/$name.out.nec" > "$work/back.out" 2> "$work/back.err"
  check "$name: the exported deck reads back, only its RP card left out" \
    bash -c "grep -q 'RP (line' '$work/back.err' && ! grep -q 'TL\|EX 1' '$work/back.err'"
  z_ours="$(qw compute "$model" 2> /dev/null | ours)"
  check "$name: our impedance is reported" test -n "$z_ours"
  if command -v nec2c > /dev/null; then
    (cd "$work" && nec2c -i "$name.out.nec" -o "$name.nec2c" > /dev/null 2>&1)
    z_nec="$(theirs < "$work/$name.nec2c")"
    check "$name: nec2c runs the deck" test -n "$z_nec"
    check "$name: nec2c's impedance ($z_nec) within 6% of ours ($z_ours)" within "$z_ours" "$z_nec" 0.06
  else
    echo "skip $name: nec2c is not installed (scripts/bootstrap.sh installs it)"
  fi
done

qw check "$data/yagi3.nec" > "$work/check.out"
check "check exits 0" test $? -eq 0
check "check heads its report with the frequency" grep -q '^Model check at  *14.150 MHz' "$work/check.out"
printf 'GW 1 3 0 0 0 0 0 10 0.001\r\nGW 2 50 -1 0 5 1 0 5 0.02\r\nGE 0\r\nFR 0 1 0 0 14 0\r\nEN\r\n' > "$work/poor.nec"
qw check "$work/poor.nec" > "$work/poor.out" 2> /dev/null
check "check names long segments" grep -q '^Wire # 1: segments of 3.333.* longer than a tenth' "$work/poor.out"
check "check names the thin-wire limit" grep -q '^Wire # 2: segments of 0.04.* shorter than 4 wire radii' "$work/poor.out"
check "check names the crossing" grep -qx 'Wires # 1 and # 2 cross or touch without a joint' "$work/poor.out"

# Refusals exit 1.
printf 'GW 1 3 1 0 0 2 0 0 0.001\r\nGR 1 60\r\nGE 0\r\nEN\r\n' > "$work/big.nec"
qw compute "$work/big.nec" --source 1 > /dev/null 2> "$work/big.err"
check "a deck of 60 wires exits 1" test $? -eq 1
check "and says why" grep -q 'has 60 wires; the program takes at most 50' "$work/big.err"
for i in $(seq 1 51); do printf 'GW %d 3 %d 0 0 %d 0 1 0.002\r\n' "$i" "$i" "$i"; done > "$work/big.qlk"
printf 'F 14\r\nS 1 1 1 0\r\n' >> "$work/big.qlk"
qw compute "$work/big.qlk" > /dev/null 2> "$work/bigq.err"
check "a project of 51 wires exits 1" test $? -eq 1
check "with Too many Wires" grep -qx 'Too many Wires' "$work/bigq.err"
printf 'GW 1 9 0 0 -1 0 0 5 0.001\r\nGE 1\r\nGN 1\r\nEX 0 1 5 0 1 0\r\nFR 0 1 0 0 14 0\r\nEN\r\n' > "$work/buried.nec"
qw compute "$work/buried.nec" --yes > /dev/null 2> "$work/buried.err"
check "a wire below the ground exits 1" test $? -eq 1
check "with the geometry check's message" grep -qx 'Check your geometry: Wire # 1 is below ground' "$work/buried.err"
printf 'CM\r\nCE\r\nSY a=1\r\nGW 1 9 0 0 0 0 0 b 0.001\r\nEN\r\n' > "$work/sym.nec"
qw show "$work/sym.nec" > /dev/null 2> "$work/sym.err"
check "an unknown symbol exits 1" test $? -eq 1
check "naming the line" grep -q 'Line 4 of the NEC deck cannot be read: unknown symbol "b"' "$work/sym.err"
# Finding and feeding pulses: show --pulses lists them; --source may be
# repeated; a source given on the command line silences "No Sources defined".
printf 'GW 1 5 0 -5 0 0 5 0 0.002\r\nGW 2 5 0 -5 1 0 5 1 0.002\r\nGE 0\r\nFR 0 1 0 0 14.2 0\r\nEN\r\n' > "$work/two.nec"
qw show "$work/two.nec" --pulses > "$work/pulses.out"
check "show --pulses exits 0" test $? -eq 0
check "and counts the pulses" grep -qx 'Pulses: 8' "$work/pulses.out"
check "the first pulse of wire 1 at y = -3" grep -qx '    1     1      0.0000     -3.0000      0.0000' "$work/pulses.out"
check "the last pulse of wire 2 at y = 3, z = 1" grep -qx '    8     2      0.0000      3.0000      1.0000' "$work/pulses.out"
qw compute "$work/two.nec" --source 2 --source 6,2,90 > "$work/two.out" 2> "$work/two.err"
check "two --source options compute" test $? -eq 0
check "the first on pulse 2" grep -q 'Voltage    =  1.00 +  j 0.00 at Pulse 2' "$work/two.out"
check "the second on pulse 6 at 2 V, 90 degrees" grep -q 'Voltage    =  -0.00 +  j 2.00 at Pulse 6' "$work/two.out"
check "no \"No Sources defined\" with --source" bash -c "! grep -q 'No Sources defined' '$work/two.err'"
qw compute "$work/two.nec" > /dev/null 2> "$work/nosrc.err"
check "without --source the deck has no sources" grep -q 'No Sources defined' "$work/nosrc.err"
args=(); for i in $(seq 1 8); do args+=(--source "$i"); done
qw compute "$work/two.nec" "${args[@]}" > "$work/eight.out"
check "eight sources at once" test "$(grep -c 'IMPEDANCE' "$work/eight.out")" -eq 8
qw compute "$work/two.nec" "${args[@]}" --source 1 --source 2 --source 3 > /dev/null 2> "$work/eleven.err"
check "eleven sources refused" grep -q 'at most 10 times' "$work/eleven.err"
qw compute "$work/two.nec" --source 2 --source 2 > /dev/null 2> "$work/twice.err"
check "a pulse fed twice refused" grep -q 'pulse 2 is fed twice' "$work/twice.err"
qw compute "$work/two.nec" --source 2 --source 9 > /dev/null 2> "$work/nine.err"
check "a pulse past the last refused" grep -q 'the project has no pulse 9' "$work/nine.err"
printf 'GW 1 9 0 0 0 0 0 5 0.002\r\nGE 1\r\nGN 1\r\nFR 0 1 0 0 14.2 0\r\nEN\r\n' > "$work/vertical.nec"
qw compute "$work/vertical.nec" --source 1 > /dev/null 2> "$work/zero.err"
check "the zero-height question answered No exits 1" test $? -eq 1
check "and says that --yes answers it" grep -q -- '--yes answers Yes' "$work/zero.err"
qw compute "$work/vertical.nec" --source 1 --yes > /dev/null 2> "$work/zeroyes.err"
check "with --yes it computes" test $? -eq 0
check "and the hint is not printed" bash -c "! grep -q -- '--yes answers' '$work/zeroyes.err'"
finish
