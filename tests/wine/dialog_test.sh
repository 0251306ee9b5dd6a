#!/usr/bin/env bash
# The settings dialog against the registry: what it shows for the stored
# values is what Enter on OK writes back; the keys that must not press OK or
# Cancel do not; Cancel and the close box write nothing.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"

# Client area of the dialog at 96 DPI, and where the layout puts the
# controls the mouse case clicks (client pixels: the frame's offset plus the
# control's own, twips / 15).
CLIENT_WIDTH=275
CLIENT_HEIGHT=166
declare -A SPOT=(
  [Option1_4]="26 113"  # 少ない: Frame1 (9,15) + (9,90), 64x16
  [Option2]="129 99"    # Frame2 (102,75) + (21,15), 19x19
  [Command1]="198 147"  # OK: (147,135), 103x25
)

# Stored blk | stored sspeed | keys | closes? | blk then | sspeed then
# ("-" is an absent value). Tab order: OK, Cancel, the density choice, the
# speed choice.
cases=(
  "-|-|Return|closes|40|2"
  "20|11|Return|closes|20|11"
  "33|2|Return|closes|40|2"
  "abc|abc|Return|closes|40|1"
  "120|7|space|closes|120|7"
  "-|-|Escape|stays|-|-"
  "10|4|Escape|stays|10|4"
  "-|-|Tab Tab Return|stays|-|-"
  "-|-|Tab Tab Tab Return|stays|-|-"
  "-|-|Tab Return|closes|-|-"
  "20|11|Tab Tab Down Down Tab Up Return Tab Tab Return|closes|20|11"
  "-|-|alt+F4|closes|-|-"
  "-|-|Tab Tab Down shift+Tab shift+Tab Return|closes|20|2"
  "-|-|Tab Tab Tab Left shift+Tab shift+Tab shift+Tab Return|closes|40|1"
  "-|-|Tab Tab Tab Right Right shift+Tab shift+Tab shift+Tab Return|closes|40|7"
)

open_dialog() {
  start_scr /c
  DIALOG=$(find_window "$DIALOG_TITLE" 15)
  # The dialog reads the store right after it shows.
  sleep 0.5
}

# Ends it from the frame's close box when the keys under test did not.
close_dialog() {
  keys "$DIALOG" alt+F4
  wait_exit 10
}

check_outcome() {  # check_outcome NAME EXPECTED-BLK EXPECTED-SSPEED
  local stored
  stored=$(stored_settings)
  if [ "$stored" = "$2|$3" ]; then
    pass "$1"
  else
    fail "$1" "stored $stored, expected $2|$3"
  fi
}

for row in "${cases[@]}"; do
  IFS='|' read -r blk sspeed key_list closes want_blk want_sspeed <<<"$row"
  name="stored $blk/$sspeed, keys '$key_list' $closes, then $want_blk/$want_sspeed"
  set_settings "$blk" "$sspeed"
  open_dialog
  if [ -z "$DIALOG" ]; then
    fail "$name" "no dialog"
    stop_scr
    continue
  fi
  # shellcheck disable=SC2086
  keys "$DIALOG" $key_list
  if [ "$closes" = closes ]; then
    if ! wait_exit 10; then
      fail "$name" "the dialog stayed open"
      stop_scr
      continue
    fi
  else
    sleep 1
    if ! kill -0 "$SCR_PID" 2>/dev/null; then
      fail "$name" "the dialog closed"
      continue
    fi
    # Whatever it did not write so far, closing it must not write either.
    close_dialog || { fail "$name" "the close box did not end it"; stop_scr; continue; }
  fi
  check_outcome "$name" "$want_blk" "$want_sspeed"
done

# The mouse: the option buttons and OK where the layout puts them.
set_settings - -
open_dialog
if [ -n "$DIALOG" ]; then
  eval "$(xdotool getwindowgeometry --shell "$DIALOG")"
  border=$(((WIDTH - CLIENT_WIDTH) / 2))
  client_x=$((X + border))
  client_y=$((Y + HEIGHT - border - CLIENT_HEIGHT))
  for control in Option1_4 Option2 Command1; do
    read -r x y <<<"${SPOT[$control]}"
    xdotool mousemove $((client_x + x)) $((client_y + y)) click 1
    sleep 0.3
  done
  if wait_exit 10; then
    check_outcome "clicks on 少ない, the fastest speed and OK store 120/1" 120 1
  else
    fail "clicks on 少ない, the fastest speed and OK store 120/1" "the dialog stayed open"
  fi
else
  fail "clicks on 少ない, the fastest speed and OK store 120/1" "no dialog"
fi
stop_scr

summary
