#!/usr/bin/env bash
# The screen-saver command line as Windows passes it: which switch shows
# what (the parsing itself is unit-tested), and only one copy at a time.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"

window_width() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'; }

gives() {  # gives ARGS EXPECTED: exit, message, dialog or saver
  # Unquoted on purpose: "/p 1234" is a switch and a window handle.
  # shellcheck disable=SC2086
  start_scr $1
  local id
  case $2 in
    exit)
      wait_exit 10 || { stop_scr; fail "still running after 10 s"; return 1; }
      [ "$SCR_STATUS" -eq 0 ] || fail "exit status $SCR_STATUS"
      [ -z "$(window_named "($PROGRAM_TITLE|$DIALOG_TITLE)")" ] || fail "a window was shown"
      return 0 ;;
    message)  # a small box titled "Mofu Saver"; Enter closes it
      id=$(find_window "$PROGRAM_TITLE" 15) || { stop_scr; fail "no message box"; return 1; }
      [ "$(window_width "$id")" -lt "$SCREEN_WIDTH" ] || fail "a full-screen window"
      keys "$id" Return ;;
    dialog)
      id=$(find_window "$DIALOG_TITLE" 15) || { stop_scr; fail "no settings dialog"; return 1; }
      keys "$id" alt+F4 ;;
    saver)
      id=$(find_window "$PROGRAM_TITLE" 15) || { stop_scr; fail "no saver window"; return 1; }
      [ "$(window_width "$id")" -eq "$SCREEN_WIDTH" ] || fail "not full-screen"
      keys "$id" space ;;
  esac
  wait_exit 10 || { stop_scr; fail "still running after closing it"; return 1; }
  [ "$SCR_STATUS" -eq 0 ] || fail "exit status $SCR_STATUS"
}

# A second copy started while the first is open ends at once and shows nothing.
second_copy() {  # second_copy FIRST TITLE SECOND
  start_scr "$1"
  local first=$SCR_PID before
  find_window "$2" 15 >/dev/null || { stop_scr; fail "the first copy showed no window"; return 1; }
  before=$(window_named "($PROGRAM_TITLE|$DIALOG_TITLE)" | wc -l)
  # shellcheck disable=SC2086
  start_scr $3
  wait_exit 10 || { stop_scr; fail "the second copy did not end"; }
  [ "${SCR_STATUS:-0}" -eq 0 ] || fail "the second copy ended with status $SCR_STATUS"
  kill -0 "$first" 2>/dev/null || fail "the first copy ended too"
  [ "$(window_named "($PROGRAM_TITLE|$DIALOG_TITLE)" | wc -l)" -eq "$before" ] || fail "a window was added"
  SCR_PID=$first
  stop_scr
}

while IFS='|' read -r args expected; do
  check "'$args' gives $expected" gives "$args" "$expected"
done <<'TABLE'
/p 1234|exit
/a|message
/c:1234|dialog
|dialog
/S 1234|saver
TABLE
check "'/c' while '/s' runs ends at once" second_copy /s "$PROGRAM_TITLE" /c
check "'/a' while '/c' runs ends at once" second_copy /c "$DIALOG_TITLE" /a
summary
