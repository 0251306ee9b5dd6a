#!/usr/bin/env bash
# Every switch of the screen-saver command line, as Windows would pass it.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"

# argument text | what must happen
cases=(
  "/p|exit" "/P|exit" "/p 1234|exit"
  "/a|message" "/A 1234|message"
  "/c|dialog" "/C|dialog" "/c:1234|dialog" "/cx|dialog" "|dialog"
  "/s|saver" "/S|saver" "/S 1234|saver" "/x|saver" "-s|saver"
)

window_width() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'; }

# Ends at once, and no window of the program shows meanwhile.
check_exit() {
  local tenths=100
  while kill -0 "$SCR_PID" 2>/dev/null; do
    if xdotool search --onlyvisible --name "^($PROGRAM_TITLE|$DIALOG_TITLE)\$" >/dev/null 2>&1; then
      reason="a window was shown"
      return 1
    fi
    tenths=$((tenths - 1))
    [ "$tenths" -le 0 ] && { reason="still running after 10 s"; return 1; }
    sleep 0.1
  done
  wait "$SCR_PID"
  SCR_STATUS=$?
  [ "$SCR_STATUS" -eq 0 ] || { reason="exit status $SCR_STATUS"; return 1; }
}

# A small box titled "Mofu Saver"; Enter closes it and ends the program.
check_message() {
  local id
  id=$(find_window "$PROGRAM_TITLE" 15) || { reason="no message box"; return 1; }
  [ "$(window_width "$id")" -lt "$SCREEN_WIDTH" ] || { reason="a full-screen window"; return 1; }
  keys "$id" Return
  wait_exit 10 || { reason="still running after OK"; return 1; }
  [ "$SCR_STATUS" -eq 0 ] || { reason="exit status $SCR_STATUS"; return 1; }
}

check_dialog() {
  local id
  id=$(find_window "$DIALOG_TITLE" 15) || { reason="no settings dialog"; return 1; }
  keys "$id" alt+F4
  wait_exit 10 || { reason="still running after closing"; return 1; }
}

check_saver() {
  local id
  id=$(find_window "$PROGRAM_TITLE" 15) || { reason="no saver window"; return 1; }
  [ "$(window_width "$id")" -eq "$SCREEN_WIDTH" ] || { reason="not full-screen"; return 1; }
  xdotool windowfocus --sync "$id" 2>/dev/null
  xdotool key space
  wait_exit 10 || { reason="still running after a key"; return 1; }
}

for row in "${cases[@]}"; do
  args=${row%%|*}
  expected=${row#*|}
  # Unquoted on purpose: "/p 1234" is a switch and a window handle.
  # shellcheck disable=SC2086
  start_scr $args
  reason=""
  if "check_$expected"; then
    pass "'$args' gives $expected"
  else
    fail "'$args' gives $expected" "$reason"
  fi
  stop_scr
done

summary
