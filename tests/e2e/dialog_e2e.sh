#!/usr/bin/env bash
# The Linux settings dialog end to end, on a private 1280x1024 X server
# without a window manager.
# Usage: dialog_e2e.sh MOFU   (the built program, or an installed tree's prefix)
set -u
if [ -d "$1" ]; then MOFU="$(cd "$1" && pwd)/bin/mofu"; else MOFU=$(realpath "$1"); fi
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../lib.sh"

# Client area 275x166, centred on the 1280x1024 screen.
readonly GEOMETRY="275x166" POSITION="502,429"

WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'

cc -o "$WORK/close_box" "$HERE/dialog_close_box.c" -lX11 || { echo "cannot build close_box"; exit 1; }

open_dialog() {  # open_dialog [ARG]: starts mofu, sets DIALOG_PID and DIALOG
  "$MOFU" "$@" &
  DIALOG_PID=$!
  DIALOG=
  local start
  start=$(date +%s%3N)
  while [ $(($(date +%s%3N) - start)) -lt 2000 ]; do
    DIALOG=$(window_named "設定" | head -n 1)
    [ -n "$DIALOG" ] && break
    sleep 0.02
  done
  [ -n "$DIALOG" ] || { fail "no window titled 設定 within 2 s (mofu $*)"; return 1; }
  xdotool windowfocus --sync "$DIALOG" 2>/dev/null
  return 0
}

ends_cleanly() {  # the process ends within 2 s with status 0
  if ! ends_within 2 "$DIALOG_PID"; then
    kill "$DIALOG_PID" 2>/dev/null
    fail "still running 2 s later"
    return 1
  fi
  wait "$DIALOG_PID"
  local status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
}

expect_stored() {  # expect_stored BLK SSPEED ("-" for absent)
  local blk sspeed
  blk=$(stored blk)
  sspeed=$(stored sspeed)
  [ "$blk/$sspeed" = "$1/$2" ] || fail "stored blk/sspeed $blk/$sspeed, expected $1/$2"
}

press() { xdotool key --delay 20 "$@"; }

# Clicks a point of the client area, in pixels from its top-left corner.
click_at() { xdotool mousemove --window "$DIALOG" "$1" "$2" click 1; }

opens_and_enter_writes_the_defaults() {  # [ARG]
  fresh_home
  open_dialog "$@" || return 1
  local geometry
  geometry=$(xdotool getwindowgeometry "$DIALOG")
  grep -q "Geometry: $GEOMETRY" <<<"$geometry" || fail "not $GEOMETRY: $geometry"
  grep -q "Position: $POSITION" <<<"$geometry" || fail "not centred at $POSITION: $geometry"
  press Return
  ends_cleanly && expect_stored 40 2
}

enter_writes_back() {  # enter_writes_back STORED_BLK STORED_SSPEED BLK SSPEED
  fresh_home
  store blk "$1"
  store sspeed "$2"
  open_dialog /c || return 1
  press Return
  ends_cleanly && expect_stored "$3" "$4"
}

chosen_buttons_are_stored() {
  fresh_home
  open_dialog /c || return 1
  click_at 24 111   # 少ない, in the left frame
  click_at 129 96   # the leftmost bare button, over "+1"
  click_at 198 147  # OK
  ends_cleanly && expect_stored 120 1
}

# Keys that must not press OK: Escape anywhere, Enter on an option button.
keys_press_nothing_else() {  # keys_press_nothing_else KEY...
  fresh_home
  store blk 20
  open_dialog /c || return 1
  press "$@"
  sleep 0.5
  running "$DIALOG_PID" || fail "the dialog closed after: $*"
  expect_stored 20 -
  kill "$DIALOG_PID" 2>/dev/null
  wait "$DIALOG_PID" 2>/dev/null
  return 0
}

tab_reaches_cancel_which_writes_nothing() {
  fresh_home
  open_dialog /c || return 1
  press Tab Return
  ends_cleanly && expect_stored - -
}

close_box_writes_nothing() {
  fresh_home
  store blk 20
  store sspeed 11
  open_dialog /c || return 1
  click_at 30 111   # change the choice first: closing must not keep it
  "$WORK/close_box" "$DIALOG"
  ends_cleanly && expect_stored 20 11
}

unwritable_store_warns_then_ends() {
  fresh_home
  # A file where the settings folder belongs: no write can succeed, even as
  # root, whom permissions do not stop.
  printf 'not a folder\n' >"$XDG_CONFIG_HOME/mofu"
  open_dialog /c || return 1
  press Return
  local box= start
  start=$(date +%s%3N)
  while [ -z "$box" ] && [ $(($(date +%s%3N) - start)) -lt 2000 ]; do
    box=$(window_named "Mofu Saver" | head -n 1)
    sleep 0.02
  done
  [ -n "$box" ] || { kill "$DIALOG_PID"; fail "no message box titled Mofu Saver"; return 1; }
  running "$DIALOG_PID" || fail "ended before the message box was answered"
  xdotool windowfocus --sync "$box" 2>/dev/null
  press Return
  ends_cleanly
  [ -f "$XDG_CONFIG_HOME/mofu" ] || fail "the file in the folder's place was touched"
}

start_xvfb 1280x1024 || exit 1

check "mofu /c opens the dialog; Enter writes 40/2" opens_and_enter_writes_the_defaults /c
check "mofu opens the dialog; Enter writes 40/2" opens_and_enter_writes_the_defaults
while read -r blk sspeed want_blk want_sspeed; do
  check "stored $blk/$sspeed: Enter writes $want_blk/$want_sspeed" \
    enter_writes_back "$blk" "$sspeed" "$want_blk" "$want_sspeed"
done <<'TABLE'
20 11 20 11
abc abc 40 1
TABLE
check "chosen 少ない and +1: OK writes 120/1" chosen_buttons_are_stored
check "Escape presses nothing" keys_press_nothing_else Escape
check "Enter on an option button presses nothing" keys_press_nothing_else Tab Tab Return
check "Tab then Enter is Cancel: nothing written" tab_reaches_cancel_which_writes_nothing
check "close box keeps the stored 20/11" close_box_writes_nothing
check "unwritable store: warning, then the end" unwritable_store_warns_then_ends

summary
