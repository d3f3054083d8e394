#!/usr/bin/env bash
# Configures and builds the project into build/ (Release by default).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILLWORK_BUILD_DIR:-$root/build}"
"$root/scripts/bootstrap.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-Release}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
