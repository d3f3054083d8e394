#!/usr/bin/env bash
# quillwork-cli nearfield and currents: the lines the program logs, the CSV
# rows, the data file, and failures with exit status 1 and their message.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
cd "$work"

source "$testlib/dipoles.bash"

# nearfield: the report's title, then the log's lines.
qw nearfield dipole.qlk --start 1,0,0.5 > near.out 2> near.err
check "nearfield exits 0" test $? -eq 0
check "the title comes first" bash -c "head -1 near.out | grep -qx 'File : dipole.qlk NEAR ELECTRIC FIELDS  '"
check "then the log's heading" bash -c "sed -n '2,4p' near.out | tr '\n' '|' | grep -qx '======================================|File : dipole.qlk NEAR ELECTRIC FIELDS  |  NEAR ELECTRIC FIELDS|'"
check "one point block" bash -c "test \$(grep -c '^FIELD POINT: X =  1  Y =  0  Z =  .5 \$' near.out) -eq 1"
check "with the component rows" bash -c "grep -q '^   Z          [ -][0-9]\.[0-9]\{3\}E[-+][0-9][0-9]    [ -][0-9]\.[0-9]\{3\}E' near.out"
check "and the peak" grep -q '^MAXIMUM OR PEAK FIELD =      [0-9]\.[0-9]\{3\}E[-+][0-9][0-9]     V/M $' near.out
check "nothing on stderr" test ! -s near.err

qw nearfield dipole.qlk --start 1,0,0.5 --log near.log > /dev/null
check "the log gets the same lines" bash -c "tail -n +2 near.out > want && tail -n \$(wc -l < want) near.log | tr -d '\r' | cmp -s - want"

qw nearfield dipole.qlk --magnetic --start 1,0,0 > mag.out
check "--magnetic lists amperes per metre" bash -c "head -1 mag.out | grep -qx 'File : dipole.qlk NEAR MAGNETIC FIELDS ' && grep -q '^ COMPONENT     AMPS/M        AMPS/M        AMPS/M        DEG\$' mag.out"

qw nearfield dipole.qlk --start 1,2,3 --step 0.5,1,-1 --count 2,0,2 --csv > grid.csv
check "--csv prints the header and one row per point" bash -c "test \$(wc -l < grid.csv) -eq 5 && head -1 grid.csv | grep -qx 'x,y,z,x_mag,x_phase,y_mag,y_phase,z_mag,z_phase,peak'"
check "the grid runs over x, then y, then z" bash -c "cut -d, -f1-3 grid.csv | tail -4 | tr '\n' ' ' | grep -qx '1,2,3 1.5,2,3 1,2,2 1.5,2,2 '"

# Far out broadside |E| r = sqrt(60 P G) with G = 1.64, and |E| / |H| = 377.
power=$(qw currents dipole.qlk | sed -n 's/^Number of Wires : .*Power : *\([0-9.E+-]*\) *$/\1/p')
qw nearfield dipole.qlk --start 10,0,0 --csv > far.csv
qw nearfield dipole.qlk --start 10,0,0 --csv --magnetic > farh.csv
check "E r at 10 wavelengths matches the far field" \
  awk -F, -v p="$power" 'NR == 2 { r = $10 * 10 / sqrt(60 * p * 1.64); exit !(r > 0.97 && r < 1.03) }' far.csv
check "E / H is 377 ohms" bash -c "paste -d, far.csv farh.csv | awk -F, 'NR == 2 { r = \$10 / \$20; exit !(r > 370 && r < 385) }'"
qw nearfield dipole.qlk --start 10,0,0 --csv --power "$(awk -v p="$power" 'BEGIN { print 4 * p }')" > far4.csv
check "--power scales the fields" bash -c "paste -d, far.csv far4.csv | awk -F, 'NR == 2 { r = \$20 / \$10; exit !(r > 1.999 && r < 2.001) }'"

# Across the wire (radius 1 mm) at z = 0.1: three points inside it.
qw nearfield dipole.qlk --start -0.0006,0,0.1 --step 0.0006,0,0 --count 5,1,1 > onwire.out 2> onwire.err
check "points on the wire exit 0" test $? -eq 0
check "and are skipped" test "$(grep -c '^POINT LIES ON WIRE 1 - SKIPPED$' onwire.out)" -eq 3
check "with a message" grep -q '^Near Field: 3 field points lie on a wire, where the fields are not defined, and were skipped' onwire.err
check "and no nan or inf" bash -c "! grep -qi 'nan\|inf' onwire.out"
check "the others are listed" bash -c "test \$(grep -c '^MAXIMUM OR PEAK FIELD' onwire.out) -eq 2"

qw nearfield nosource.qlk > /dev/null 2> nosource.err
check "no source: exit 1" bash -c "test $? -eq 1 && grep -q 'no source' nosource.err"
qw nearfield negative.qlk > negative.out 2> negative.err
check "input power below 0: exit 1 with Power is Zero" bash -c "test $? -eq 1 && grep -qx 'Power is Zero' negative.err && ! grep -q NEAR negative.out"
qw nearfield dipole.qlk --count 2,1 > /dev/null 2> count.err
check "a --count without three numbers exits 1" bash -c "test $? -eq 1 && grep -q -- '--count takes three whole numbers' count.err"
qw nearfield dipole.qlk --count 1.5,1,1 > /dev/null 2>&1
check "a fractional count exits 1" test $? -eq 1
qw nearfield dipole.qlk --start 1,x,0 > /dev/null 2> start.err
check "a malformed --start exits 1" bash -c "test $? -eq 1 && grep -q -- '--start takes three numbers' start.err"

# currents: the table as logged.
qw currents dipole.qlk > cur.out 2> cur.err
check "currents exits 0" test $? -eq 0
check "the heading" bash -c "sed -n '2p' cur.out | grep -qx ' ------------ Currents ----------------- '"
check "the wire and its columns" bash -c "grep -qx 'WIRE NO.  1 :' cur.out && grep -qx ' NO.          (AMPS)        (AMPS)        (AMPS)        (DEGREES)' cur.out"
check "free ends, then the 19 pulses" bash -c "test \$(grep -c '^E              0.00          0.00          0.00          0.00\$' cur.out) -eq 2 && test \$(grep -c '^ [0-9]* \{1,\} [ -][0-9]' cur.out) -eq 19"
check "no data file without --data-file" bash -c 'test ! -e "\$\$Current.\$\$\$"'

qw currents dipole.qlk --log cur.log > /dev/null
check "the log gets the same lines" bash -c "tail -n \$(wc -l < cur.out) cur.log | tr -d '\r' | cmp -s - cur.out"

qw currents dipole.qlk --csv > cur.csv
check "--csv prints the header and 21 rows" bash -c "test \$(wc -l < cur.csv) -eq 22 && head -1 cur.csv | grep -qx 'wire,label,re,im,mag,phase'"
check "end rows with E" bash -c "sed -n '2p;22p' cur.csv | tr '\n' ' ' | grep -qx '1,E,0,0,0,0 1,E,0,0,0,0 '"
check "pulse rows with the pulse number" grep -q '^1,10,0\.[0-9]*,-\?0\.[0-9]*,0\.[0-9]*,-\?[0-9.]*$' cur.csv

mkdir data
qw currents dipole.qlk --data-file data > /dev/null
check "--data-file FOLDER writes \$\$Current.\$\$\$ there" test -f 'data/$$Current.$$$'
check "its rows end in CR LF" bash -c "test \$(grep -c \$'\r\$' 'data/\$\$Current.\$\$\$') -eq 21"
check "an end row" bash -c "head -1 'data/\$\$Current.\$\$\$' | tr -d '\r' | grep -qx 'E, 0, 0, 0, 0'"
check "a pulse row" bash -c "sed -n '11p' 'data/\$\$Current.\$\$\$' | tr -d '\r' | grep -qx ' 10 , [.0-9E-]*,-\?[.0-9E-]*, [.0-9E-]*,-\?[.0-9E-]*'"
qw currents dipole.qlk --data-file mine.txt > /dev/null
check "--data-file FILE writes that file" bash -c "cmp -s mine.txt 'data/\$\$Current.\$\$\$'"
qw currents dipole.qlk --data-file missing/x.txt > /dev/null 2> data.err
check "an unwritable data file exits 1" bash -c "test $? -eq 1 && grep -q 'could not be written' data.err"

qw currents "$examples/vertical.qlk" --yes --csv > vertical.csv
check "a grounded vertical has no end-1 row" bash -c "sed -n '2p' vertical.csv | grep -q '^1,1,' && test \$(grep -c ',E,' vertical.csv) -eq 1"

finish
