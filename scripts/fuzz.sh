#!/usr/bin/env bash
# Builds a fuzz target with clang and libFuzzer and runs it for a bounded
# time: scripts/fuzz.sh [SECONDS] [TARGET] (default 600 seconds, the project
# reader; TARGET pattern-file fuzzes the pattern-file reader, nec-deck the
# NEC deck reader, its expressions and the deck writer).
# Needs Debian's clang and libclang-rt-14-dev. New inputs found are kept in
# fuzz/corpus-work/ (not committed); crashes are written to build-fuzz/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-600}"
target="${2:-project-reader}"
case "$target" in
  project-reader) seeds=("$root/fuzz/seeds" "$root/examples"); corpus="$root/fuzz/corpus-work" ;;
  pattern-file) seeds=("$root/fuzz/pattern-seeds"); corpus="$root/fuzz/corpus-work-pattern" ;;
  nec-deck) seeds=("$root/fuzz/nec-seeds"); corpus="$root/fuzz/corpus-work-nec" ;;
  *) echo "fuzz: unknown target $target (project-reader, pattern-file or nec-deck)" >&2; exit 1 ;;
esac
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is missing; install it with: apt-get install -y clang libclang-rt-14-dev" >&2
  exit 1
fi
build="$root/build-fuzz"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLWORK_BUILD_TESTS=OFF -DQUILLWORK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target "fuzz-$target"
mkdir -p "$corpus"
cd "$build"
"./fuzz/fuzz-$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -fork="$(nproc)" \
  "$corpus" "${seeds[@]}"
