#!/usr/bin/env bash
# Computes the input impedance of a set of structures with quillwork-cli and
# with nec2c (Debian's package, a NEC-2 engine) and prints them side by side
# with the relative difference |Z - Z_nec| / |Z_nec|.
#
# The two methods place their unknowns differently: a pulse at the centre of
# a wire of n segments corresponds to the centre segment of n + 1 segments in
# NEC. The matrix uses perfect-ground images, so grounded structures are
# compared with NEC's perfect ground (GN 1).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cli="${QUILLWORK_CLI:-$root/build/quillwork-cli}"
command -v nec2c >/dev/null || { echo "validate: nec2c is missing (scripts/bootstrap.sh installs it)" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

printf '%-34s %22s %22s %8s\n' "structure" "QUILLWORK R + jX" "nec2c R + jX" "diff"
compare() {  # compare NAME QLK-CARDS NEC-CARDS   (cards separated by "|")
  local name="$1"
  tr '|' '\n' <<< "$2" | sed 's/$/\r/' > "$work/a.qlk"
  tr '|' '\n' <<< "$3" > "$work/a.nec"
  local json r x
  json="$("$cli" compute --yes --json "$work/a.qlk" 2>/dev/null)" || { printf '%-34s %s\n' "$name" "quillwork-cli failed"; return; }
  r="$(sed -E 's/.*"impedance": \{"r": ([^,]+), "x": ([^}]+)\}.*/\1/' <<< "$json")"
  x="$(sed -E 's/.*"impedance": \{"r": ([^,]+), "x": ([^}]+)\}.*/\2/' <<< "$json")"
  nec2c -i "$work/a.nec" -o "$work/a.out" >/dev/null 2>&1 || { printf '%-34s %s\n' "$name" "nec2c failed"; return; }
  local nr nx
  read -r nr nx < <(grep -A3 'ANTENNA INPUT PARAMETERS' "$work/a.out" | tail -1 | awk '{print $7, $8}')
  awk -v n="$name" -v r="$r" -v x="$x" -v nr="$nr" -v nx="$nx" 'BEGIN {
    d = sqrt((r - nr) ^ 2 + (x - nx) ^ 2) / sqrt(nr ^ 2 + nx ^ 2);
    printf "%-34s %10.2f %+10.2f j %10.2f %+10.2f j %7.1f%%\n", n, r, x, nr + 0, nx + 0, 100 * d }'
}

# A straight half-wave dipole in free space at several segment counts
# (lambda = 1 m, 0.48 m long, 1 mm radius).
for n in 10 20 40 80; do
  c=$((n / 2)); m=$((n + 1)); cm=$((m / 2 + 1))
  compare "dipole 0.48 lambda, $n segments" \
    "CE|FREE|F 299.8|GW 1 $n 0 0 -0.24 0 0 0.24 0.002|S 1 $c 1 0" \
    "CE|GW 1 $m 0 0 -0.24 0 0 0.24 0.001|GE 0|EX 0 1 $cm 0 1 0|FR 0 1 0 0 299.8 0|XQ|EN"
done

# A thicker and a thinner dipole.
compare "dipole, radius 5 mm, 20 segments" \
  "CE|FREE|F 299.8|GW 1 20 0 0 -0.24 0 0 0.24 0.01|S 1 10 1 0" \
  "CE|GW 1 21 0 0 -0.24 0 0 0.24 0.005|GE 0|EX 0 1 11 0 1 0|FR 0 1 0 0 299.8 0|XQ|EN"
compare "dipole, radius 0.1 mm, 20 segments" \
  "CE|FREE|F 299.8|GW 1 20 0 0 -0.24 0 0 0.24 0.0002|S 1 10 1 0" \
  "CE|GW 1 21 0 0 -0.24 0 0 0.24 0.0001|GE 0|EX 0 1 11 0 1 0|FR 0 1 0 0 299.8 0|XQ|EN"

# A quarter-wave monopole on perfect ground: the ground pulse is the feed.
for n in 10 20; do
  m=$((n + 1))
  compare "monopole on perfect ground, $n seg" \
    "CE|GND|OVER PERFECT|HEIGHT 0|F 299.8|GW 1 $n 0 0 0 0 0 0.24 0.002|S 1 1 1 0" \
    "CE|GW 1 $n 0 0 0 0 0 0.24 0.001|GE 1|GN 1|EX 0 1 1 0 1 0|FR 0 1 0 0 299.8 0|XQ|EN"
done

# A horizontal dipole half a wavelength over perfect ground.
compare "dipole 0.5 lambda over ground" \
  "CE|GND|OVER PERFECT|HEIGHT 0.5|F 299.8|GW 1 20 0 -0.24 0 0 0.24 0 0.002|S 1 10 1 0" \
  "CE|GW 1 21 0 -0.24 0.5 0 0.24 0.5 0.001|GE 1|GN 1|EX 0 1 11 0 1 0|FR 0 1 0 0 299.8 0|XQ|EN"

# Bent dipoles: a straight centre wire (fed at its centre) whose two arms
# bend away by 30 and by 90 degrees at its ends; the corners converge more
# slowly, so each is shown at three segment counts.
for bend in 30 90; do
  read -r dy dz < <(awk -v b="$bend" 'BEGIN {r = b * atan2(0, -1) / 180; printf "%.6f %.6f\n", 0.16 * sin(r), 0.16 * cos(r)}')
  for n in 10 20 40; do
    c=$((n / 2)); m=$((n + 1)); cm=$((m / 2 + 1))
    up=$(awk -v a="$dz" 'BEGIN {printf "%.6f", 0.08 + a}')
    compare "bent dipole, ${bend} degree bends, $n seg" \
      "CE|FREE|F 299.8|GW 1 $n 0 0 -0.08 0 0 0.08 0.002|GW 2 $n 0 0 0.08 0 $dy $up 0.002|GW 3 $n 0 0 -0.08 0 $dy -$up 0.002|S 1 $c 1 0" \
      "CE|GW 1 $m 0 0 -0.08 0 0 0.08 0.001|GW 2 $n 0 0 0.08 0 $dy $up 0.001|GW 3 $n 0 0 -0.08 0 $dy -$up 0.001|GE 0|EX 0 1 $cm 0 1 0|FR 0 1 0 0 299.8 0|XQ|EN"
  done
done

# The bundled 3-element Yagi, in free space.
compare "3-element Yagi (example), free" \
  "CE|FREE|F 14.2|GW 1 10 -2.6 -5.3 0 -2.6 5.3 0 0.012|GW 2 10 0 -5.05 0 0 5.05 0 0.012|GW 3 10 2.1 -4.8 0 2.1 4.8 0 0.012|S 1 14 1 0" \
  "CE|GW 1 11 -2.6 -5.3 0 -2.6 5.3 0 0.006|GW 2 11 0 -5.05 0 0 5.05 0 0.006|GW 3 11 2.1 -4.8 0 2.1 4.8 0 0.006|GE 0|EX 0 2 6 0 1 0|FR 0 1 0 0 14.2 0|XQ|EN"

# The bundled dipole example: 10 m at 14.2 MHz, 10 m over ground, 2.5 uH at the feed.
compare "20 m dipole (example), loaded" \
  "CE|GND|OVER PERFECT|HEIGHT 10|F 14.2|GW 1 10 0 -5 0 0 5 0 0.002|S 1 5 1 0|LS 1 5 0 2.5 0" \
  "CE|GW 1 11 0 -5 10 0 5 10 0.001|GE 1|GN 1|LD 0 1 6 6 0 2.5E-6 0|EX 0 1 6 0 1 0|FR 0 1 0 0 14.2 0|XQ|EN"

# A full-wave square loop: sharp corners converge slowly.
for n in 6 10 20; do
  m=$((n + 1)); c=$((n / 2)); cm=$((m / 2 + 1))
  compare "square loop 0.25 lambda sides, $n seg" \
    "CE|FREE|F 299.8|Q 1 $n 0 0.25 0.002|S 1 $c 1 0" \
    "CE|GW 1 $m 0 0.125 0 0 -0.125 0 0.001|GW 2 $m 0 -0.125 0 0 -0.125 0.25 0.001|GW 3 $m 0 -0.125 0.25 0 0.125 0.25 0.001|GW 4 $m 0 0.125 0.25 0 0.125 0 0.001|GE 0|EX 0 1 $cm 0 1 0|FR 0 1 0 0 299.8 0|XQ|EN"
done

# The benchmark antennas (bench/antennas), each project file against its own
# NEC deck. Over real ground nec2c takes its reflection-coefficient ground
# (GN 2) and the matrix here perfect-ground images, so those differ a little
# more.
for a in yagi6 logperiodic10 groundplane8 quad3; do
  f="$root/bench/antennas/$a"
  compare "benchmark antenna $a" "$(tr -d '\r' < "$f.qlk" | paste -sd '|')" "$(paste -sd '|' "$f.nec")"
done

# ---------------------------------------------------------------------------
# Far field: the total gain (dBi) of the bundled Yagi and dipole examples
# from quillwork-cli farfield and from nec2c's RP card over the same grid,
# in free space and over perfect ground (NEC's GN 1), with the antenna at
# its height. Directions map one to one: our zenith angle is NEC's THETA
# (from +z) and our azimuth is NEC's PHI (from +x towards +y). Both grids
# run in 2-degree steps over the whole sphere (free space) or the upper
# half (ground); "maximum" is the largest total gain of each engine's grid
# with the first direction where it lies (a dipole has a ring of them).
# A gain below -100 dB is a null: its difference is not shown.
echo
echo "Far field, total gain in dBi: zenith/azimuth here = THETA/PHI of nec2c's RP card"
printf '%-34s %-17s %17s %17s %7s\n' "structure" "direction" "QUILLWORK" "nec2c" "diff"
pattern() {  # pattern NAME QLK-CARDS NEC-CARDS ZENITH-STEPS "ZEN,AZ ZEN,AZ ..."
  local name="$1" steps="$4" dirs="$5"
  tr '|' '\n' <<< "$2" | sed 's/$/\r/' > "$work/p.qlk"
  tr '|' '\n' <<< "$3|RP 0 $((steps + 1)) 180 1000 0 0 2 2|EN" > "$work/p.nec"
  "$cli" farfield --yes --csv --zenith "0,2,$steps" --azimuth 0,2,179 "$work/p.qlk" > "$work/ours.csv" 2>/dev/null ||
    { printf '%-34s %s\n' "$name" "quillwork-cli failed"; return; }
  nec2c -i "$work/p.nec" -o "$work/p.out" >/dev/null 2>&1 || { printf '%-34s %s\n' "$name" "nec2c failed"; return; }
  awk '/RADIATION PATTERNS/ {on = 1; skip = 4; next}
       on && skip > 0 {skip--; next}
       on && NF >= 5 && $1 ~ /^-?[0-9.]+$/ {printf "%.0f,%.0f,%s\n", $1, $2, $5; next}
       on {on = 0}' "$work/p.out" > "$work/nec.csv"
  awk -F, -v name="$name" -v dirs="$dirs" '
    FNR == 1 && FILENAME ~ /ours/ {next}
    FILENAME ~ /ours/ {k = sprintf("%.0f,%.0f", $1, $2); ours[k] = $5
                       if (!(om) || $5 > ourmax) {ourmax = $5; ourat = k; om = 1}; next}
    {k = $1 "," $2; nec[k] = $3; if (!(nm) || $3 > necmax) {necmax = $3; necat = k; nm = 1}}
    END {
      printf "%-34s %-17s %8.2f at %-6s %8.2f at %-6s %+7.2f\n", name, "maximum", ourmax, ourat, necmax, necat, ourmax - necmax
      n = split(dirs, d, " ")
      for (i = 1; i <= n; i++) {
        if (!(d[i] in ours) || !(d[i] in nec)) {printf "%-34s %-17s not on the grid\n", "", d[i]; continue}
        diff = ours[d[i]] < -100 || nec[d[i]] < -100 ? "   null" : sprintf("%+7.2f", ours[d[i]] - nec[d[i]])
        printf "%-34s %-17s %17.2f %17.2f %s\n", "", "zen,az " d[i], ours[d[i]], nec[d[i]], diff
      }
    }' "$work/ours.csv" "$work/nec.csv"
}

yagi_qlk="CE|UNITS Meters|F 14.2|GW 1 10 -2.6 -5.3 0 -2.6 5.3 0 0.012|GW 2 10 0 -5.05 0 0 5.05 0 0.012|GW 3 10 2.1 -4.8 0 2.1 4.8 0 0.012|S 1 14 1 0"
yagi_nec="CE|GW 1 11 -2.6 -5.3 15 -2.6 5.3 15 0.006|GW 2 11 0 -5.05 15 0 5.05 15 0.006|GW 3 11 2.1 -4.8 15 2.1 4.8 15 0.006"
pattern "3-element Yagi (example), free" "$yagi_qlk|FREE" "$yagi_nec|GE 0|EX 0 2 6 0 1 0|FR 0 1 0 0 14.2 0" \
  90 "90,0 90,180 90,90 60,0 30,0 120,0"
pattern "3-element Yagi, 15 m, perfect gnd" "$yagi_qlk|GND|OVER PERFECT|HEIGHT 15" \
  "$yagi_nec|GE 1|GN 1|EX 0 2 6 0 1 0|FR 0 1 0 0 14.2 0" 45 "70,0 70,180 50,0 80,30 30,90 0,0"

dipole_qlk="CE|UNITS Meters|F 14.2|GW 1 10 0 -5 0 0 5 0 0.002|S 1 5 1 0|LS 1 5 0 2.5 0"
dipole_nec="CE|GW 1 11 0 -5 10 0 5 10 0.001"
pattern "20 m dipole (example), free" "$dipole_qlk|FREE" \
  "$dipole_nec|GE 0|LD 0 1 6 6 0 2.5E-6 0|EX 0 1 6 0 1 0|FR 0 1 0 0 14.2 0" 90 "90,0 90,46 60,0 30,90 120,180"
pattern "20 m dipole, 10 m, perfect gnd" "$dipole_qlk|GND|OVER PERFECT|HEIGHT 10" \
  "$dipole_nec|GE 1|GN 1|LD 0 1 6 6 0 2.5E-6 0|EX 0 1 6 0 1 0|FR 0 1 0 0 14.2 0" 45 "0,0 30,0 60,0 60,46 80,90"
