#!/usr/bin/env bash
# Counts lines that are neither blank nor comment: every line that tests
# (anything under a tests/ folder or named *_test.*, C, C++ and shell, the
# helper programs and the shell library included) against the C and C++ of
# the program itself, and prints their ratio. bench/ and build trees count as
# neither. Tests are kept near a third of the program; this is how to tell.
set -euo pipefail
cd "$(dirname "$0")/.."

c_lines() {  # c_lines FILE...: drops // and /* */ comments, then blank lines
  [ $# -eq 0 ] && { echo 0; return; }
  cat "$@" | perl -0777 -pe 's{/\*.*?\*/}{}gs; s{(?<![:"\\])//[^\n]*}{}g' | grep -cv '^[[:space:]]*$' || true
}
sh_lines() {  # sh_lines FILE...: drops lines that are only a comment
  [ $# -eq 0 ] && { echo 0; return; }
  cat "$@" | grep -v '^[[:space:]]*#' | grep -cv '^[[:space:]]*$' || true
}

testing='^(tests/|.*/tests/)|_test\.[^/]*$'
mapfile -t files < <(git ls-files ':!bench/' | grep -E '\.(c|h|cpp|hpp|sh)$')
mapfile -t test_c < <(printf '%s\n' "${files[@]}" | grep -E "$testing" | grep -vE '\.sh$' || true)
mapfile -t test_sh < <(printf '%s\n' "${files[@]}" | grep -E "$testing" | grep -E '\.sh$' || true)
mapfile -t code_c < <(printf '%s\n' "${files[@]}" | grep -vE "$testing" | grep -vE '\.sh$' || true)

tests=$(($(c_lines "${test_c[@]}") + $(sh_lines "${test_sh[@]}")))
code=$(c_lines "${code_c[@]}")
echo "tests $tests, code $code, ratio $(awk "BEGIN { printf \"%.2f\", $tests / $code }")"
