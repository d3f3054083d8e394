#!/usr/bin/env bash
# quillwork-cli view: the 2D view of the wires as SVG in each plane and
# unit, with pulses and their numbers, and the refusals.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"

qw view "$examples/yagi3.qlk" --plane xy --svg "$work/xy.svg" > "$work/xy.out" 2> "$work/xy.err"
check "the XY view exits 0 and prints nothing" bash -c "test $? -eq 0 && ! test -s '$work/xy.out' && ! test -s '$work/xy.err'"
check "three wires in the wire colour" bash -c "test \$(grep -c '<line [^>]*stroke=\"#0000ff\"' '$work/xy.svg') -eq 3"
check "the dotted axes and their captions" bash -c "test \$(grep -c 'stroke-dasharray' '$work/xy.svg') -eq 2 && grep -q '>X axis</text>' '$work/xy.svg' && grep -q '>Y axis</text>' '$work/xy.svg'"
check "the file name and the unit" grep -q 'yagi3.qlk units :Meters</text>' "$work/xy.svg"
check "the lengths in metres" bash -c "grep -q '>10.60</text>' '$work/xy.svg' && grep -q '>10.10</text>' '$work/xy.svg' && grep -q '>9.60</text>' '$work/xy.svg'"
# The source sits on the driven element, which runs along y at x = 0.
check "the source circle on the driven element" bash -c "
  x=\$(grep -o '<line x1=\"[0-9.]*\" y1=\"[0-9.]*\" x2=\"[0-9.]*\" y2=\"[0-9.]*\" stroke=\"#0000ff\"' '$work/xy.svg' | sed -n 2p | cut -d'\"' -f2)
  grep -q \"<circle cx=\\\"\$x\\\" cy=\\\"320\\\" r=\\\"3.2\\\" fill=\\\"none\\\" stroke=\\\"#ff0000\\\"\" '$work/xy.svg'"
check "the picture is complete" bash -c "tail -1 '$work/xy.svg' | grep -qx '</svg>'"
if command -v rsvg-convert > /dev/null; then
  check "rsvg-convert renders the SVG" rsvg-convert -o "$work/xy.png" "$work/xy.svg"
fi

# The side views show the wires' own Z: the Yagi lies in z = 0, on the
# horizontal axis, though it hangs 15 m above ground.
qw view "$examples/yagi3.qlk" --plane xz --size 800x400 --svg "$work/xz.svg"
check "XZ: the size asked for, the Z axis" bash -c "grep -q 'width=\"800\" height=\"400\"' '$work/xz.svg' && grep -q '>Z axis</text>' '$work/xz.svg'"
check "XZ: the wires lie on the horizontal axis" bash -c "
  test \$(grep -c '<line [^>]*y1=\"200\" [^>]*y2=\"200\" stroke=\"#0000ff\"' '$work/xz.svg') -eq 3"
qw view "$examples/yagi3.qlk" --plane yz --svg "$work/yz.svg"
check "YZ: Y and Z axes" bash -c "grep -q '>Y axis</text>' '$work/yz.svg' && grep -q '>Z axis</text>' '$work/yz.svg'"

for case in "feet:34.78:Feet" "inches:417:Inches" "cm:1060.0:cm" "mm:10600:mm" "wavelengths:0.502:wlngth"; do
  IFS=: read -r unit length name <<< "$case"
  qw view "$examples/yagi3.qlk" --plane xy --unit "$unit" --svg "$work/$unit.svg"
  check "the reflector's length in $unit" bash -c "grep -q '>$length</text>' '$work/$unit.svg' && grep -q 'units :$name</text>' '$work/$unit.svg'"
done

qw view "$examples/yagi3.qlk" --plane xy --pulses --svg "$work/p.svg"
check "27 pulse dots, lengths kept" bash -c "test \$(grep -c 'fill=\"#00ffff\"' '$work/p.svg') -eq 27 && grep -q '>10.60</text>' '$work/p.svg'"
qw view "$examples/yagi3.qlk" --plane xy --numbers --svg "$work/n.svg"
check "numbered pulses replace the lengths" bash -c "grep -q '>27</text>' '$work/n.svg' && grep -q '>1</text>' '$work/n.svg' && ! grep -q '>10.60</text>' '$work/n.svg'"
qw view "$examples/loaded.qlk" --plane xy --svg "$work/l.svg"
check "two load squares in the load colour" bash -c "test \$(grep -c '<rect [^>]*fill=\"#800080\"' '$work/l.svg') -eq 2"

qw view "$examples/yagi3.qlk" --plane xy > /dev/null 2> "$work/e1.err"
check "no --svg is refused" bash -c "test $? -eq 1 && grep -q -- '--svg OUT' '$work/e1.err'"
qw view "$examples/yagi3.qlk" --plane ab --svg "$work/x.svg" 2> "$work/e2.err"
check "an unknown plane is refused" bash -c "test $? -eq 1 && grep -q 'xy, yz or xz' '$work/e2.err' && ! test -e '$work/x.svg'"
qw view "$examples/yagi3.qlk" --plane xy --unit yards --svg "$work/x.svg" 2> "$work/e3.err"
check "an unknown unit is refused" bash -c "test $? -eq 1 && grep -q 'meters, feet' '$work/e3.err'"
qw view "$examples/yagi3.qlk" --plane xy --size 50x50 --svg "$work/x.svg" 2> "$work/e4.err"
check "a picture too small is refused" bash -c "test $? -eq 1 && grep -q 'WIDTHxHEIGHT' '$work/e4.err'"
qw view "$work/missing.qlk" --plane xy --svg "$work/x.svg" 2> /dev/null
check "a missing file exits 1" test $? -eq 1
qw view "$examples/yagi3.qlk" --plane xy --svg "$work/no/such/folder/x.svg" 2> "$work/e5.err"
check "an unwritable picture exits 1" bash -c "test $? -eq 1 && grep -q 'cannot write' '$work/e5.err'"
"$cli" view --help > "$work/help.out"
check "--help names every option" bash -c "for o in --plane --pulses --numbers --unit --size --svg; do grep -q -- \"\$o\" '$work/help.out' || exit 1; done"
finish
