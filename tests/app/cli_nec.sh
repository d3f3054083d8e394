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
finish
