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
# by a file), the argument, what is done ("key:KEYS", "click:X,Y ..." in
# the client area, "close"), whether it ends, and what is stored then.
dialog() {  # dialog BLK SSPEED ARG ACTIONS ends|stays WANT_BLK WANT_SSPEED
  fresh_home
  if [ "$1" = x ]; then
    # No write can succeed, even as root, whom permissions do not stop.
    printf 'not a folder\n' >"$XDG_CONFIG_HOME/mofu"
  else
    [ "$1" = - ] || store blk "$1"
    [ "$2" = - ] || store sspeed "$2"
  fi
  # shellcheck disable=SC2086
  "$MOFU" $3 &
  local pid=$! action point
  STARTED+=("$pid")
  shows "設定" || return 1
  local geometry
  geometry=$(xdotool getwindowgeometry "$SHOWN")
  # Client area 275x166, centred on the screen.
  grep -q "Geometry: 275x166" <<<"$geometry" && grep -q "Position: 502,429" <<<"$geometry" ||
    fail "not 275x166 centred: $geometry"
  xdotool windowfocus --sync "$SHOWN" 2>/dev/null
  for action in $4; do
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
  if [ "$5" = stays ]; then
    sleep 0.5
    running "$pid" || fail "the dialog closed"
  else
    ends_within 2 "$pid" || { fail "still running 2 s later"; return 1; }
    wait "$pid" || fail "exit status $?"
  fi
  if [ "$1" = x ]; then
    [ -f "$XDG_CONFIG_HOME/mofu" ] || fail "the file in the folder's place was touched"
  else
    [ "$(stored blk)/$(stored sspeed)" = "$6/$7" ] || fail "stored $(stored blk)/$(stored sspeed), not $6/$7"
  fi
}

start_xvfb 1280x1024 || exit 1
while read -r blk sspeed arg actions ends want_blk want_sspeed; do
  check "stored $blk/$sspeed, mofu $arg, ${actions//+/ }: $ends, then $want_blk/$want_sspeed" \
    dialog "$blk" "$sspeed" "$arg" "${actions//+/ }" "$ends" "$want_blk" "$want_sspeed"
done <<'TABLE'
- - /c key:Return ends 40 2
- - /c click:24,111+click:129,96+click:198,147 ends 120 1
20 - /c key:Escape stays 20 -
- - /c key:Tab+key:Return ends - -
20 11 /c click:30,111+close ends 20 11
x - /c key:Return+warned ends - -
TABLE
summary
