#!/usr/bin/env bash
# The settings dialog's keyboard and mouse under Windows, against the
# registry: what it shows for the stored values is what Enter on OK writes
# back; the keys that must not press OK or Cancel do not; Cancel and the
# close box write nothing. What is read and written is unit-tested.
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
# picture box, the speed choice.
cases=(
  "-|-|Return|closes|40|2"
  "20|11|Return|closes|20|11"
  "120|7|space|closes|120|7"
  "-|-|Escape|stays|-|-"
  "-|-|Tab Tab Return|stays|-|-"
  "-|-|Tab Tab Tab Return|stays|-|-"
  "-|-|Tab Tab Tab Tab Return|stays|-|-"
  "-|-|Tab Return|closes|-|-"
  "20|11|Tab Tab Down Down Tab Tab Up Return Tab Tab Return|closes|20|11"
  "-|-|alt+F4|closes|-|-"
  "-|-|Tab Tab Down shift+Tab shift+Tab Return|closes|20|2"
  "-|-|Tab Tab Tab Tab Left shift+Tab shift+Tab shift+Tab shift+Tab Return|closes|40|1"
  "-|-|Tab Tab Tab Tab Right Right shift+Tab shift+Tab shift+Tab shift+Tab Return|closes|40|7"
)

open_dialog() {
  start_scr /c
  DIALOG=$(find_window "$DIALOG_TITLE" 15) || { stop_scr; fail "no dialog"; return 1; }
  sleep 0.5  # the dialog reads the store right after it shows
}

expect_stored() {  # expect_stored BLK SSPEED
  local stored
  stored=$(stored_settings)
  [ "$stored" = "$1|$2" ] || fail "stored $stored, expected $1|$2"
}

keys_then() {  # keys_then BLK SSPEED KEYS closes|stays WANT_BLK WANT_SSPEED
  set_settings "$1" "$2"
  open_dialog || return 1
  # shellcheck disable=SC2086
  keys "$DIALOG" $3
  if [ "$4" = stays ]; then
    sleep 1
    kill -0 "$SCR_PID" 2>/dev/null || { fail "the dialog closed"; return 1; }
    # Whatever it did not write so far, closing it must not write either.
    keys "$DIALOG" alt+F4
  fi
  wait_exit 10 || { stop_scr; fail "the dialog stayed open"; return 1; }
  expect_stored "$5" "$6"
}

# The mouse: the option buttons and OK where the layout puts them.
clicks() {
  set_settings - -
  open_dialog || return 1
  eval "$(xdotool getwindowgeometry --shell "$DIALOG")"
  local border=$(((WIDTH - CLIENT_WIDTH) / 2)) control x y
  for control in Option1_4 Option2 Command1; do
    read -r x y <<<"${SPOT[$control]}"
    xdotool mousemove $((X + border + x)) $((Y + HEIGHT - border - CLIENT_HEIGHT + y)) click 1
    sleep 0.3
  done
  wait_exit 10 || { stop_scr; fail "the dialog stayed open"; return 1; }
  expect_stored 120 1
}

for row in "${cases[@]}"; do
  IFS='|' read -r blk sspeed key_list closes want_blk want_sspeed <<<"$row"
  check "stored $blk/$sspeed, keys '$key_list' $closes, then $want_blk/$want_sspeed" \
    keys_then "$blk" "$sspeed" "$key_list" "$closes" "$want_blk" "$want_sspeed"
done
check "clicks on 少ない, the fastest speed and OK store 120/1" clicks
summary
