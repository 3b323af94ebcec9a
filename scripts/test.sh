#!/usr/bin/env bash
# Runs every test: native unit tests, the same under the sanitizers, the Windows build and its
# tests under Wine, and a short fuzz run of the formatter. Exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || exit 1
jobs=$(nproc)
passed=0
failed=0

stage() {
  local name=$1
  shift
  echo "==== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "==== $name FAILED"
    failed=$((failed + 1))
  fi
}

build_and_test() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs" >/dev/null &&
    ctest --preset "$1" -j "$jobs" --timeout 300
}

windows_tests() {
  local prefix
  prefix=$(mktemp -d /tmp/tessary-wine.XXXXXX)
  # Each run gets its own Wine prefix; Wine's own chatter goes to a file. The prefix is set up
  # completely (wineserver -w waits for it) before ctest runs tests in parallel, so that they
  # do not race to set up the same prefix.
  export WINEPREFIX=$prefix WINEDEBUG=-all
  { wineboot -i && wineserver -w; } >/dev/null 2>"$prefix.log"
  build_and_test windows 2>>"$prefix.log"
  local status=$?
  [ $status -eq 0 ] || tail -n 50 "$prefix.log"
  wineserver -k >/dev/null 2>&1 || true
  unset WINEPREFIX WINEDEBUG
  rm -rf "$prefix" "$prefix.log"
  return $status
}

fuzz_formatter() {
  cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$jobs" --target fuzz_format \
    >/dev/null && build/fuzz/fuzz/fuzz_format -max_total_time="${FUZZ_SECONDS:-30}" \
    -print_final_stats=0 2>&1 | tail -n 3
}

stage "native unit tests" build_and_test native
stage "native unit tests, AddressSanitizer and UndefinedBehaviorSanitizer" build_and_test native-asan
stage "Windows build, unit tests under Wine" windows_tests
stage "fuzzing the formatter" fuzz_formatter

echo "stages: $passed passed, $failed failed"
[ $failed -eq 0 ]
