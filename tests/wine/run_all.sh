#!/usr/bin/env bash
# Runs every Windows test against one mofu.scr, on one private X server and
# Wine prefix, and adds up what they report.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
wine_test_setup "$0" "$@"

start=$SECONDS
total_passed=0
total_failed=0
for script in "$WINE_TESTS_DIR"/*_test.sh; do
  name=$(basename "$script" .sh)
  echo "=== $name"
  output=$(MOFU_WINE_DISPLAY=1 bash "$script" "$SCR" 2>&1)
  echo "$output"
  summary=$(tail -n1 <<<"$output")
  if [[ $summary =~ ^$name:\ ([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    total_passed=$((total_passed + BASH_REMATCH[1]))
    total_failed=$((total_failed + BASH_REMATCH[2]))
  else
    echo "FAIL - $name did not finish"
    total_failed=$((total_failed + 1))
  fi
done

echo "Wine tests took $((SECONDS - start)) s"
echo "Wine tests: $total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
