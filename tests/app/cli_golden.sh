#!/usr/bin/env bash
# quillwork-cli against the outputs recorded under tests/golden/expected/:
# every case of tests/golden/cases/cases.list is run again, as record.sh ran
# it (tests/golden/runs.bash), and every report, message, exit status, log,
# debug file, data file, picture and pattern file must be the recorded one
# byte for byte. A difference names the case and the file and shows the
# first differing lines.
set -u
shopt -s nullglob
cli="$1"
examples="$2"
source "$(dirname "${BASH_SOURCE[0]}")/lib/check.bash"
source "$testlib/../../golden/runs.bash"
mkdir "$work/runs"
golden_setup "$cli" "$examples" "$work/runs"

# differ EXPECTED ACTUAL LABEL SHOW: says where the two files part and, when
# SHOW is 1, the first differing lines (recorded "<", written ">").
differ() {
  local where
  where="$(cmp "$1" "$2" 2>&1 | head -n 1)"
  echo "  $3 differs from the recording: ${where##* differ: }"
  if [ "$4" -eq 1 ]; then diff "$1" "$2" | head -n 20 | sed 's/^/    /'; fi
}

# as_recorded NAME: true when the outputs of the case just run are the
# recorded ones: the same files, with the same bytes.
as_recorded() {
  local name="$1" out="$golden_work/$1/out" recorded="$golden_expected/$1" same=0 shown=0 f e base
  if [ ! -d "$recorded" ]; then
    echo "  $name: nothing recorded (tests/golden/record.sh records it)"
    return 1
  fi
  for f in "$out"/*; do
    base="${f##*/}"
    if ! golden_recorded "$recorded" "$(golden_expected_name "$base")" "$work/recorded"; then
      echo "  $name/$base is new: no such file was recorded"
      same=1
    elif ! cmp -s "$work/recorded" "$f"; then
      # The lines of the first three files of a case are enough to see why.
      shown=$((shown + 1))
      differ "$work/recorded" "$f" "$name/$base" "$((shown <= 3))"
      same=1
    fi
  done
  for e in "$recorded"/*; do
    base="${e##*/}"
    base="${base%.gz}"
    base="${base%.same}"
    if [ ! -f "$out/$base" ]; then
      echo "  $name/$base was recorded but is no longer written"
      same=1
    fi
  done
  return "$same"
}

names=()
while read -r line; do
  golden_run_case "$line"
  check "$case_name: every output as recorded" as_recorded "$case_name"
  names+=("$case_name")
done < <(golden_case_lines)

# A recording whose case left the list would no longer be checked.
unrun() {
  local d found=0 n
  for d in "$golden_expected"/*/; do
    d="${d%/}"
    d="${d##*/}"
    for n in "${names[@]}"; do [ "$n" = "$d" ] && continue 2; done
    echo "  expected/$d has no case in cases.list"
    found=1
  done
  return "$found"
}
check "every recording belongs to a case that was run" unrun
check "the cases were found" test "${#names[@]}" -ge 40

finish
