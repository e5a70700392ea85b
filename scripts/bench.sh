#!/usr/bin/env bash
# Builds Quillmoor and runs every benchmark under Wine; each prints its own figures.
# Not part of the test suite.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qm_install
# A build folder configured before bench/ existed learns of it here.
if [ -f "$BUILD/build.ninja" ] && [ ! -d "$BUILD/bench" ]; then
  cmake "$BUILD" >/dev/null
fi
qm_build
qm_prefix
trap qm_stop EXIT
qm_display
qm_wineserver
for exe in "$BUILD"/bench/*.exe; do
  echo "== $(basename "$exe" .exe)"
  "$BUILD/wine-run.sh" "$exe" </dev/null
done
