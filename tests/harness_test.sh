#!/usr/bin/env bash
# The shell suites' own bookkeeping: a scratch suite on tests/lib.sh plants
# failing cases, above all a `fail` followed by a step that succeeds, and
# must report them as failed, and stop what a case started. Needs neither an
# X server nor Wine. Keeps its own count, so a broken `check` cannot vouch
# for itself.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failed=0
expect() {  # expect NAME CONDITION...
  if "${@:2}"; then echo "ok   - $1"; else failed=$((failed + 1)) && echo "FAIL - $1"; fi
}

cat >"$WORK/scratch.sh" <<EOF
. "$HERE/lib.sh"
fail_then_succeed() { fail "planted"; rm -f "\$0.none"; }
fail_in_substitution() { local x; x=\$(fail "planted" 2>&1; echo done); [ -n "\$x" ]; }
fail_in_pipeline() { echo a | while read -r _; do fail "planted"; done; return 0; }
leaves_a_process() { sleep 60 & STARTED+=(\$!); echo "\$!" >"$WORK/started"; }
check "fail then succeed" fail_then_succeed
check "fail in substitution" fail_in_substitution
check "fail in pipeline" fail_in_pipeline
check "non-zero" false
check "leaves a process" leaves_a_process
summary
EOF
out=$(bash "$WORK/scratch.sh" 2>/dev/null) && failed=$((failed + 1)) && echo "FAIL - the suite exits 0"
for name in "fail then succeed" "fail in substitution" "fail in pipeline" "non-zero"; do
  expect "'$name' fails its case" grep -qxF -- "FAIL - $name" <<<"$out"
done
expect "a clean case passes; the summary adds up" grep -qxF -- "scratch: 1 passed, 4 failed" <<<"$out"
expect "what a case started is stopped when it ends" test ! -e "/proc/$(cat "$WORK/started")"
echo "harness_test: $failed failed"
[ "$failed" -eq 0 ]
