#!/usr/bin/env bash
# The Linux settings dialog end to end, on a private 1280x1024 X server
# without a window manager: what GTK does with keys, clicks and the close
# box, against the settings file. What is read and written is unit-tested.
# Usage: dialog_e2e.sh PREFIX TOOLS   (an installed tree, build/default/tools)
set -u
. "$(dirname "$0")/../lib.sh"
linux_setup "$@"

# Waits up to 2 s for a window with this title; sets SHOWN.
shows() { SHOWN=$(find_window "$1" 2) || { fail "no window titled $1"; return 1; }; }

# Stored blk and sspeed ("-" absent, "x" the settings folder's place taken
# by a file), what is done in "mofu /c" ("key:KEYS", "click:X,Y ..." in the
# client area, "close"), after which it ends, and what is stored then.
# Which keys press what is unit-tested (tests/gtk).
dialog() {  # dialog BLK SSPEED ACTIONS WANT_BLK WANT_SSPEED
  fresh_home
  if [ "$1" = x ]; then
    # No write can succeed, even as root, whom permissions do not stop.
    printf 'not a folder\n' >"$XDG_CONFIG_HOME/mofu"
  else
    [ "$1" = - ] || store blk "$1"
    [ "$2" = - ] || store sspeed "$2"
  fi
  "$MOFU" /c &
  local pid=$! action point
  STARTED+=("$pid")
  shows "設定" || return 1
  local geometry
  geometry=$(xdotool getwindowgeometry "$SHOWN")
  # Client area 275x166, centred on the screen.
  grep -q "Geometry: 275x166" <<<"$geometry" && grep -q "Position: 502,429" <<<"$geometry" ||
    fail "not 275x166 centred: $geometry"
  xdotool windowfocus --sync "$SHOWN" 2>/dev/null
  for action in $3; do
    case $action in
      key:*) xdotool key --delay 20 ${action#key:} ;;
      click:*) point=${action#click:}; xdotool mousemove --window "$SHOWN" "${point%,*}" "${point#*,}" click 1 ;;
      close) "$TOOLS/dialog_close_box" "$SHOWN" ;;
      warned)  # a message box, and the dialog waits for it
        shows "Mofu Saver" || return 1
        running "$pid" || fail "ended before the message box was answered"
        xdotool windowfocus --sync "$SHOWN" 2>/dev/null key Return ;;
    esac
  done
  ends_within 2 "$pid" || { fail "still running 2 s later"; return 1; }
  wait "$pid" || fail "exit status $?"
  if [ "$1" = x ]; then
    [ -f "$XDG_CONFIG_HOME/mofu" ] || fail "the file in the folder's place was touched"
  else
    [ "$(stored blk)/$(stored sspeed)" = "$4/$5" ] || fail "stored $(stored blk)/$(stored sspeed), not $4/$5"
  fi
}

start_xvfb 1280x1024 || exit 1
while read -r blk sspeed actions want_blk want_sspeed; do
  check "stored $blk/$sspeed, ${actions//+/ }: it ends, then $want_blk/$want_sspeed" \
    dialog "$blk" "$sspeed" "${actions//+/ }" "$want_blk" "$want_sspeed"
done <<'TABLE'
- - key:Return 40 2
- - click:24,111+click:129,96+click:198,147 120 1
20 11 click:30,111+close 20 11
x - key:Return+warned - -
TABLE
summary
