#!/usr/bin/env bash
# The desktop entry as `cmake --install` lays it down: clean for
# desktop-file-validate, no file types offered (the program takes no command
# line, so a file opened with it would be dropped), and an Exec line that
# asks for no file or address.
# Usage: desktop_entry.sh CMAKE BUILD_DIR DATADIR
set -euo pipefail
cmake_cmd=$1 build=$2 datadir=$3

if ! command -v desktop-file-validate >/dev/null 2>&1; then
  echo "SKIP: desktop-file-validate is missing (Debian package desktop-file-utils, see scripts/deps.sh)"
  exit 77
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
if ! DESTDIR="$root/dest" "$cmake_cmd" --install "$build" --prefix /usr >"$root/install.log" 2>&1; then
  cat "$root/install.log"
  echo "FAIL: cmake --install into a temporary DESTDIR"
  exit 1
fi
entry=$root/dest/usr/$datadir/applications/orvane.desktop
if [ ! -f "$entry" ]; then
  echo "FAIL: no desktop entry installed at /usr/$datadir/applications/orvane.desktop"
  exit 1
fi

failed=0
# A clean entry draws no word from the validator, not even a hint.
if ! report=$(desktop-file-validate "$entry" 2>&1) || [ -n "$report" ]; then
  printf '%s\n' "$report"
  echo "FAIL: desktop-file-validate"
  failed=1
fi
if grep -En '^[[:space:]]*MimeType[[:space:]]*(\[[^]]*\])?[[:space:]]*=' "$entry"; then
  echo "FAIL: the entry offers file types, but the program takes no command line"
  failed=1
fi
if ! grep -Eq '^[[:space:]]*Exec[[:space:]]*=' "$entry"; then
  echo "FAIL: the entry has no Exec line"
  failed=1
elif grep -En '^[[:space:]]*Exec[[:space:]]*=.*%[A-Za-z]' "$entry"; then
  echo "FAIL: the Exec line takes a field code, but the program takes no command line"
  failed=1
fi
exit "$failed"
