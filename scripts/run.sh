#!/usr/bin/env bash
# Builds the project and starts the desktop program on the bundled 20 m
# dipole example (or on the project given). On a machine without a display
# it computes the example on the console instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILLWORK_BUILD_DIR:-$root/build}"
project="${1:-$root/examples/dipole.qlk}"
"$root/scripts/build.sh" >&2
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/quillwork" ]; then
  exec "$build/quillwork" "$project"
fi
echo "run: no display; computing $project on the console" >&2
exec "$build/quillwork-cli" compute "$project"
