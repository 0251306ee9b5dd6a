#!/usr/bin/env bash
# The Linux settings dialog end to end, on a private 1280x1024 X server
# without a window manager: what GTK does with keys, clicks and the close
# box, against the settings file. What is read and written is unit-tested.
# Usage: dialog_e2e.sh PREFIX TOOLS   (an installed tree, build/default/tools)
set -u
. "$(dirname "$0")/../lib.sh"
linux_setup "$@"

# Stored blk and sspeed ("-" absent, "x" the settings folder's place taken
# by a file: no write can succeed, even as root, whom permissions do not
# stop), what is done in "mofu /c" ("key:KEYS", "click:X,Y" in the client
# area, "close", "warned": a message box it waits for), after which it ends,
# and what is stored then ("x": the file in the folder's place untouched).
dialog() {  # dialog BLK SSPEED ACTIONS WANT_BLK WANT_SSPEED
  fresh_home
  case $1 in x) printf 'not a folder\n' >"$XDG_CONFIG_HOME/mofu" ;; -) ;; *) store blk "$1" && store sspeed "$2" ;; esac
  "$MOFU" /c &
  local pid=$! action point shown
  STARTED+=("$pid")
  shown=$(find_window "設定" 2) || { fail "no dialog"; return 1; }
  # Client area 275x166, centred on the screen.
  xdotool getwindowgeometry "$shown" | tr '\n' ' ' | grep -q "Position: 502,429 .*Geometry: 275x166" ||
    fail "not 275x166 centred: $(xdotool getwindowgeometry "$shown")"
  xdotool windowfocus --sync "$shown" 2>/dev/null
  for action in $3; do
    case $action in
      key:*) xdotool key --delay 20 "${action#key:}" ;;
      click:*) point=${action#click:}; xdotool mousemove --window "$shown" "${point%,*}" "${point#*,}" click 1 ;;
      close) "$TOOLS/dialog_close_box" "$shown" ;;
      warned)
        shown=$(find_window "$PROGRAM_TITLE" 2) || { fail "no message box"; continue; }
        running "$pid" || fail "ended before the message box was answered"
        xdotool windowfocus --sync "$shown" 2>/dev/null key Return ;;
    esac
  done
  ends_within 2 "$pid" || { fail "still running 2 s later"; return 1; }
  wait "$pid" || fail "exit status $?"
  [ "$(stored blk)/$(stored sspeed)" = "$4/$5" ] || [ -f "$XDG_CONFIG_HOME/mofu" ] ||
    fail "stored $(stored blk)/$(stored sspeed), not $4/$5"
}

start_xvfb 1280x1024 || exit 1
check "Return saves what shows: the defaults" dialog - - key:Return 40 2
check "clicks choose 120 and the slowest" dialog - - "click:24,111 click:129,96 click:198,147" 120 1
check "the close box saves nothing" dialog 20 11 "click:30,111 close" 20 11
check "a failed save is told in a box it waits for" dialog x - "key:Return warned" x x
summary
