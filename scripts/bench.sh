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

# Large models: the array of unequal parallel wires of bench/large_array.h
# (0.3 m apart, 144 MHz, free space; 6, 20 and 40 wires of 50 unknowns for
# 300, 1000 and 2000 unknowns), written as a project file and as the same
# structure in a NEC deck. One frequency, whole process, both programs in
# the same run (medians of 5 runs at 300, 3 above), and the largest
# resident memory of each (/usr/bin/time -v, when installed).
large_model() {  # unknowns, "qlk" or "nec"
  awk -v n="$1" -v kind="$2" 'BEGIN {
    wires = n / 50
    if (kind == "qlk") printf "CM Array of unequal wires, %d pulses, 144 MHz\r\nCE\r\nFREE\r\nUNITS Meters\r\nF 144\r\n", n
    else printf "CM Array of unequal wires, %d unknowns, 144 MHz\r\nCE\r\n", n
    for (w = 0; w < wires; ++w) {
      half = 0.45 + 0.0065 * w; x = 0.3 * w; top = half + 0.002 * w
      if (kind == "qlk") printf "GW %d 51 %.4f 0 %.4f %.4f 0 %.4f 0.002\r\n", w + 1, x, -half, x, top
      else printf "GW %d 50 %.4f 0 %.4f %.4f 0 %.4f 0.001\r\n", w + 1, x, -half, x, top
    }
    if (kind == "qlk") printf "S 1 25 1 0\r\nCOAX 50\r\n"
    else printf "GE 0\r\nEX 0 1 25 0 1 0\r\nFR 0 1 0 0 144 0\r\nXQ\r\nEN\r\n"
  }'
}
max_rss_mb() {
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk '/Maximum resident set size/ {printf "%.0f", $6 / 1024}'
  else
    printf 'n/a'
  fi
}
echo
echo "large models, one frequency, $(nproc) cores, whole process:"
printf '  %-9s %12s %12s %8s %12s %12s\n' unknowns "quillwork ms" "nec2c ms" ratio "quillwork MB" "nec2c MB"
for n in 300 1000 2000; do
  large_model "$n" qlk > "$work/array$n.qlk"
  large_model "$n" nec > "$work/array$n.nec"
  r=5; [ "$n" -gt 300 ] && r=3
  ours=$(runs=$r; median_ms "$build/quillwork-cli" compute --large "$work/array$n.qlk")
  theirs=$(runs=$r; median_ms nec2c -i "$work/array$n.nec" -o "$work/array$n.out")
  ours_mb=$(max_rss_mb "$build/quillwork-cli" compute --large "$work/array$n.qlk")
  theirs_mb=$(max_rss_mb nec2c -i "$work/array$n.nec" -o "$work/array$n.out")
  ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "%.2f", b / a}')
  printf '  %-9s %12s %12s %8s %12s %12s\n' "$n" "$ours" "$theirs" "$ratio" "$ours_mb" "$theirs_mb"
done
