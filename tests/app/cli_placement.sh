#!/usr/bin/env bash
# quillwork-cli edit: sources and loads placed, moved and deleted by wire
# and slot, the refusals, and a placed source computing what the example's
# own source computes.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"

qw edit --help > "$work/help"
check "edit --help lists the source options" grep -q -- '--add-source WIRE:SLOT\[,MAGNITUDE,PHASE\]\[,current\]' "$work/help"

# The dipole example's source sits on pulse 5, the middle slot of its wire.
qw edit "$examples/dipole.qlk" "$work/placed.qlk" --delete-source 1 --add-source 1:5,1,0 2> "$work/placed.err"
check "a source placed on the middle slot exits 0" test $? -eq 0
check "and writes the example's S card" grep -q '^S   1 5    1    0' "$work/placed.qlk"
qw compute "$examples/dipole.qlk" 2> /dev/null | tail -n +2 > "$work/own.txt"
qw compute "$work/placed.qlk" 2> /dev/null | tail -n +2 > "$work/mine.txt"
check "and computes the example's report" cmp -s "$work/own.txt" "$work/mine.txt"
check "which has an impedance line" grep -q 'IMPEDANCE  = ' "$work/mine.txt"

qw edit "$examples/dipole.qlk" "$work/mixed.qlk" --add-source 1:3 --add-source 1:7,2,-90,current \
    --add-load 1:2,prlc,10,1.5,20 --add-load 1:8,rx,5,-3 --move-load 1:1:4 --delete-load 2 --move-source 3:1:1 2> /dev/null
check "a chain of operations exits 0" test $? -eq 0
check "the default source is 100 V at 0 degrees" grep -q '^S   2 3    100    0' "$work/mixed.qlk"
check "a current source with its values, moved to slot 1" grep -q '^S   3 1    2   -90   I' "$work/mixed.qlk"
check "the moved load" grep -q '^LS   1 4 0 2.5 0' "$work/mixed.qlk"
check "the deleted load's successor is load 2" grep -q '^L    2 8 5 -3' "$work/mixed.qlk"
check "and there are two loads" test "$(grep -c '^L' "$work/mixed.qlk")" -eq 2

refused() {  # NAME MESSAGE OPTIONS...
    local name="$1" message="$2"
    shift 2
    qw edit "$examples/dipole.qlk" "$work/refused.qlk" "$@" 2> "$work/refused.err"
    local rc=$?
    check "$name exits 1" test $rc -eq 1
    check "$name says: $message" grep -qF "$message" "$work/refused.err"
    check "$name writes nothing" test ! -e "$work/refused.qlk"
}
refused "a second source on a pulse" "Only one source per Pulse" --add-source 1:5
refused "a missing wire" "No Such Wire" --add-load 2:3,rx,50,0
refused "slot 0 of a free end" "Slot 0 of wire 1 has no pulse (slots 1 to 9)" --add-source 1:0
refused "an eleventh source" "No more than 10 sources can be placed" \
    --add-wire 1,-5,0,1,5,0,0.002,10 --add-source 1:1 --add-source 1:2 --add-source 1:3 --add-source 1:4 \
    --add-source 1:6 --add-source 1:7 --add-source 1:8 --add-source 1:9 --add-source 2:1 --add-source 2:2
refused "an unknown load kind" "KIND must be rx, prx, rlc or prlc" --add-load 1:3,xyz,1,2
refused "a load of missing values" "R,L,C are needed" --add-load 1:3,rlc,1,2
refused "a missing source" "There is no source 2" --delete-source 2
refused "a parallel R-L-C load without L and C" "Load Error" --add-load 1:3,prlc,50,0,0
finish
