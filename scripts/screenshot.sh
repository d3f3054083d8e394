#!/usr/bin/env bash
# Builds the desktop program and takes pictures of its windows: starts it
# under a virtual X display (xvfb-run), opens a project (the dipole example
# unless one is given), computes it, and saves PNG pictures of the main
# window and of every dialog into FOLDER.
#   scripts/screenshot.sh FOLDER [PROJECT]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUILLWORK_BUILD_DIR:-$root/build}"
if [ $# -lt 1 ]; then
  echo "usage: scripts/screenshot.sh FOLDER [PROJECT]" >&2
  exit 2
fi
folder="$(mkdir -p "$1" && cd "$1" && pwd)"
source="$(realpath "${2:-$root/examples/dipole.qlk}")"
"$root/scripts/build.sh" >&2
# The program, its settings and log, and a copy of the project (the pattern
# window writes the project's pattern file beside it) go into a scratch
# folder, so that the pictures show the built-in defaults and nothing of the
# user's or of examples/ is touched.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
project="$scratch/$(basename "$source")"
cp "$source" "$project"
export XDG_CONFIG_HOME="$scratch/config" XDG_STATE_HOME="$scratch/state"
cp "$build/quillwork" "$scratch/quillwork"
xvfb-run -a -s "-screen 0 1280x900x24" "$scratch/quillwork" --screenshots "$folder" "$project"
ls "$folder"
