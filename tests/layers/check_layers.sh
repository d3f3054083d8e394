#!/usr/bin/env bash
# The layer check passes on the sources, and names the line of an include
# that points upward, sideways or to Qt outside the desktop.
#   check_layers.sh SCRIPT SRC_DIR
set -u
script="$1"
src="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../app/lib/check.bash"

check "the sources keep their layers" bash "$script" "$src"

cp -r "$src" "$work/src"
printf '#include "commands/checks.h"\n' >> "$work/src/model/project.cpp"
printf '#include "plots/pattern_cut.h"\n' >> "$work/src/sweeps/resonance.h"
printf '#include <QString>\n' >> "$work/src/solver/pulses.cpp"
printf 'void Planted(qw::Context& c) { c.host->EnableCommand("CtlSources", true); }\n' >> "$work/src/fields/currents.cpp"
bash "$script" "$work/src" > "$work/out"
check "planted includes fail the check" test $? -eq 1
check "an upward include is named" grep -q '^model/project.cpp:[0-9]*: #include "commands/checks.h"' "$work/out"
check "a sideways include is named" grep -q '^sweeps/resonance.h:[0-9]*: #include "plots/pattern_cut.h"' "$work/out"
check "Qt outside the desktop is named" grep -q '^solver/pulses.cpp:[0-9]*: #include <QString>' "$work/out"
check "a command reached from the engine is named" grep -q '^fields/currents.cpp:[0-9]*:.*EnableCommand' "$work/out"
check "nothing else is named" test "$(wc -l < "$work/out")" -eq 4
finish
