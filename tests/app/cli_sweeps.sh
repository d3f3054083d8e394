#!/usr/bin/env bash
# quillwork-cli resonance and sweep: the lines of the scan, the point count
# of a band, and the same output from one worker and from several.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
settings="--settings $work/empty.ini"
: > "$work/empty.ini"

"$cli" resonance "$examples/dipole.qlk" --from 13 --to 15.5 --step 0.1 $settings > "$work/res.out" 2> "$work/res.err"
check "resonance exits 0" test $? -eq 0
check "resonance prints 26 lines and an empty one" test "$(wc -l < "$work/res.out")" -eq 27
check "the bound 15.5 is the last line" bash -c "sed -n 26p '$work/res.out' | grep -q '^At 15.500 Mhz   Z = '"
check "lines have the scan's layout" bash -c "head -25 '$work/res.out' | grep -vqE '^At [0-9]+\.[0-9]{3} Mhz   Z = -?[0-9]+\.[0-9]{2} [+-]  j [0-9]+\.[0-9]{2} SWR =  ([0-9]+\.[0-9]{2}|Infinite|Undefined)(  Resonance)?$' && exit 1 || exit 0"
"$cli" resonance "$examples/dipole.qlk" --from 13 --to 15.5 --step 0.1 --csv $settings > "$work/res.csv"
check "resonance --csv has a header and 26 rows" bash -c "head -1 '$work/res.csv' | grep -qx 'frequency_mhz,r_ohm,x_ohm,swr,resonance' && test \$(wc -l < '$work/res.csv') -eq 27"
"$cli" resonance "$examples/dipole.qlk" --from 13 --to 15 --step 0 $settings > /dev/null 2>&1
check "a step of 0 is refused" test $? -eq 1

"$cli" sweep "$examples/yagi3.qlk" --from 13.9 --to 14.5 --step 0.1 --csv -j 1 $settings > "$work/one.csv" 2> "$work/one.err"
check "sweep -j 1 exits 0" test $? -eq 0
"$cli" sweep "$examples/yagi3.qlk" --from 13.9 --to 14.5 --step 0.1 --csv -j 3 $settings > "$work/three.csv" 2> "$work/three.err"
check "sweep -j 3 gives the same output as -j 1" cmp -s "$work/one.csv" "$work/three.csv"
check "sweep --csv has its header and 7 points" bash -c "head -1 '$work/one.csv' | grep -qx 'frequency_mhz,r_ohm,x_ohm,swr,gain_db,fb_db' && test \$(wc -l < '$work/one.csv') -eq 8"
"$cli" sweep "$examples/dipole.qlk" --from 140 --to 150 --step 0.1 --csv -j 2 $settings > "$work/many.csv" 2>/dev/null
check "140 to 150 by 0.1 gives 101 points" test "$(wc -l < "$work/many.csv")" -eq 102
"$cli" sweep "$examples/dipole.qlk" --from 14 --to 14.4 --step 0.2 --touchstone $settings > "$work/s.s1p"
check "touchstone header" bash -c "grep -qx '# MHZ S RI R 50' '$work/s.s1p' && test \$(grep -vc '^[!#]' '$work/s.s1p') -eq 3"
"$cli" sweep "$examples/dipole.qlk" --from 14 --to 14.4 --step 0.2 $settings > "$work/table.out"
check "the default output is a table" bash -c "head -1 '$work/table.out' | grep -q 'F (MHz)' && test \$(wc -l < '$work/table.out') -eq 4"

finish
