#!/usr/bin/env bash
# Checks every include of the sources against the layers: a folder may
# include its own headers and those of the folders below it, never those
# of a folder above or beside it; Qt only in the desktop's folders; the
# main window's commands (enabling, captions, check marks) are reached only
# from commands/ and above, never from the engine.
#   scripts/check-layers.sh [SRC_DIR]    (default: the project's src/)
# Prints each offending line as FILE:LINE: text, and exits 1 if there is one.
set -uo pipefail
src="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/src}"
cd "$src" || exit 2

# The order of the layers; folders of equal rank may not include each other.
declare -A rank=([platform]=0 [model]=1 [solver]=2 [fields]=3 [plots]=4 [sweeps]=4
                 [commands]=5 [ui]=6 [app]=7)
qt_allowed='^(ui|app/desktop|app/helix)/'
engine='^(model|solver|fields|plots|sweeps)/'

bad=0
while IFS= read -r file; do
  folder="${file%%/*}"
  own="${rank[$folder]:-}"
  if [ -z "$own" ]; then
    echo "$file: the folder '$folder' is in no layer (add it to scripts/check-layers.sh)"
    bad=1
    continue
  fi
  while IFS=: read -r line text; do
    target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_]*\)\/.*/\1/p' <<<"$text")
    if [ -n "$target" ] && [ "$target" != "$folder" ]; then
      theirs="${rank[$target]:-}"
      if [ -z "$theirs" ] || [ "$theirs" -ge "$own" ]; then
        echo "$file:$line: $text   ($folder may not include $target)"
        bad=1
      fi
    fi
    if grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' <<<"$text" && ! [[ "$file" =~ $qt_allowed ]]; then
      echo "$file:$line: $text   (Qt only in ui/, app/desktop/ and app/helix/)"
      bad=1
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file")
  if [[ "$file" =~ $engine ]]; then
    while IFS= read -r hit; do
      echo "$file:$hit   (the engine does not reach the main window's commands)"
      bad=1
    done < <(grep -nE '(EnableCommand|SetCommandCaption|CheckCommand)[[:space:]]*\(' "$file")
  fi
done < <(find . -type f \( -name '*.cpp' -o -name '*.h' \) | sed 's|^\./||' | sort)

if [ "$bad" -eq 0 ]; then
  echo "layers: every include points to its own layer or one below"
fi
exit "$bad"
