#!/usr/bin/env bash
# The settings dialog under Windows: the tab order, and the keys against the
# registry (what it shows for the stored values is what OK writes back;
# Escape presses nothing; Cancel writes nothing). What is read and written
# is unit-tested; that it stands centred, configure_owner_test sees.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"

open_dialog() {
  start_scr /c
  DIALOG=$(find_window "$DIALOG_TITLE" 15) || { fail "no dialog"; return 1; }
  sleep 1  # the dialog reads the store right after it shows
}

expect_stored() {  # expect_stored BLK SSPEED
  local stored
  stored=$(stored_settings)
  [ "$stored" = "$1|$2" ] || fail "stored $stored, expected $1|$2"
}

# Tab from OK through every stop of the dialog and round to OK again, and
# Enter there writes back what was stored. The IDs follow the design's tab
# order from 100: OK 100, Cancel 101, the star-density buttons 103..107
# (104 is Option1(3)), the picture box 108, the speed buttons 113..118
# (117 is Option5).
tab_order() {
  set_settings 80 7
  wine "$TOOLS/focus_probe.exe" 9 >"$CASE_DIR/focus" 2>/dev/null &
  local probe=$! seen
  open_dialog || { kill "$probe"; return 1; }
  xdotool windowfocus --sync "$DIALOG" 2>/dev/null
  for _ in 1 2 3 4 5; do
    xdotool key Tab
    sleep 0.3
  done
  wait "$probe"
  seen=$(awk '{ print $1 }' "$CASE_DIR/focus" | tr '\n' ' ')
  [ "$seen" = "100 101 104 108 117 100 " ] || fail "focus went $seen, not 100 101 104 108 117 100"
  xdotool key Return
  wait_exit 5 || fail "Enter on OK did not close the dialog"
  expect_stored 80 7
}

keys_then() {  # keys_then KEYS closes|stays WANT_BLK WANT_SSPEED
  set_settings - -
  open_dialog || return 1
  # shellcheck disable=SC2086
  keys "$DIALOG" $1
  if [ "$2" = stays ]; then
    sleep 1
    kill -0 "$SCR_PID" 2>/dev/null || { fail "the dialog closed"; return 1; }
    keys "$DIALOG" alt+F4  # closing it must not write either
  fi
  wait_exit 10 || { fail "the dialog stayed open"; return 1; }
  expect_stored "$3" "$4"
}

check "Tab stops at the picture box between the two groups; Enter on OK writes 80/7 back" tab_order
while IFS='|' read -r key_list closes want_blk want_sspeed; do
  check "keys '$key_list' $closes, then $want_blk/$want_sspeed" keys_then "$key_list" "$closes" "$want_blk" "$want_sspeed"
done <<'TABLE'
Escape|stays|-|-
Tab Return|closes|-|-
Tab Tab Down shift+Tab shift+Tab Return|closes|20|2
TABLE
summary
