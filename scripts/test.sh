#!/usr/bin/env bash
# Builds Quillmoor and runs the whole test suite under Wine; arguments go to ctest
# (for example: scripts/test.sh -R RegistryLayer).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qm_install wixl msitools
qm_build
qm_prefix
trap qm_stop EXIT
qm_display
qm_wineserver
ctest --test-dir "$BUILD" -j1 --output-on-failure "$@"
