#!/usr/bin/env bash
# `cmake --install` of a build puts the programs, the desktop entry, the
# file type of project files and the icon where a desktop finds them.
#   install_layout.sh BUILD_DIR
source "$(dirname "$0")/../app/lib/check.bash"
build="$1"
prefix="$work/prefix"
check "cmake --install succeeds" cmake --install "$build" --prefix "$prefix"
check "the desktop program" test -x "$prefix/bin/quillwork"
check "the command-line program" test -x "$prefix/bin/quillwork-cli"
check "the helix generator" test -x "$prefix/bin/quillwork-helix"
check "the helix generator's --help" bash -c "'$prefix/bin/quillwork-helix' --help | grep -q '^Usage: quillwork-helix'"
check "--help names what it writes" bash -c "'$prefix/bin/quillwork-helix' --help | grep -q 'writes a QUILLWORK project'"
desktop="$prefix/share/applications/quillwork.desktop"
mime="$prefix/share/mime/packages/quillwork.xml"
check "the desktop entry" test -f "$desktop"
check "it opens the file it is given" grep -qx 'Exec=quillwork %f' "$desktop"
check "it handles project files" grep -qx 'MimeType=application/x-quillwork-project;' "$desktop"
check "the file type of project files" grep -q '<mime-type type="application/x-quillwork-project">' "$mime"
check "in both cases" bash -c "grep -q 'pattern=\"\\*\\.qlk\"' '$mime' && grep -q 'pattern=\"\\*\\.QLK\"' '$mime'"
if command -v xmllint > /dev/null; then
  check "the file type is well-formed XML" xmllint --noout "$mime"
fi
check "the icon" test -s "$prefix/share/icons/hicolor/scalable/apps/quillwork.svg"
finish
