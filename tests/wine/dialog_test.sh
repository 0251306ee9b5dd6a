#!/usr/bin/env bash
# The settings dialog under Windows: the keys against the registry (what it
# shows for the stored values is what OK writes back; Escape presses
# nothing; Cancel writes nothing), and started by the screen-saver settings
# as "/c:HWND": the dialog belongs to that window, centred, and the window
# stays disabled until the dialog has closed. What is read and written is
# unit-tested.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"

keys_then() {  # keys_then BLK SSPEED KEYS closes|stays WANT_BLK WANT_SSPEED ("-": absent)
  set_settings "$1" "$2"
  shift 2
  start_scr /c
  DIALOG=$(find_window "$DIALOG_TITLE" 15) || { fail "no dialog"; return 1; }
  sleep 1  # the dialog reads the store right after it shows
  # shellcheck disable=SC2086
  keys "$DIALOG" $1
  if [ "$2" = stays ]; then
    sleep 1
    running "$SCR_PID" || { fail "the dialog closed"; return 1; }
    keys "$DIALOG" alt+F4  # closing it must not write either
  fi
  wait_exit 10 || { fail "the dialog stayed open"; return 1; }
  [ "$(stored_settings)" = "$3|$4" ] || fail "stored $(stored_settings), expected $3|$4"
}

# A small Windows program plays the settings page, closes the dialog and
# reports "WORD VALUE" lines; all of them, in one line, must be these.
owned() {
  wine "$TOOLS/config_parent.exe" "$(winepath -w "$SCR" 2>/dev/null)" >"$CASE_DIR/report" 2>/dev/null &
  local parent=$! report
  STARTED+=("$parent")
  ends_within 30 "$parent" || { fail "the settings page's program still runs 30 s on"; return 1; }
  wait "$parent" || fail "the settings page's program ended with $?"
  report=$(tr -d '\r' <"$CASE_DIR/report" | sort | tr '\n' ' ')
  [ "$report" = "centred 1 disabled_while_open 1 enabled_after 1 exit 0 owner parent " ] || fail "it saw: $report"
}

check "Escape presses nothing, and the close box writes nothing" keys_then - - Escape stays - -
check "Return on OK writes back the stored 80/7" keys_then 80 7 Return closes 80 7
check "Cancel writes nothing" keys_then - - "Tab Return" closes - -
check "Tab to the density group, Down, back to OK: 20/2" \
  keys_then - - "Tab Tab Down shift+Tab shift+Tab Return" closes 20 2
check "/c:HWND: owned by that window, centred, which is disabled until it closes" owned
summary
