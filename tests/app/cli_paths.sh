#!/usr/bin/env bash
# quillwork-cli on the paths that end early: the sweep's numbers against
# farfield and compute, a sweep point that fails, Ctrl+C in a long sweep,
# and files that cannot be written (/dev/full: every write fails).
set -u
cli="$1"
examples="$2"
bench="$examples/../bench"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"

# One point at 14.2 MHz, elevation 20, azimuth setting 90 (the gain's
# azimuth 270, the back 450), against the far-field table at zenith 70.
qw sweep "$examples/yagi3.qlk" --from 14.2 --to 14.2 --step 1 --azimuth 90 --csv -j 1 \
  > "$work/point.csv"
qw sweep "$examples/yagi3.qlk" --from 14.2 --to 14.2 --step 1 --touchstone -j 1 \
  > "$work/point.s1p"
qw farfield "$examples/yagi3.qlk" --zenith 70,0,0 --azimuth 270,180,1 --csv --yes \
  > "$work/ff.csv"
qw compute "$examples/yagi3.qlk" --yes > "$work/compute.out"
check "the sweep's gain and F/B are the far field's at the same directions" awk -F, '
  FNR == 1 { next }
  FILENAME ~ /point/ { gain = $5; fb = $6; next }
  { total[FNR] = $5 }
  END { d1 = gain - total[2]; d2 = fb - (total[2] - total[3])
        exit !(gain != "" && d1 * d1 < 1e-6 && d2 * d2 < 1e-6) }' "$work/point.csv" "$work/ff.csv"
check "the sweep's impedance is the one compute prints" bash -c "
  z=\$(sed -n 's/^  IMPEDANCE  =  \\(.*\\) Ohms at Source 1\$/\\1/p' '$work/compute.out')
  test \"\$z\" = \"\$(awk -F, 'NR == 2 { printf \"%.2f %s  j %.2f\", \$2, \$3 < 0 ? \"-\" : \"+\", \$3 < 0 ? -\$3 : \$3 }' '$work/point.csv')\""
check "the Touchstone S11 is (Z - 50) / (Z + 50) of the printed Z" awk -F'[, ]' '
  FILENAME ~ /csv/ { if (FNR == 2) { r = $2; x = $3 } next }
  /^[!#]/ { next }
  { d = (r + 50) ^ 2 + x ^ 2; sr = ((r - 50) * (r + 50) + x * x) / d; si = 100 * x / d
    n++; ok = $1 == 14.2 && ($2 - sr) ^ 2 < 1e-12 && ($3 - si) ^ 2 < 1e-12 }
  END { exit !(n == 1 && ok) }' "$work/point.csv" "$work/point.s1p"

# A 1e37 uH load on an unfed pulse: too large above 5 MHz.
printf 'CM\r\nCE\r\nFree Space\r\nF 3\r\nGW 1 11 0 0 -10 0 0 10 0.002\r\nS 1 5 1 0\r\nLS 1 2 0 1E+37 0\r\n' \
  > "$work/overflow.qlk"
qw sweep "$work/overflow.qlk" --from 3 --to 8 --step 1 --csv -j 2 > "$work/fail.csv" 2> "$work/fail.err"
check "a failing point ends the sweep with exit 1" test $? -eq 1
check "after the points before it" bash -c "cut -d, -f1 '$work/fail.csv' | tr '\n' ' ' | grep -qx 'frequency_mhz 3 4 5 '"
check "naming the fault and the points done" diff - <(tr -d '\r' < "$work/fail.err") <<'EOF'
Load # 1 has an impedance too large to compute at this frequency.
Nothing was computed.
quillwork-cli: the sweep stopped after 3 of 6 points
EOF

# Ctrl+C once the first point is out: exit 1, every line printed whole.
# (The program itself in the background, not a function's subshell, so that
# the signal reaches it.)
"$cli" sweep "$bench/six_wires.qlk" --settings "$work/empty.ini" --from 100 --to 200 --step 0.01 --csv -j 1 \
  > "$work/int.csv" 2> "$work/int.err" &
pid=$!
until [ "$(wc -l < "$work/int.csv")" -ge 2 ] || ! kill -0 "$pid" 2> /dev/null; do sleep 0.05; done
kill -INT "$pid"
wait "$pid"
check "Ctrl+C ends a sweep with exit 1" test $? -eq 1
check "its lines are complete rows" bash -c "test -z \"\$(tail -c 1 '$work/int.csv')\" &&
  ! sed 1d '$work/int.csv' | grep -vqE '^[0-9.]+(,-?[0-9.E+-]+){3},-?[0-9.E+-]+,-?[0-9.E+-]+$'"
check "and fewer than the band's" test "$(wc -l < "$work/int.csv")" -lt 10002
check "it says it stopped" grep -q 'stopped after' "$work/int.err"

# A fault of the solution: its message, exit 1.
qw compute "$examples/dipole.qlk" --source 5,0 > /dev/null 2> "$work/zero.err"
check "a source of 0 V fails the computation with exit 1" test $? -eq 1
check "with the solver's message" grep -qx 'ZMCompute: Division by Zero' "$work/zero.err"

# Writes that fail after the file was opened (the pattern file goes beside
# the project: a copy of it).
cp "$examples/yagi3.qlk" "$work/yagi3.qlk"
for run in "save $examples/yagi3.qlk /dev/full" "pattern $work/yagi3.qlk --yes --azimuth-cut 20 --svg /dev/full" \
           "compute $examples/dipole.qlk --log /dev/full" "farfield $examples/dipole.qlk --log /dev/full"; do
  $cli $run > "$work/full.out" 2> "$work/full.err"
  check "$run: exit 1" test $? -eq 1
  check "$run: says /dev/full could not be written" grep -q '/dev/full' "$work/full.err"
done

finish
