#!/usr/bin/env bash
# The long runs that the test command keeps short: the random removal and restore soak over
# QM_SOAK_CYCLES cycles (500 by default), quillmoor-cli killed at random instants
# QM_KILL_CYCLES times for a Run value and as often for a Startup folder shortcut (450 by default,
# about half of them killed) and QM_FUZZ_SECONDS of fuzzing per parser (300 by default). Not part of the test suite; takes about twenty minutes.
set -euo pipefail
export QM_SOAK_CYCLES=${QM_SOAK_CYCLES:-500}
export QM_KILL_CYCLES=${QM_KILL_CYCLES:-450}
export QM_FUZZ_SECONDS=${QM_FUZZ_SECONDS:-300}
exec "$(dirname "$0")/test.sh" -R 'RandomRemovalsAndRestores|KilledAtAnyInstant|Native' "$@"
