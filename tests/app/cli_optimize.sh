#!/usr/bin/env bash
# quillwork-cli optimize: a resonance run on the loaded dipole by its load's
# L, checked by computing the project written; a gain run on the Yagi that
# raises the gain; the log lines, the closing lines and the refusals.
set -u
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
settings="--settings $work/empty.ini"
: > "$work/empty.ini"
cp "$examples/loaded.qlk" "$examples/yagi3.qlk" "$work/"

"$cli" optimize "$work/loaded.qlk" --target resonance --vary l --lock load:2 --log-opt "$work/opt.log" $settings \
    > "$work/res.out" 2> "$work/res.err"
check "the resonance run exits 0" test $? -eq 0
check "workopt.qlk is written beside the project" test -s "$work/workopt.qlk"
check "the log names the project and the variables" bash -c "sed -n 1p '$work/res.out' | grep -qx 'Optimizing .*loaded.qlk' && sed -n 2p '$work/res.out' | grep -qx 'Resonance L Loads'"
check "the step lines have their layout" bash -c "sed -n 3p '$work/res.out' | grep -qE '^Step : 0 Delta = [0-9]\.[0-9]E[+-][0-9]{2} Load L # 1$' && sed -n 4p '$work/res.out' | grep -qE '^ Z= +[0-9]+\.[0-9]{2} [+-]  j +[0-9]+\.[0-9]{2}    SWR = +[0-9]+\.[0-9]{2}$'"
check "the run ends with Stopped!" test "$(tail -1 "$work/res.out")" = "Stopped!"
check "--log-opt holds the log lines with CR LF" bash -c "tr -d '\r' < '$work/opt.log' | cmp -s - <(head -n -1 '$work/res.out')"
check "the locked load 2 keeps its L" bash -c "grep -q '^LS  *2 15 2 10 0' '$work/workopt.qlk'"
"$cli" compute "$work/workopt.qlk" $settings > "$work/check.out" 2>&1
x=$(sed -n 's/^ *IMPEDANCE *= *[0-9.]* *\([+-]\) *j *\([0-9.]*\) Ohms.*/\2/p' "$work/check.out")
check "the written project computes to |X| <= 0.1 ohm (X = $x)" awk -v x="$x" 'BEGIN { exit !(x != "" && x <= 0.1) }'

"$cli" optimize "$work/yagi3.qlk" --target gain --vary x --limit 30 --secondary -50 --delta 0.002 --out "$work/yagi-opt.qlk" $settings \
    > "$work/gain.out" 2> "$work/gain.err"
check "the gain run exits 0" test $? -eq 0
check "the gain run ends at Maximum Delta" bash -c "tail -2 '$work/gain.out' | tr '\n' '|' | grep -qx 'Maximum Delta|Stopped!|'"
gain() { "$cli" sweep "$1" --from 14.2 --to 14.2 --step 0.1 --csv $settings | sed -n 2p | cut -d, -f5; }
before=$(gain "$work/yagi3.qlk")
after=$(gain "$work/yagi-opt.qlk")
check "the gain rose ($before -> $after dBi)" awk -v a="$before" -v b="$after" 'BEGIN { exit !(b > a + 0.01) }'
check "no log file without --log-opt" bash -c "! ls '$work' | grep -qi '\.opt$'"

"$cli" optimize "$work/yagi3.qlk" --target gain --vary q $settings > /dev/null 2> "$work/bad.err"
check "an unknown variable is refused" bash -c "test $? -eq 1 && grep -q 'unknown variable' '$work/bad.err'"
"$cli" optimize "$work/yagi3.qlk" --target gain --vary x --lock wire:9 $settings > /dev/null 2> "$work/bad.err"
check "a lock beyond the wires is refused" grep -q 'no wire 9' "$work/bad.err"
"$cli" optimize "$work/yagi3.qlk" --target gain --vary r --out "$work/noload.qlk" $settings > "$work/noload.out" 2> "$work/noload.err"
check "loads asked for, none there: the message and exit 1" bash -c "test $? -eq 1 && grep -q 'No Loads in this antenna' '$work/noload.err'"
"$cli" optimize "$work/yagi3.qlk" --target gain $settings > /dev/null 2>&1
check "--vary is required" test $? -eq 1

finish
