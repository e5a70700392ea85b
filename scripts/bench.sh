#!/usr/bin/env bash
# Builds Quillmoor and runs every benchmark (each bench_*.exe below build/bench) under Wine,
# printing its figures. Not part of the test suite; benchmarks never fail on timing.
# An argument picks benchmarks by name: scripts/bench.sh listing
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

# bench_verify checks copies of the signature tests' fixtures.
QM_BUILD_DIR="$BUILD" bash "$ROOT/tests/scripts/signed-fixtures.sh"

mapfile -t benches < <(find "$BUILD/bench" -name "bench_*${1:-}*.exe" 2>/dev/null | sort)
if ((${#benches[@]} == 0)); then
  echo "No benchmark matches in $BUILD/bench" >&2
  exit 1
fi
status=0
for exe in "${benches[@]}"; do
  echo "== $(basename "$exe" .exe)"
  (cd "$(dirname "$exe")" && wine "$exe" </dev/null) || { echo "$(basename "$exe") failed" >&2; status=1; }
  echo
done
exit "$status"
