#!/usr/bin/env bash
# Benchmarks: the solver's stages (Google Benchmark), then quillwork-cli
# compute and nec2c on the same 300-unknown structure, side by side, as
# medians of repeated whole-process runs, and their ratio.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILLWORK_BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" >&2
runs="${BENCH_RUNS:-21}"

"$build/bench/quillwork-bench" --benchmark_min_time=0.5

# Median wall time in milliseconds of a command run $runs times, timed by
# bash's own clock ($EPOCHREALTIME, microseconds): a $(date) after the
# command would add the start-up of a process to every time.
median_ms() {
  local times=() t0 t1
  for _ in $(seq "$runs"); do
    t0=${EPOCHREALTIME/[.,]/}; "$@" > /dev/null 2>&1; t1=${EPOCHREALTIME/[.,]/}
    times+=($(( t1 - t0 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR] = $1} END {printf "%.2f", a[int((NR + 1) / 2)] / 1000}'
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ours=$(median_ms "$build/quillwork-cli" compute "$root/bench/six_wires.qlk")
theirs=$(median_ms nec2c -i "$root/bench/six_wires.nec" -o "$work/six.out")
echo
echo "one frequency, 300 unknowns, whole process (median of $runs runs):"
printf '  quillwork-cli compute  %8s ms\n  nec2c                  %8s ms\n' "$ours" "$theirs"
awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "  ratio nec2c / quillwork: %.2f\n", b / a}'

# The far field over the default grid (91 zenith x 181 azimuth directions)
# of the same structure: quillwork-cli farfield against nec2c's RP card
# (bench/six_wires_rp.nec), both solving first and writing the whole table.
solve="$theirs"
ours=$(median_ms "$build/quillwork-cli" farfield "$root/bench/six_wires.qlk")
theirs=$(median_ms nec2c -i "$root/bench/six_wires_rp.nec" -o "$work/six_rp.out")
echo
echo "solve and far field over 91 x 181 directions, 300 unknowns, whole process (median of $runs runs):"
printf '  quillwork-cli farfield %8s ms\n  nec2c with RP card     %8s ms  (%s ms without it)\n' "$ours" "$theirs" "$solve"
awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "  ratio nec2c / quillwork: %.2f\n", b / a}'

# A 101-point sweep (140 to 150 MHz by 0.1) of the same structure:
# quillwork-cli sweep on every core against nec2c's FR card
# (bench/six_wires_sweep.nec). The sweep also takes the gain and F/B of
# every point; nec2c only solves.
ours=$(runs=3; median_ms "$build/quillwork-cli" sweep "$root/bench/six_wires.qlk" --from 140 --to 150 --step 0.1 --csv)
theirs=$(runs=3; median_ms nec2c -i "$root/bench/six_wires_sweep.nec" -o "$work/six_sweep.out")
echo
echo "101-point sweep, 300 unknowns, $(nproc) cores, whole process (median of 3 runs):"
printf '  quillwork-cli sweep    %8s ms\n  nec2c with FR card     %8s ms\n' "$ours" "$theirs"
awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "  ratio nec2c / quillwork: %.2f\n", b / a}'
