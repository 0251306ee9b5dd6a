#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs every test: unit
# tests (release and ASan+UBSan builds), the Linux end-to-end tests under
# Xvfb, and the Windows build's tests under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh || exit 1
jobs=$(nproc)
passed=0
failed=0
suite_failed=()

tally() {  # tally NAME LOGFILE: adds up "N passed, M failed" or ctest's summary
  local name=$1 log=$2 p f
  if grep -q 'tests passed, ' "$log"; then
    f=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n1)
    p=$(( $(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n1) - f ))
  else
    p=$(sed -n 's/.*: \([0-9]*\) passed, \([0-9]*\) failed.*/\1/p' "$log" | tail -n1)
    f=$(sed -n 's/.*: \([0-9]*\) passed, \([0-9]*\) failed.*/\2/p' "$log" | tail -n1)
  fi
  passed=$((passed + ${p:-0}))
  failed=$((failed + ${f:-0}))
}

run_suite() {  # run_suite NAME COMMAND...
  local name=$1 log
  shift
  log=$(mktemp)
  echo "=== $name"
  "$@" 2>&1 | tee "$log" || suite_failed+=("$name")
  tally "$name" "$log"
  rm -f "$log"
}

build() {  # build PRESET
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$jobs"
}

run_suite "harness self-test" bash tests/harness_test.sh
run_suite "build (release)" build default
run_suite "unit tests (release)" ctest --preset default
run_suite "build (ASan+UBSan)" build asan
run_suite "unit tests (ASan+UBSan)" ctest --preset asan

rm -rf build/stage
cmake --install build/default --prefix build/stage >/dev/null
for script in tests/e2e/*_e2e.sh; do
  run_suite "$(basename "$script" .sh)" bash "$script" build/stage
done
run_suite "wayland_e2e" bash tests/wayland/wayland_e2e.sh build/stage build/default/bin/mofu_vpointer

run_suite "build (Windows)" build windows
run_suite "build (Windows installer)" cmake --build --preset windows --target installer
if [ -x tests/wine/run_all.sh ]; then
  run_suite "Windows tests under Wine" bash tests/wine/run_all.sh build/windows/bin/mofu.scr
fi

echo
for s in "${suite_failed[@]}"; do echo "failed suite: $s"; done
# A suite can fail without failing a test (a build, say): it counts as one.
[ "$failed" -eq 0 ] && failed=${#suite_failed[@]}
echo "all: $passed passed, $failed failed"
[ ${#suite_failed[@]} -eq 0 ] && [ "$failed" -eq 0 ]
