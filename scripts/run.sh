#!/usr/bin/env bash
# Builds the project and starts the desktop program on the bundled 20 m
# dipole example (or on the project given). On a machine without a display
# it computes the example on the console instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILLWORK_BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" >&2
# The bundled example is opened from a copy in the build folder: the pattern
# file and any save then land there, never in examples/.
if [ $# -ge 1 ]; then
  project="$1"
else
  mkdir -p "$build/examples"
  [ -f "$build/examples/dipole.qlk" ] || cp "$root/examples/dipole.qlk" "$build/examples/"
  project="$build/examples/dipole.qlk"
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/quillwork" ]; then
  exec "$build/quillwork" "$project"
fi
echo "run: no display; computing $project on the console" >&2
exec "$build/quillwork-cli" compute "$project"
