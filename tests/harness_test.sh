#!/usr/bin/env bash
# The shell suites' own bookkeeping: a scratch suite on each of the two
# libraries (tests/e2e/lib.sh, tests/wine/lib.sh) plants failing cases, above
# all a `fail` followed by a cleanup that succeeds, and must report them as
# failed. Needs neither an X server nor Wine. Keeps its own count, so a
# broken `check` cannot vouch for itself.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
passed=0
failed=0

expect() {  # expect NAME CONDITION...
  if "${@:2}"; then
    passed=$((passed + 1))
    echo "ok   - $1"
  else
    failed=$((failed + 1))
    echo "FAIL - $1"
  fi
}
has_line() { grep -qxF -- "$2" <<<"$1"; }
lacks_line() { ! grep -qxF -- "$2" <<<"$1"; }

# The same planted cases for both libraries; $ok and $bad are how each
# prints a passed and a failed case.
cases_body='
fail_then_cleanup() { fail "planted"; rm -f "$0.none"; }
fail_in_substitution() { local x; x=$(fail "planted" 2>&1; echo done); [ -n "$x" ]; }
fail_in_pipeline() { echo a | while read -r _; do fail "planted"; done; return 0; }
fail_in_a_loop_then_return_zero() { for n in 1 2; do [ "$n" -eq 2 ] || fail "n $n"; done; return 0; }
non_zero_without_fail() { false; }
passes() { [ 1 -eq 1 ]; }
check "fail then cleanup" fail_then_cleanup
check "fail in substitution" fail_in_substitution
check "fail in pipeline" fail_in_pipeline
check "fail in a loop" fail_in_a_loop_then_return_zero
check "non-zero" non_zero_without_fail
check "passes" passes
'

# The Linux end-to-end library.
cat >"$WORK/e2e_suite.sh" <<EOF
set -u
. "$HERE/e2e/lib.sh"
$cases_body
fail "a fail outside any case"
summary "scratch"
EOF
out=$(bash "$WORK/e2e_suite.sh" 2>/dev/null)
status=$?
for name in "fail then cleanup" "fail in substitution" "fail in pipeline" "fail in a loop" "non-zero"; do
  expect "e2e: '$name' fails its case" has_line "$out" "FAIL - $name"
done
expect "e2e: a clean case passes" has_line "$out" "ok   - passes"
expect "e2e: a fail outside any case fails the suite" has_line "$out" "scratch: 1 passed, 6 failed"
expect "e2e: the suite exits non-zero" test "$status" -ne 0

# The Wine library, with both its forms: check + fail MESSAGE, and the
# written-out pass NAME / fail NAME MESSAGE.
cat >"$WORK/wine_suite.sh" <<EOF
set -u
source "$HERE/wine/lib.sh"
$cases_body
pass "old style passes"
fail "old style fails" "planted"
finish
EOF
out=$(bash "$WORK/wine_suite.sh" 2>/dev/null)
status=$?
for name in "fail then cleanup" "fail in substitution" "fail in pipeline" "fail in a loop" "non-zero"; do
  expect "wine: '$name' fails its case" has_line "$out" "FAIL - $name"
done
expect "wine: a clean case passes" has_line "$out" "ok - passes"
expect "wine: the written-out fail NAME MESSAGE still counts" has_line "$out" "FAIL - old style fails: planted"
expect "wine: the suite adds up both forms" has_line "$out" "wine_suite: 2 passed, 6 failed"
expect "wine: the suite exits non-zero" test "$status" -ne 0
expect "wine: no case is reported twice" lacks_line "$out" "ok - fail then cleanup"

echo "harness self-test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
