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

for form in colon space; do
  name="/c:HWND"
  [ "$form" = space ] && name="/c HWND"
  report="$WORK/$form.txt"
  : >"$report"
  wine "$WORK/config_parent.exe" "$SCR_WINDOWS" "$form" >"$report" 2>/dev/null &
  parent_pid=$!
  if ! wait_for_line "$report" centred 20; then
    fail "$name: the dialog opens" "not seen within 20 s"
    kill "$parent_pid" 2>/dev/null
    wait "$parent_pid" 2>/dev/null
    continue
  fi
  owner=$(value "$report" owner)
  if [ "$owner" = parent ]; then pass "$name: owned by that window"; else fail "$name: owned by that window" "owner: $owner"; fi
  centred=$(value "$report" centred)
  if [ "$centred" = 1 ]; then pass "$name: still centred on the screen"; else fail "$name: still centred on the screen" "placed elsewhere"; fi
  wait "$parent_pid"
  status=$?
  if [ "$status" -ne 0 ]; then
    fail "$name: the dialog closes" "the test program ended with $status"
    continue
  fi
  disabled=$(value "$report" disabled_while_open)
  enabled=$(value "$report" enabled_after)
  exit_status=$(value "$report" exit)
  if [ "$disabled" = 1 ]; then pass "$name: window disabled while the dialog is open"; else fail "$name: window disabled while the dialog is open" "it was enabled"; fi
  if [ "$enabled" = 1 ] && [ "$exit_status" = 0 ]; then
    pass "$name: window enabled again when the dialog has closed"
  else
    fail "$name: window enabled again when the dialog has closed" "enabled: '$enabled', exit status '$exit_status'"
  fi
done

summary
