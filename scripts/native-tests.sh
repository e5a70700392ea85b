#!/usr/bin/env bash
# Builds the code that reads files others may have written for Linux with AddressSanitizer
# and UndefinedBehaviorSanitizer, runs its tests, then fuzzes the .reg parser, the layout
# parser, the shortcut reader and the version resource reader for QM_FUZZ_SECONDS each (10 by
# default). Ends with
# "N passed, M failed".
set -uo pipefail
source "$(dirname "$0")/lib.sh"
qm_install

native=$BUILD/native
seconds=${QM_FUZZ_SECONDS:-10}
passed=0
failed=0
check() { # name, then the command; its output goes to $native/<name>.log
  local name=$1 log=$native/$1.log
  shift
  if "$@" >"$log" 2>&1; then
    passed=$((passed + 1))
    echo "PASS $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name (log: $log)"
    tail -n 40 "$log"
  fi
}

start=$SECONDS
if [ ! -f "$native/build.ninja" ]; then
  cmake -S "$ROOT/tests/native" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
fi
cmake --build "$native" -- -j"$(nproc)" || { echo "0 passed, 5 failed"; exit 1; }
echo "native build: $((SECONDS - start)) s"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
check native_tests "$native/native_tests"
tail -n 3 "$native/native_tests.log"

# Each fuzzer works on a copy of its seeds, so that what it learns stays in the build folder.
fuzz() { # target, then seed files
  local target=$1 corpus=$native/corpus/$1
  shift
  mkdir -p "$corpus" "$native/crashes"
  cp -f "$@" "$corpus"/
  local began=$SECONDS
  check "$target" "$native/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -dict="$ROOT/tests/native/$target.dict" -print_final_stats=1 \
    -artifact_prefix="$native/crashes/$target-" "$corpus"
  echo "$target: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$native/$target.log" | grep -o '[0-9]*$') runs in $((SECONDS - began)) s"
}
fuzz fuzz_reg_parser "$ROOT"/tests/native/corpus/fuzz_reg_parser/*
fuzz fuzz_layout_parser "$ROOT"/tests/native/corpus/fuzz_layout_parser/* "$ROOT"/resources/*.layout
fuzz fuzz_shell_link "$ROOT"/tests/native/corpus/fuzz_shell_link/*
# Real programs with version resources, when the cross build has made the signature fixtures.
fuzz fuzz_version_resource "$ROOT"/tests/native/corpus/fuzz_version_resource/* \
  $(ls "$BUILD"/tests/signature_fixture_*.exe 2>/dev/null)

echo "native build and fuzzing: $((SECONDS - start)) s"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
