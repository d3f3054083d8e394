#!/usr/bin/env bash
# quillwork-cli plot: the read-out lines of every point, equal to the sweep
# command's values at the same frequencies, the loop ends of the kinds, the
# resonance lines, the picture, and the refusals.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
settings="--settings $work/empty.ini"
: > "$work/empty.ini"

"$cli" plot "$examples/dipole.qlk" --kind swr --from 13 --to 15 --step 0.5 --svg "$work/swr.svg" $settings > "$work/swr.out" 2> "$work/swr.err"
check "plot swr exits 0" test $? -eq 0
check "swr runs to upper + step: 6 lines" test "$(wc -l < "$work/swr.out")" -eq 6
check "swr lines have the read-out's layout" bash -c "grep -vqE '^F = [0-9]+\.[0-9]{3} SWR = -?[0-9]+\.[0-9]{2}$' '$work/swr.out' && exit 1 || exit 0"
check "the picture is SVG with the caption" bash -c "grep -q '<svg' '$work/swr.svg' && grep -q 'F in MHz' '$work/swr.svg'"

# The same values as the sweep command at the same frequencies.
"$cli" sweep "$examples/dipole.qlk" --from 13 --to 15.5 --step 0.5 --csv $settings > "$work/sweep.csv"
awk -F, 'NR > 1 { printf "F = %.3f SWR = %.2f\n", $1, $4 }' "$work/sweep.csv" > "$work/swr.expected"
check "SWR read-outs equal the sweep's values" cmp -s "$work/swr.out" "$work/swr.expected"
"$cli" plot "$examples/dipole.qlk" --kind gain --from 13 --to 15 --step 0.5 -j 1 $settings > "$work/gain1.out"
"$cli" plot "$examples/dipole.qlk" --kind gain --from 13 --to 15 --step 0.5 -j 3 $settings > "$work/gain3.out"
check "gain stops at the upper limit: 5 lines" test "$(wc -l < "$work/gain1.out")" -eq 5
check "gain -j 3 equals -j 1" cmp -s "$work/gain1.out" "$work/gain3.out"
head -6 "$work/sweep.csv" | awk -F, 'NR > 1 { printf "F = %.3f Gain = %.2f\n", $1, $5 }' > "$work/gain.expected"
check "gain read-outs equal the sweep's values" cmp -s "$work/gain1.out" "$work/gain.expected"
"$cli" plot "$examples/dipole.qlk" --kind fb --from 13 --to 15 --step 0.5 $settings > "$work/fb.out"
check "F/B read-out" bash -c "head -1 '$work/fb.out' | grep -qE '^F = 13.000 F/B = -?[0-9]+\.[0-9]{2}$'"

# The impedance plot marks the points with |X| < 10 ohms after the points:
# the dipole crosses X = 0 near 12.72 MHz.
"$cli" plot "$examples/dipole.qlk" --kind impedance --from 12.5 --to 13 --step 0.05 --limits 200,0,300,-300 $settings > "$work/z.out"
check "impedance runs to upper + step: 12 lines" test "$(grep -c '^F = .* Z = ' "$work/z.out")" -eq 12
check "then four resonance lines" bash -c "test \$(grep -cE '^ Resonance at 12\.[0-9]{2} Mhz, Z = [0-9]+\.[0-9]{2} \+j -?[0-9]\.[0-9]{2}$' '$work/z.out') -eq 4 && tail -1 '$work/z.out' | grep -q '^ Resonance at 12.80 Mhz'"
"$cli" plot "$examples/dipole.qlk" --kind impedance --from 12.5 --to 13 --step 0.05 --limits 200,56,300,-300 $settings > "$work/z2.out"
check "points outside the R limits mark no resonance" test "$(grep -c Resonance "$work/z2.out")" -eq 2
"$cli" plot "$examples/dipole.qlk" --kind smith --from 10 --to 18 --step 0.5 --svg "$work/smith.svg" $settings > "$work/smith.out"
check "the Smith chart names its feed line" grep -q 'Z0 = 50 ohms' "$work/smith.svg"

"$cli" plot "$examples/dipole.qlk" --kind swr --from 13 --to 15 --step 0 $settings > /dev/null 2>&1
check "a step of 0 is refused" test $? -eq 1
"$cli" plot "$examples/dipole.qlk" --kind swr --from 100000 --to 100001 --step 0.0001 $settings > /dev/null 2> "$work/tiny.err"
check "a step that cannot move the frequency is refused" grep -q 'too small to move' "$work/tiny.err"
"$cli" plot "$examples/dipole.qlk" --kind gain --from 13 --to 15 --step 1 --limits 5 $settings > /dev/null 2>&1
check "gain --limits needs two values" test $? -eq 1
"$cli" plot "$examples/dipole.qlk" --kind bars --from 13 --to 15 --step 1 $settings > /dev/null 2>&1
check "an unknown kind is refused" test $? -eq 1

finish
