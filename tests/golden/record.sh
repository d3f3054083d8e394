#!/usr/bin/env bash
# record.sh CLI [EXAMPLES_DIR]: runs every case of cases/cases.list with the
# quillwork-cli CLI and keeps the outputs as the expected ones, under
# expected/NAME/, replacing what was there. tests/app/cli_golden.sh then
# checks that every later build writes the same bytes.
#
# Record only from a build whose outputs are known to be right: the test
# holds every later build to them.
set -u
shopt -s nullglob
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ $# -lt 1 ] || [ ! -x "$1" ]; then
  echo "usage: $0 QUILLWORK-CLI [EXAMPLES_DIR]" >&2
  exit 2
fi
source "$here/runs.bash"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/runs"
golden_setup "$1" "${2:-$here/../../examples}" "$work/runs"

names=()
while read -r line; do
  golden_run_case "$line" || { echo "record.sh: cannot run the case: $line" >&2; exit 1; }
  names+=("$case_name")
done < <(golden_case_lines)

fault=0
for name in "${names[@]}"; do
  out="$golden_work/$name/out"
  # The two-worker sweep is compared with the one-worker recording: they
  # must agree before anything is kept.
  for f in "$out"/sweep_j2.*; do
    if ! cmp -s "$f" "$out/$(golden_expected_name "${f##*/}")"; then
      echo "record.sh: $name: ${f##*/} differs from the one-worker sweep" >&2
      fault=1
    fi
    rm -f "$f"
  done
done
# No output may depend on where the runs took place.
for path in "$work" "$golden_examples" "$golden_cases" "$HOME"; do
  if grep -rlaF "$path" "$golden_work"/*/out > "$work/paths"; then
    echo "record.sh: outputs that hold the path $path:" >&2
    cat "$work/paths" >&2
    fault=1
  fi
done
[ "$fault" -eq 0 ] || { echo "record.sh: nothing recorded" >&2; exit 1; }

rm -rf "$golden_expected"
mkdir -p "$golden_expected"
for name in "${names[@]}"; do
  golden_store "$golden_work/$name/out" "$golden_expected/$name"
done
echo "recorded ${#names[@]} cases, $(find "$golden_expected" -type f | wc -l) files," \
  "$(du -sb "$golden_expected" | cut -f1) bytes under $golden_expected"
