#!/usr/bin/env bash
# quillwork-cli with a settings file and a log: --settings and --log on every
# command, the settings' defaults applied, and the failures that let the run
# go on or stop it.
set -u
cli="$(realpath "$1")"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
cd "$work"

# A project without frequency, feed-line impedance or unit cards.
printf 'GW 1 9 0 0 -2.5 0 0 2.5 0.001\r\nS 1 5 1 0\r\n' > "$work/plain.qlk"

# Written by hand: odd case, blanks around "=", LF line ends, a key of its own.
printf '[defaults]\n coaximpedance = 75 \nDEFAULTFREQUENCY=7.05\nFormat = Float\nMine=kept\n' > "$work/odd.ini"
cp "$work/odd.ini" "$work/odd.before"
qw save "$work/plain.qlk" "$work/odd.qlk" --settings "$work/odd.ini" 2> "$work/odd.err"
check "save with --settings exits 0" test $? -eq 0
check "the default frequency of the settings applies" grep -q $'^F  7.050\r$' "$work/odd.qlk"
check "the feed-line impedance of the settings applies" grep -q $'^Coax  75\r$' "$work/odd.qlk"
check "the float number format of the settings applies" grep -q $'^Height  0.000E+00\r$' "$work/odd.qlk"
check "the settings file is only read" cmp -s "$work/odd.ini" "$work/odd.before"
check "no message" test ! -s "$work/odd.err"

printf '[DEFAULTS]\r\nDefaultFrequency=0\r\nCoaxImpedance=-5\r\nFormat=Fixed\r\n' > "$work/bad.ini"
qw save "$work/plain.qlk" "$work/bad.qlk" --settings "$work/bad.ini" 2> "$work/bad.err"
check "invalid values give the defaults" \
  bash -c "grep -q $'^F  14.100\r$' '$work/bad.qlk' && grep -q $'^Coax  50\r$' '$work/bad.qlk' && test ! -s '$work/bad.err'"

qw show "$work/plain.qlk" --settings "$work/none.ini" > "$work/none.out" 2> "$work/none.err"
check "a missing settings file lets the run go on" test $? -eq 0
check "and says so" grep -qx 'INI File not found, Set defaults first' "$work/none.err"
check "and creates no file" test ! -e "$work/none.ini"

mkdir "$work/folder.ini"
qw show "$work/plain.qlk" --settings "$work/folder.ini" > /dev/null 2> "$work/folder.err"
check "a folder as settings file lets the run go on" test $? -eq 0
check "with the reason" grep -q 'The settings could not be read from' "$work/folder.err"

qw show "$work/plain.qlk" --log "$work/run.log" > "$work/log.out" 2> "$work/log.err"
check "show with --log exits 0" test $? -eq 0
printf 'QUILLWORK  v1.0 Log File\r\n\r\n' > "$work/header"
check "the log starts with its header and an empty line" \
  cmp -s -n "$(stat -c %s "$work/header")" "$work/header" "$work/run.log"
qw show "$work/plain.qlk" > "$work/plain.out" 2> /dev/null
check "--log does not change the report" cmp -s "$work/log.out" "$work/plain.out"
check "without --log no log is written" \
  bash -c "test -z \"\$(find '$work' -iname '*.log' ! -path '$work/run.log')\""

# Without --settings the program reads QUILLWORK.INI in its own folder when it
# may write there, else in $XDG_CONFIG_HOME/quillwork/; it writes nothing into
# either, nor into the user's other folders. A copy of the program in a
# folder of its own, run with the user's folders in the work folder, first
# with its folder writable, then read-only (as root only an immutable folder
# is).
trap 'chattr -i "$work/program" 2> /dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/home" "$work/config/quillwork" "$work/state"
cp "$cli" "$work/program/"
printf '[DEFAULTS]\r\nCoaxImpedance=75\r\n' > "$work/config/quillwork/QUILLWORK.INI"
snapshot() { (cd "$work" && find program home config state -printf '%p %s\n' | sort && cat config/quillwork/QUILLWORK.INI); }
snapshot > "$work/folders.before"
folders_unchanged() { snapshot | cmp -s - "$work/folders.before"; }
user_runs() (  # user_runs NAME: save, compute and currents as a user runs them
  export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
  p="$work/program/quillwork-cli"
  "$p" save "$work/plain.qlk" "$work/$1.qlk" 2> "$work/$1.err" &&
    "$p" compute "$work/$1.qlk" --ground free > /dev/null 2>> "$work/$1.err" &&
    "$p" currents "$work/$1.qlk" --ground free > /dev/null 2>> "$work/$1.err"
)
check "runs from a writable program folder exit 0" user_runs writable
check "and read no settings of the user's" grep -q $'^Coax  50\r$' "$work/writable.qlk"
check "and leave the program and user folders as they were" folders_unchanged
chmod a-w "$work/program"
[ -w "$work/program" ] && chattr +i "$work/program" 2> /dev/null
if [ -w "$work/program" ]; then
  echo "skip the read-only program folder: this folder cannot be made read-only here"
else
  check "runs from a read-only program folder exit 0" user_runs readonly
  check "and read the user's settings" grep -q $'^Coax  75\r$' "$work/readonly.qlk"
  check "and leave the program and user folders as they were" folders_unchanged
fi

qw show "$work/plain.qlk" --log "$work/missing/run.log" > /dev/null 2> "$work/nolog.err"
check "a log that cannot be written stops the run" test $? -eq 1
check "with the path" grep -q "missing/run.log" "$work/nolog.err"

qw show "$work/plain.qlk" --settings > /dev/null 2> "$work/novalue.err"
check "--settings needs a value" bash -c "test $? -eq 1 && grep -q 'option --settings needs a value' '$work/novalue.err'"
qw show --help > "$work/help"
check "the help names --settings and --log" bash -c "grep -q -- '--settings PATH' '$work/help' && grep -q -- '--log PATH' '$work/help'"

finish
