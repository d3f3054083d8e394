#!/usr/bin/env bash
# quillwork-cli view3d and pattern3d: the 3D pattern's file beside the
# project (never into examples/), its records, its grid against the far
# field's table at the same directions, the SVG picture with the axes, the
# marks, the currents and the pattern, and the refusals.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
cp "$examples/dipole.qlk" "$examples/yagi3.qlk" "$work/"

qw pattern3d "$work/dipole.qlk" --csv > "$work/grid.csv" 2> "$work/grid.err"
check "pattern3d exits 0" test $? -eq 0
check "the .PLT file beside the project: 73 records of 20 floats" test "$(stat -c %s "$work/dipole.PLT")" -eq 5840
check "nothing written into examples" bash -c "! ls '$examples' | grep -qi '\.plt$'"
check "73 x 19 directions and the header" test "$(wc -l < "$work/grid.csv")" -eq $((1 + 73 * 19))
check "each record starts with its azimuth" bash -c "
  test \"\$(od -An -tf4 -j0 -N4 '$work/dipole.PLT' | tr -d ' ')\" = 0 &&
  test \"\$(od -An -tf4 -j80 -N4 '$work/dipole.PLT' | tr -d ' ')\" = 5 &&
  test \"\$(od -An -tf4 -j$((72 * 80)) -N4 '$work/dipole.PLT' | tr -d ' ')\" = 360"
# The gain at azimuth 35, elevation 20 is the 5th value of record 7.
check "a value of the file is the grid's" bash -c "
  file=\$(od -An -tf4 -j$((7 * 80 + 4 * 5)) -N4 '$work/dipole.PLT' | tr -d ' ')
  grid=\$(grep '^35,20,' '$work/grid.csv' | cut -d, -f3)
  awk -v a=\"\$file\" -v b=\"\$grid\" 'BEGIN { exit !(a - b < 0.0001 && b - a < 0.0001) }'"

# The far field's total gain at zenith 90 - e is the 3D grid's at elevation e.
qw farfield "$work/dipole.qlk" --csv --zenith 0,5,18 --azimuth 0,5,72 > "$work/ff.csv"
check "the grid equals the far field's total gains" bash -c "
  awk -F, 'NR > 1 { print \$2 \",\" 90 - \$1 \",\" \$5 }' '$work/ff.csv' | sort > '$work/ff.sorted'
  tail -n +2 '$work/grid.csv' | sort > '$work/grid.sorted'
  join -t, -j1 <(awk -F, '{ print \$1 \":\" \$2 \",\" \$3 }' '$work/ff.sorted' | sort) \
               <(awk -F, '{ print \$1 \":\" \$2 \",\" \$3 }' '$work/grid.sorted' | sort) > '$work/joined'
  test \$(wc -l < '$work/joined') -eq $((73 * 19)) &&
  awk -F, '{ d = \$2 - \$3; if (d < 0) d = -d; if (d > 0.0005) bad++ } END { exit bad > 0 }' '$work/joined'"
qw farfield "$work/dipole.qlk" --csv --zenith 60,1,0 --azimuth 90,1,0 > "$work/ffh.csv"
qw pattern3d "$work/dipole.qlk" --csv --field horizontal > "$work/gridh.csv"
check "the horizontal field type takes the horizontal gain" bash -c "
  a=\$(tail -1 '$work/ffh.csv' | cut -d, -f4); b=\$(grep '^90,30,' '$work/gridh.csv' | cut -d, -f3)
  awk -v a=\"\$a\" -v b=\"\$b\" 'BEGIN { exit !(a - b < 0.0005 && b - a < 0.0005) }'"
qw pattern3d "$work/dipole.qlk" --log "$work/p.log" > /dev/null
check "the log holds one Scientific line per azimuth" bash -c "
  test \$(grep -cE '^-?[0-9]\.[0-9]{2}E[+-][0-9]{2}( -?[0-9]\.[0-9]{2}E[+-][0-9]{2}){19}\$' < <(tr -d '\\r' < '$work/p.log')) -eq 73 &&
  grep -q '^3\.60E+02 ' '$work/p.log'"
qw pattern3d "$work/dipole.qlk" > "$work/grid.txt"
check "the plain grid: one line per azimuth" bash -c "test \$(wc -l < '$work/grid.txt') -eq 73 && head -1 '$work/grid.txt' | awk '{ exit !(NF == 20 && \$1 == 0) }'"

qw view3d "$work/yagi3.qlk" --svg "$work/plain.svg" 2> "$work/plain.err"
check "a plain view needs no solution and exits 0" test $? -eq 0
check "the axes, the view caption and the wires" bash -c "
  for t in 'X axis' 'Y axis' 'Z axis' 'View 0 / -60 / -60   Zoom 9.43'; do grep -q \">\$t</text>\" '$work/plain.svg' || exit 1; done
  test \$(grep -c 'stroke=\"#0000ff\"' '$work/plain.svg') -eq 24"
check "no pattern file without --pattern" test ! -e "$work/yagi3.PLT"
qw view3d "$work/yagi3.qlk" --angles 10,-20,30 --pulses --numbers --currents --pattern --field vertical \
  --size 640x480 --svg "$work/all.svg" > /dev/null 2> "$work/all.err"
check "the full view exits 0" test $? -eq 0
check "its size, angles, captions and pulse numbers" bash -c "
  grep -q 'width=\"640\" height=\"480\"' '$work/all.svg' && grep -q '>View 10 / -20 / 30 ' '$work/all.svg' &&
  grep -q '>Current : max ' '$work/all.svg' && grep -q '>3D pattern : Vertical gain, max ' '$work/all.svg' &&
  grep -q '>27</text>' '$work/all.svg'"
check "--pattern writes the .PLT beside the project" test "$(stat -c %s "$work/yagi3.PLT")" -eq 5840
if command -v rsvg-convert > /dev/null; then
  check "rsvg-convert renders the SVG" rsvg-convert -o "$work/all.png" "$work/all.svg"
fi

qw view3d "$work/yagi3.qlk" --wire-info 2 --svg "$work/info.svg"
check "the wire information of wire 2" bash -c "
  grep -q '>Space Bar to change wire</text>' '$work/info.svg' && grep -q '>Wire 2 of 3</text>' '$work/info.svg' &&
  grep -q '>Segments : 10</text>' '$work/info.svg'"
qw view3d "$work/yagi3.qlk" > /dev/null 2> "$work/nosvg.err"
check "without --svg: refused" bash -c "test $? -eq 1 && grep -q 'view3d needs --svg OUT' '$work/nosvg.err'"
qw view3d "$work/yagi3.qlk" --angles 0,400,0 --svg "$work/x.svg" > /dev/null 2> "$work/ang.err"
check "angles beyond 359 are refused" bash -c "test $? -eq 1 && grep -q -- '--angles takes three angles' '$work/ang.err'"
qw pattern3d "$work/yagi3.qlk" --field sideways > /dev/null 2> "$work/field.err"
check "an unknown field type is refused" bash -c "test $? -eq 1 && grep -q -- '--field takes total, horizontal or vertical' '$work/field.err'"
mkdir "$work/ro" && cp "$examples/dipole.qlk" "$work/ro/" && ln -s /dev/null "$work/ro/dipole.PLT"
qw pattern3d "$work/ro/dipole.qlk" > /dev/null 2> "$work/read.err"
check "a file that does not read back: Error reading pattern file" bash -c "test $? -eq 1 && grep -q 'Error reading pattern file' '$work/read.err'"
check "view3d and pattern3d in the help" bash -c "'$cli' --help | grep -q '^  view3d ' && '$cli' --help | grep -q '^  pattern3d '"
finish
