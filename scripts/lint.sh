#!/usr/bin/env bash
# Checks the tree's layout and shell: clang-format (check only) over every
# tracked C and C++ file, shellcheck (warnings and errors) over every tracked
# shell script. Changes nothing; its status is the verdict.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

status=0
mapfile -t sources < <(git ls-files '*.c' '*.h' '*.cpp' '*.hpp')
clang-format --dry-run --Werror "${sources[@]}" || status=1
mapfile -t scripts < <(git ls-files '*.sh')
shellcheck --external-sources --severity=warning "${scripts[@]}" || status=1
exit "$status"
