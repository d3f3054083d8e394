#!/usr/bin/env bash
# Builds the project and computes the bundled 20 m dipole example.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILLWORK_BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" >&2
exec "$build/quillwork-cli" compute "${1:-$root/examples/dipole.qlk}"
