#!/usr/bin/env bash
# The shell suites' own bookkeeping: a scratch suite on tests/lib.sh plants
# failing cases, above all a `fail` followed by a cleanup that succeeds, and
# must report them as failed. Needs neither an X server nor Wine. Keeps its
# own count, so a broken `check` cannot vouch for itself.
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

cat >"$WORK/scratch.sh" <<EOF
set -u
. "$HERE/lib.sh"
at_exit 'touch "$WORK/cleaned"'
fail_then_cleanup() { fail "planted"; rm -f "\$0.none"; }
fail_in_substitution() { local x; x=\$(fail "planted" 2>&1; echo done); [ -n "\$x" ]; }
fail_in_pipeline() { echo a | while read -r _; do fail "planted"; done; return 0; }
fail_in_a_loop_then_return_zero() { for n in 1 2; do [ "\$n" -eq 2 ] || fail "n \$n"; done; return 0; }
non_zero_without_fail() { false; }
passes() { [ 1 -eq 1 ]; }
leaves_a_process() { sleep 60 & STARTED+=(\$!); echo "\$!" >"$WORK/started"; echo "\$CASE_DIR" >"$WORK/case_dir"; }
check "fail then cleanup" fail_then_cleanup
check "fail in substitution" fail_in_substitution
check "fail in pipeline" fail_in_pipeline
check "fail in a loop" fail_in_a_loop_then_return_zero
check "non-zero" non_zero_without_fail
check "passes" passes
check "leaves a process" leaves_a_process
fail "outside a case" "planted"
summary
EOF
out=$(bash "$WORK/scratch.sh" 2>/dev/null)
status=$?
for name in "fail then cleanup" "fail in substitution" "fail in pipeline" "fail in a loop" "non-zero"; do
  expect "'$name' fails its case" has_line "$out" "FAIL - $name"
done
expect "a clean case passes" has_line "$out" "ok   - passes"
expect "a fail outside any case counts as one" has_line "$out" "FAIL - outside a case planted"
expect "the summary adds it all up" has_line "$out" "scratch: 2 passed, 6 failed"
expect "the suite exits non-zero" test "$status" -ne 0
expect "no case is reported twice" test "$(grep -c -- '- fail then cleanup$' <<<"$out")" -eq 1
expect "cleanups run when the suite ends" test -e "$WORK/cleaned"
expect "what a case started is stopped when it ends" test ! -e "/proc/$(cat "$WORK/started")"
expect "a case's scratch folder goes with it" test ! -e "$(cat "$WORK/case_dir")"

echo "harness_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
