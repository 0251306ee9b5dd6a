#!/usr/bin/env bash
# Started by the screen-saver settings as "/c:HWND": the dialog belongs to
# that window, which stays disabled until the dialog has closed. A small
# Windows program plays the settings page, closes the dialog and reports.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"
SCR_WINDOWS=$(winepath -w "$SCR" 2>/dev/null)

# The settings page's program reports "WORD VALUE" lines; all of them, in
# one line, must be these.
owned() {  # owned colon|space
  local parent report
  wine "$TOOLS/config_parent.exe" "$SCR_WINDOWS" "$1" >"$CASE_DIR/report" 2>/dev/null &
  parent=$!
  STARTED+=("$parent")
  ends_within 30 "$parent" || { fail "the settings page's program still runs 30 s on"; return 1; }
  wait "$parent" || fail "the settings page's program ended with $?"
  report=$(tr -d '\r' <"$CASE_DIR/report" | sort | tr '\n' ' ')
  [ "$report" = "centred 1 disabled_while_open 1 enabled_after 1 exit 0 owner parent " ] || fail "it saw: $report"
}

check "/c:HWND: owned by that window, centred, which is disabled until it closes" owned colon
summary
