#!/usr/bin/env bash
# Input under Wine: a key during the longest delay a hand-edited speed asks
# for, the wheel and the side buttons, and Tab through the settings dialog.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"

command -v x86_64-w64-mingw32-gcc >/dev/null ||
  { echo "x86_64-w64-mingw32-gcc not found: run scripts/deps.sh windows" >&2; exit 2; }
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
x86_64-w64-mingw32-gcc -O2 -municode -o "$WORK/focus_probe.exe" "$TESTS_DIR/wine/focus_probe.c" ||
  { echo "cannot build focus_probe.exe" >&2; exit 2; }

# Unmanaged windows: with no window manager on the display, Wine otherwise
# waits two seconds for one to see each hidden window go, and an ending
# could not be timed.
X11_DRIVER='HKCU\Software\Wine\X11 Driver'
wine reg add "$X11_DRIVER" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

# Milliseconds from now until the saver has ended, or nothing after LIMIT.
milliseconds_to_end() {  # milliseconds_to_end LIMIT_MS
  local start now
  start=$(date +%s%3N)
  while kill -0 "$SCR_PID" 2>/dev/null; do
    now=$(date +%s%3N)
    [ $((now - start)) -gt "$1" ] && return 1
    sleep 0.02
  done
  echo $(($(date +%s%3N) - start))
}

# The saver runs with this stored speed level, this input comes, and it
# must end within LIMIT ms. A speed level of 32767 makes each step of the
# cat a delay of over a minute: the input comes while one runs.
ends_on() {  # ends_on SSPEED INPUT LIMIT_MS
  set_settings - "$1"
  start_scr /s
  local saver
  saver=$(find_window "$PROGRAM_TITLE" 15) || { stop_scr; fail "no saver window"; return 1; }
  xdotool windowfocus --sync "$saver" 2>/dev/null
  sleep 2
  kill -0 "$SCR_PID" 2>/dev/null || { fail "the saver ended on its own"; return 1; }
  case $2 in
    key) xdotool key a ;;
    wheel-up) xdotool click 4 ;;
    wheel-down) xdotool click 5 ;;
    wheel-left) xdotool click 6 ;;
    back-button) xdotool click 8 ;;
  esac
  local took
  if ! took=$(milliseconds_to_end "$3"); then
    fail "still running $3 ms after the input"
  else
    echo "    ended $took ms after the input"
    wait "$SCR_PID"
    [ $? -eq 0 ] || fail "exit status not 0"
  fi
  stop_scr
  set_settings - -
}

# Tab from OK through every stop of the dialog and round to OK again. The
# IDs follow the design's tab order from 100: OK 100, Cancel 101, the
# star-density buttons 103..107 (104 is Option1(3)), the picture box 108,
# the speed buttons 113..118 (117 is Option5).
tab_order() {
  set_settings 80 7
  wine "$WORK/focus_probe.exe" 9 >"$WORK/focus" 2>/dev/null &
  local probe=$!
  start_scr /c
  local dialog
  dialog=$(find_window "$DIALOG_TITLE" 15) || { stop_scr; kill "$probe"; fail "no dialog"; return 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  sleep 0.3
  local _
  for _ in 1 2 3 4 5; do
    xdotool key Tab
    sleep 0.3
  done
  wait "$probe"
  local seen
  seen=$(awk '{ print $1 }' "$WORK/focus" | tr '\n' ' ')
  echo "    focus went: $seen"
  [ "$seen" = "100 101 104 108 117 100 " ] || fail "focus went $seen, not 100 101 104 108 117 100"
  # Back on OK, Enter ends it.
  xdotool key Return
  wait_exit 5 || fail "Enter on OK did not close the dialog"
  stop_scr
  set_settings - -
}

check "sspeed 32767: a key during a step's delay ends the saver within a second" ends_on 32767 key 1000
check "a wheel turn up ends the saver" ends_on 2 wheel-up 1000
check "a wheel turn down during a long delay ends the saver" ends_on 32767 wheel-down 1000
check "a sideways wheel turn ends the saver" ends_on 2 wheel-left 1000
check "a side button ends the saver" ends_on 2 back-button 1000
check "Tab stops at the picture box between the two groups of buttons" tab_order
summary
