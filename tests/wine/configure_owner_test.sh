#!/usr/bin/env bash
# Started by the screen-saver settings as "/c:HWND": the dialog belongs to
# that window, which stays disabled until the dialog has closed. A small
# Windows program plays the settings page, closes the dialog and reports.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"

command -v x86_64-w64-mingw32-gcc >/dev/null ||
  { echo "x86_64-w64-mingw32-gcc not found: run scripts/deps.sh windows" >&2; exit 2; }
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
x86_64-w64-mingw32-gcc -O2 -municode -o "$WORK/config_parent.exe" "$TESTS_DIR/wine/config_parent.c" ||
  { echo "cannot build config_parent.exe" >&2; exit 2; }
SCR_WINDOWS=$(winepath -w "$SCR" 2>/dev/null)

# Waits until the report holds a line starting with this word.
wait_for_line() {  # wait_for_line FILE WORD SECONDS
  local tenths=$(($3 * 10))
  until grep -q "^$2 " "$1"; do
    tenths=$((tenths - 1))
    [ "$tenths" -le 0 ] && return 1
    sleep 0.1
  done
}

value() { sed -n "s/^$2 //p" "$1" | tr -d '\r'; }  # value FILE WORD

owned() {  # owned colon|space
  local report="$WORK/$1.txt" parent status
  : >"$report"
  wine "$WORK/config_parent.exe" "$SCR_WINDOWS" "$1" >"$report" 2>/dev/null &
  parent=$!
  wait_for_line "$report" centred 20 || { kill "$parent"; fail "no dialog within 20 s"; return 1; }
  [ "$(value "$report" owner)" = parent ] || fail "owned by $(value "$report" owner)"
  [ "$(value "$report" centred)" = 1 ] || fail "not centred on the screen"
  wait "$parent"
  status=$?
  [ "$status" -eq 0 ] || { fail "the settings page's program ended with $status"; return 1; }
  [ "$(value "$report" disabled_while_open)" = 1 ] || fail "the window was enabled while the dialog was open"
  [ "$(value "$report" enabled_after)" = 1 ] || fail "the window was not enabled again"
  [ "$(value "$report" exit)" = 0 ] || fail "exit status '$(value "$report" exit)'"
}

check "/c:HWND: owned by that window, centred, which is disabled until it closes" owned colon
check "/c HWND: owned by that window, centred, which is disabled until it closes" owned space
summary
