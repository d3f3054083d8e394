#!/usr/bin/env bash
# quillwork-cli farfield: the title lines and the log's table, the grid
# options, CSV rows, the log file, and failures with exit status 1 and
# their message.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
cd "$work"

source "$testlib/dipoles.bash"

# The default grid: 91 zenith angles for each of 181 azimuths.
qw farfield dipole.qlk > dipole.out 2> dipole.err
check "farfield exits 0" test $? -eq 0
check "nothing on stderr" test ! -s dipole.err
check "the title comes first" bash -c "head -1 dipole.out | grep -qx 'File : dipole.qlk FAR FIELD  Db  Power :  [.0-9]* Watts'"
check "then the angle ranges and an empty line" \
  bash -c "sed -n '2,4p' dipole.out | tr '\n' '|' | grep -qx 'Zen : -90º to  90º|Az  :  0º to  360º||'"
check "then the log's header" bash -c "sed -n '5,7p' dipole.out | tr '\n' '|' | grep -qx '=====================================|File : dipole.qlk FAR FIELD  in            Db            Power :       [.0-9]* *Watts| From Zenith : -90 º         to  90 º|'"
check "the increments" bash -c "sed -n '8p;10p' dipole.out | tr '\n' '|' | grep -qx ' in  2        º Increments| in  2        º Increments|'"
check "the column titles" bash -c "sed -n '13,14p' dipole.out | tr '\n' '|' | grep -qx 'ZENITH        AZIMUTH       VERTICAL      HORIZONTAL    TOTAL|ANGLE         ANGLE         PATTERN (DB)  PATTERN (DB)  PATTERN (DB)|'"
check "16471 rows" test "$(tail -n +15 dipole.out | wc -l)" -eq 16471
check "first row: zenith -90, broadside on the -x side" \
  bash -c "sed -n '15p' dipole.out | grep -qx -e '-90            0             2\.1[0-9]* *-999.00        2\.1[0-9]*'"
check "broadside on the +x side too, no horizontal field" \
  bash -c "grep -q '^ 90            0             2\.1[0-9]* *-999.00        2\.1[0-9]*\$' dipole.out"
check "along the wire nothing"  bash -c "grep -q '^ 0             0            -[0-9]*\.[0-9]* *-999.00       -' dipole.out"
check "zenith runs inside azimuth" bash -c "sed -n '106p' dipole.out | grep -q '^-90            2  '"

# Grid options, V/m and a distance; the power the fields are scaled to.
qw farfield dipole.qlk --zenith 90,1,0 --azimuth 0,1,0 --volts --distance 1000 --power 100 > volts.out
check "--volts titles the table in V/m" bash -c "head -1 volts.out | grep -qx 'File : dipole.qlk FAR FIELD  Volts/m  Power :  100 Watts'"
check "with the distance and power lines" bash -c "grep -qx '              RADIAL DISTANCE =  1000  METERS' volts.out && grep -qx '              POWER LEVEL =  100  WATTS' volts.out"
# sqrt(60 P G) / r with G = 1.64 (2.15 dBi), P = 100 W, r = 1000 m: about 0.099 V/m.
check "one row with E(theta) near 0.099 V/m and no E(phi)" \
  bash -c "test \$(tail -n +17 volts.out | wc -l) -eq 1 && tail -1 volts.out | grep -q '^ 90            0             0\.099  *[- ][0-9.]* *0\.00  *0\.00\$'"
qw farfield dipole.qlk --zenith 90,1,0 --azimuth 0,1,0 --volts --distance 0 > rE.out
check "--distance 0 gives r E and no distance line" \
  bash -c "! grep -q 'RADIAL DISTANCE' rE.out && tail -1 rE.out | grep -q '^ 90            0             [0-9]\.[0-9]'"

# CSV: the header and one row per direction, nothing else.
qw farfield dipole.qlk --zenith 0,45,2 --azimuth 0,90,3 --csv > gains.csv
check "--csv header" bash -c "head -1 gains.csv | grep -qx 'zenith,azimuth,vertical_db,horizontal_db,total_db'"
check "--csv rows" test "$(wc -l < gains.csv)" -eq 13
check "--csv broadside row" bash -c "grep -q '^90,0,2\.1[0-9]*,-999,2\.1[0-9]*\$' gains.csv"
qw farfield dipole.qlk --zenith 90,1,0 --azimuth 0,1,0 --csv --volts > volts.csv
check "--csv --volts" bash -c "tr -d '\n' < volts.csv | grep -qx 'zenith,azimuth,etheta_mag,etheta_phase,ephi_mag,ephi_phase90,0,[0-9.E-]*,[-0-9.E]*,0,0'"

# The log file gets the same table.
qw farfield dipole.qlk --zenith 0,10,9 --azimuth 0,90,1 --log run.log > logged.out
check "--log writes the table to the log" \
  bash -c "test \$(wc -l < logged.out) -eq 34 && diff <(tr -d '\r' < run.log | sed -n '/^=====/,\$p' | iconv -f CP1252 -t UTF-8) <(tail -n +5 logged.out)"

# Failures.
qw farfield nosource.qlk > /dev/null 2> nosource.err
check "a project without sources exits 1" bash -c "test $? -eq 1 && grep -q 'no source' nosource.err"
qw farfield negative.qlk > /dev/null 2> negative.err
check "an input power below 0 exits 1 with Power is Zero" bash -c "test $? -eq 1 && grep -qx 'Power is Zero' negative.err"
qw farfield "$examples/dipole.qlk" --frequency 1 > /dev/null 2> abnormal.err
check "an abnormal impedance exits 1" \
  bash -c "test $? -eq 1 && grep -q '^Abnormal Impedance: Antenna Z = 0.01 -  j [0-9.]*\$' abnormal.err && grep -qx 'and will generate overflows' abnormal.err"
qw farfield dipole.qlk --zenith 0,10 > /dev/null 2> bad.err
check "a malformed --zenith exits 1" bash -c "test $? -eq 1 && grep -q -- '--zenith takes START,STEP,STEPS' bad.err"
qw farfield dipole.qlk --power lots > /dev/null 2> bad.err
check "a malformed --power exits 1" bash -c "test $? -eq 1 && grep -q -- '--power takes' bad.err"
qw farfield "$examples/vertical.qlk" > /dev/null 2>&1
check "height 0 over ground without --yes exits 1" test $? -eq 1
qw farfield "$examples/vertical.qlk" --yes --zenith 0,30,3 --azimuth 0,1,0 > vertical.out
check "with --yes the vertical computes" test "$(tail -n +15 vertical.out | wc -l)" -eq 4

finish
