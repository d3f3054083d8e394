#!/usr/bin/env bash
# quillwork-cli edit: operations in order, the checks before writing, and
# an edit without operations writing what save writes.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"

qw edit --help > "$work/help"
check "edit --help shows its usage" grep -q 'Usage: quillwork-cli edit IN OUT' "$work/help"

qw save "$examples/dipole.qlk" "$work/saved.qlk" 2> /dev/null
qw edit "$examples/dipole.qlk" "$work/same.qlk" 2> "$work/same.err"
check "edit without operations exits 0" test $? -eq 0
check "and writes what save writes" cmp -s "$work/saved.qlk" "$work/same.qlk"

qw edit "$examples/dipole.qlk" "$work/two.qlk" --add-wire 1,-5,0,1,5,0,0.002,10 --shift 0,0,1:2 --scale 2:2 2> "$work/two.err"
check "add, shift and scale exit 0" test $? -eq 0
check "the new wire is shifted, then scaled" grep -q '^GW  2   10   2.000  -10.000   2.000   2.000   10.000   2.000     0.002' "$work/two.qlk"

qw edit "$examples/dipole.qlk" "$work/conn.qlk" --connect --add-wire 9,9,9,0,5,3,0.002,4 2> /dev/null
check "--connect starts the wire at the previous end" grep -q '^GW  2   4   0.000   5.000   0.000   0.000   5.000   3.000     0.002' "$work/conn.qlk"

qw edit "$examples/dipole.qlk" "$work/taper.qlk" --taper 1,0.004,0.002,0.4,0.1,end1 2> /dev/null
check "a taper on end 1 gives three wires" test "$(grep -c '^GW' "$work/taper.qlk")" -eq 3

qw edit "$examples/dipole.qlk" "$work/bad.qlk" --add-wire 0,-5,0,0,5,0,0.002,10 2> "$work/bad.err"
check "an identical wire exits 1" test $? -eq 1
check "with the check's message" grep -q 'Wire # 1 and # 2 identical' "$work/bad.err"
check "and writes nothing" test ! -e "$work/bad.qlk"

qw edit "$examples/dipole.qlk" "$work/del.qlk" --delete-wires 1 2> "$work/del.err"
check "deleting every wire exits 1" test $? -eq 1
check "and says there are no wires" grep -q 'No wires defined' "$work/del.err"

qw edit "$examples/dipole.qlk" "$work/seg.qlk" --add-wire 0,0,0,0,0,1,0.002,51 2> "$work/seg.err"
check "51 segments are refused" bash -c "grep -q 'Value is too large' '$work/seg.err' && test ! -e '$work/seg.qlk'"

qw edit "$examples/dipole.qlk" "$work/rot.qlk" --rotate q,90 2> "$work/rot.err"
check "a bad axis exits 1 with the reason" bash -c "grep -q 'AXIS x, y or z' '$work/rot.err' && test ! -e '$work/rot.qlk'"
finish
