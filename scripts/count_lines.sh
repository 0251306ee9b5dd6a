#!/usr/bin/env bash
# Counts lines that are neither blank nor comment: C, C++ and shell under
# tests/ against the C and C++ of the program itself (bench/ and build trees
# count as neither), and prints their ratio. Tests are kept near a third of
# the program; this is how to tell.
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

mapfile -t test_c < <(git ls-files 'tests/*.c' 'tests/*.h' 'tests/*.cpp' 'tests/*.hpp')
mapfile -t test_sh < <(git ls-files 'tests/*.sh')
mapfile -t code_c < <(git ls-files '*.c' '*.h' '*.cpp' '*.hpp' ':!tests/' ':!bench/')

tests=$(($(c_lines "${test_c[@]}") + $(sh_lines "${test_sh[@]}")))
code=$(c_lines "${code_c[@]}")
echo "tests $tests, code $code, ratio $(awk "BEGIN { printf \"%.2f\", $tests / $code }")"
