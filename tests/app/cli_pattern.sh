#!/usr/bin/env bash
# quillwork-cli pattern: the caption lines, the pattern file written beside
# the project (never into examples/), the SVG picture, the comparison and
# the refusals.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
cp "$examples/dipole.qlk" "$examples/yagi3.qlk" "$examples/vertical.qlk" "$work/"

qw pattern "$work/dipole.qlk" --azimuth-cut 30 --svg "$work/d.svg" > "$work/az.out" 2> "$work/az.err"
check "azimuth cut exits 0" test $? -eq 0
printf '%s\n' "DIPOLE.QLK Azimuth Total Field" " Frequency  =  14.200 Mhz" \
  " Antenna Height is :  10 m  ( 32.8084ft) Ground Diel. =  13  Cond. =  5" " Zenith Angle =  30 deg." > "$work/az.head"
check "the first caption lines" bash -c "head -4 '$work/az.out' | cmp -s - '$work/az.head'"
check "maximum, F/B and 0 dB lines" bash -c "grep -qE '^ Max = [0-9]+\.[0-9]{2} dBi$' '$work/az.out' && grep -qE '^ F/B = -?[0-9]+\.[0-9]{2} dB$' '$work/az.out' && tail -1 '$work/az.out' | grep -qE '^ 0 dB = +[0-9]+\.[0-9]{2} dBi$'"
check "lobe lines with the degree mark" bash -c "grep -qE '^ Lobe at : 0º \(BW:[0-9]+º\)$' '$work/az.out'"
check "the pattern file is written beside the project" test -f "$work/dipole.PF"
check "nothing written into examples" bash -c "! ls '$examples' | grep -qi '\.pf$'"
# Header of 8 + Source + Title + Environ + Notes bytes, then one block of 27 + 4 x 180.
check "one azimuth block of 747 bytes" bash -c "
  size=\$(stat -c %s '$work/dipole.PF'); head=\$(od -An -tu2 -j1 -N2 '$work/dipole.PF' | tr -d ' ')
  test \$size -eq \$((head + 747))"
check "the SVG holds the blue curve" bash -c "grep -q 'stroke=\"#0000ff\"' '$work/d.svg' && tail -1 '$work/d.svg' | grep -qx '</svg>'"
if command -v rsvg-convert > /dev/null; then
  check "rsvg-convert renders the SVG" rsvg-convert -o "$work/d.png" "$work/d.svg"
fi

qw pattern "$work/dipole.qlk" --zenith-cut 90 --field horizontal --step 5 --size 300x400 --svg "$work/z.svg" > "$work/zen.out"
check "zenith cut of the horizontal field" bash -c "head -1 '$work/zen.out' | grep -qx 'DIPOLE.QLK Zenith Horizontal Field' && grep -qx ' Azimuth Angle =  90 deg.' '$work/zen.out' && ! grep -q 'F/B' '$work/zen.out'"
check "the height line of a zenith cut" grep -q '^ Antenna Height is :  10 m ( 32.8084ft)' "$work/zen.out"
check "the SVG has the size asked for" grep -q 'width="300" height="400"' "$work/z.svg"
check "azimuth and zenith blocks in the file" bash -c "
  size=\$(stat -c %s '$work/dipole.PF'); head=\$(od -An -tu2 -j1 -N2 '$work/dipole.PF' | tr -d ' ')
  test \$size -eq \$((head + 747 + 27 + 4 * 36))"

qw pattern "$work/yagi3.qlk" --azimuth-cut 20 > /dev/null
qw pattern "$work/dipole.qlk" --azimuth-cut 30 --compare "$work/yagi3.PF" --svg "$work/cmp.svg" > /dev/null 2> "$work/cmp.err"
check "compare exits 0" test $? -eq 0
check "compare writes both text blocks" bash -c "grep -q '>dipole.qlk Height =  10m Angle =  30 deg.</text>' '$work/cmp.svg' && grep -q 'fill=\"#ff0000\"[^>]*>yagi3.qlk Height =  15m' '$work/cmp.svg' && grep -q '>Angle = 20 °</text>' '$work/cmp.svg'"
qw pattern "$work/dipole.qlk" --azimuth-cut 30 --compare "$work/DIPOLE.pf" > /dev/null 2> "$work/own.err"
check "comparing with the own file is refused" bash -c "test $? -eq 1 && grep -q 'This is your current antenna' '$work/own.err'"
qw pattern "$work/vertical.qlk" --zenith-cut 0 --yes > "$work/vert.out" 2> /dev/null
check "the grounded vertical's zenith cut exits 0 with --yes" test $? -eq 0
printf '%s\n' "VERTICAL.QLK Zenith Total Field" " Frequency  =  14.200 Mhz" \
  " Antenna Height is :  0 m ( 0ft) Ground Diel. =  13  Cond. =  5" " 16 Radials of  5.28 m  ( 17.32284 ft)" \
  " Azimuth Angle =  0 deg." > "$work/vert.head"
check "its caption names the radials" bash -c "head -5 '$work/vert.out' | cmp -s - '$work/vert.head'"
# Over ground a vertical has no field along the ground and its lobes rise
# on both sides alike: at 90 - e and 90 + e degrees from the zenith.
check "two lobes at the same elevation" bash -c "
  grep -o '^ Lobe at : [0-9]*º' '$work/vert.out' | tr -dc '0-9\n' | sort -n | tr '\n' ' ' |
    awk '{ exit !(NF == 2 && \$1 + \$2 == 180 && \$1 > 10 && \$1 < 40) }'"
check "one zenith block of 90 points beside the project" bash -c "
  size=\$(stat -c %s '$work/vertical.PF'); head=\$(od -An -tu2 -j1 -N2 '$work/vertical.PF' | tr -d ' ')
  test \$size -eq \$((head + 27 + 4 * 90))"
qw pattern "$work/dipole.qlk" --zenith-cut 0 --compare "$work/yagi3.PF" > /dev/null 2> "$work/nf.err"
check "a missing plane is reported" grep -q 'Pattern not found in file' "$work/nf.err"

qw pattern "$work/dipole.qlk" > /dev/null 2>&1
check "a cut plane is required" test $? -eq 1
qw pattern "$work/dipole.qlk" --azimuth-cut 0 --zenith-cut 0 > /dev/null 2>&1
check "only one cut plane" test $? -eq 1
qw pattern "$work/dipole.qlk" --azimuth-cut 0 --field diagonal > /dev/null 2>&1
check "an unknown field is refused" test $? -eq 1
qw pattern "$work/dipole.qlk" --azimuth-cut 0 --step 0 > /dev/null 2>&1
check "a step of 0 is refused" test $? -eq 1
qw pattern "$work/dipole.qlk" --azimuth-cut 0 --size 50x50 > /dev/null 2>&1
check "a size below 100 pixels is refused" test $? -eq 1
qw pattern "$work/dipole.qlk" --azimuth-cut 0 --step 7 --log "$work/q.log" > "$work/seven.out"
check "a step of 7 draws and logs the captions" bash -c "grep -q '^DIPOLE.QLK Azimuth Total Field' '$work/q.log' && grep -q '^ F/B = ' '$work/q.log'"
# The zenith block is the one the comparison run above stored (step 2).
check "a step of 7 stores 51 points" bash -c "
  size=\$(stat -c %s '$work/dipole.PF'); head=\$(od -An -tu2 -j1 -N2 '$work/dipole.PF' | tr -d ' ')
  test \$size -eq \$((head + 27 + 4 * 51 + 27 + 4 * 90))"

finish
