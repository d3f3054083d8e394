#!/usr/bin/env bash
# Benchmarks. First the stages of the solver (Google Benchmark: fill,
# factorisation, solution, far field, number texts) on the benchmark
# antennas; then quillwork-cli and nec2c side by side in the same run, whole
# processes, medians of repeated runs and their ratios, on antennas users
# build (bench/antennas: six unequal elements, a log-periodic-like array of
# ten elements, a ground plane with eight drooping radials over real ground,
# a sloping three-element quad; 300 unknowns each) and the six identical
# parallel wires: one frequency, the far field over 91 x 181 directions,
# and a 101-point sweep.
#
# BENCH_RUNS (default 21) runs of one frequency and of the far field, and
# BENCH_SWEEP_RUNS (default 3; 0 leaves the sweeps out) of the sweep, give
# each median;
# BENCH_ANTENNAS (default all) picks antennas by name, e.g. "yagi6 quad3".
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILLWORK_BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" >&2
runs="${BENCH_RUNS:-21}"
sweep_runs="${BENCH_SWEEP_RUNS:-3}"
antennas="${BENCH_ANTENNAS:-yagi6 logperiodic10 groundplane8 quad3 six_wires}"
command -v nec2c >/dev/null || { echo "bench: nec2c is missing (scripts/bootstrap.sh installs it)" >&2; exit 1; }

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
"$build/bench/quillwork-bench" --benchmark_min_time=0.5 --benchmark_filter="${BENCH_STAGE_FILTER:-.}"

# Median wall times in milliseconds of two commands run $1 times each, in
# turn (ours, theirs, ours, ...) so that a load that comes and goes falls
# on both alike; each process timed from its start to its end by
# quillwork-process-timer (posix_spawn and the monotonic clock, no shell in
# between). The two commands are separated by a lone "--"; prints
# "ours theirs".
median_pair_ms() {
  local n="$1"
  shift
  "$build/bench/quillwork-process-timer" "$n" "$@" | paste -sd' '
}

# The project file and the NEC decks of an antenna.
files() {
  case "$1" in
    six_wires) dir="$root/bench" ;;
    *) dir="$root/bench/antennas" ;;
  esac
  qlk="$dir/$1.qlk"
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
table="$work/table"
# One line of the table: antenna, case, ours, nec2c, ratio.
row() {
  awk -v a="$1" -v c="$2" -v o="$3" -v t="$4" \
    'BEGIN {printf "%-14s %-14s %10.1f %10.1f %8.2f\n", a, c, o, t, t / o}' | tee -a "$table"
}

echo
echo "quillwork-cli against nec2c, whole processes taken in turn, medians of $runs runs ($sweep_runs for sweeps), times in ms"
printf '%-14s %-14s %10s %10s %8s\n' antenna case quillwork nec2c ratio | tee "$table"
for a in $antennas; do
  files "$a"
  read -r ours theirs < <(median_pair_ms "$runs" "$build/quillwork-cli" compute "$qlk" -- nec2c -i "$dir/$a.nec" -o "$work/one.out")
  row "$a" "one frequency" "$ours" "$theirs"
  # quillwork-cli farfield writes the table over 91 zenith x 181 azimuth
  # directions; nec2c's RP card the same grid.
  read -r ours theirs < <(median_pair_ms "$runs" "$build/quillwork-cli" farfield "$qlk" -- nec2c -i "$dir/${a}_rp.nec" -o "$work/rp.out")
  row "$a" "far field" "$ours" "$theirs"
  # 140 to 150 MHz by 0.1 on every core; the sweep also takes the gain and
  # F/B of every point, nec2c only solves.
  [ "$sweep_runs" -gt 0 ] || continue
  read -r ours theirs < <(median_pair_ms "$sweep_runs" "$build/quillwork-cli" sweep "$qlk" --from 140 --to 150 --step 0.1 --csv -- \
    nec2c -i "$dir/${a}_sweep.nec" -o "$work/sweep.out")
  row "$a" "101-pt sweep" "$ours" "$theirs"
done
echo
echo "lowest ratio by case (floors 6, 10, 10; aims 10, 15, 20):"
for c in "one frequency" "far field" "101-pt sweep"; do
  grep -qF "$c" "$table" || continue
  grep -F "$c" "$table" | awk -v c="$c" 'NR == 1 || $NF < m {m = $NF; a = $1} END {printf "  %-14s %6.2f  (%s)\n", c, m, a}'
done
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"

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
  read -r ours theirs < <(median_pair_ms "$r" "$build/quillwork-cli" compute --large "$work/array$n.qlk" -- \
    nec2c -i "$work/array$n.nec" -o "$work/array$n.out")
  ours_mb=$(max_rss_mb "$build/quillwork-cli" compute --large "$work/array$n.qlk")
  theirs_mb=$(max_rss_mb nec2c -i "$work/array$n.nec" -o "$work/array$n.out")
  ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "%.2f", b / a}')
  printf '  %-9s %12s %12s %8s %12s %12s\n' "$n" "$ours" "$theirs" "$ratio" "$ours_mb" "$theirs_mb"
done
