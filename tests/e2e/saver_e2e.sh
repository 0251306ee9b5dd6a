#!/usr/bin/env bash
# The Linux saver end to end, on a private 1920x1080 X server.
# Usage: saver_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu, PREFIX/share/mofu)
set -u
PREFIX=$(cd "$1" && pwd)
MOFU="$PREFIX/bin/mofu"
. "$(dirname "$0")/../lib.sh"

start_saver() {  # start_saver [ARG]
  "$MOFU" "${1:-/s}" &
  SAVER=$!
}

stop_saver() {
  kill "$SAVER" 2>/dev/null
  wait "$SAVER" 2>/dev/null
  return 0
}

stars_within_three_seconds() {
  fresh_home
  start_saver /s
  sleep 3
  local lit
  lit=$(lit_pixels)
  stop_saver
  [ "$lit" -ge 200 ] || fail "only $lit lit pixels after 3 s"
}

ends_on() {  # ends_on ACTION...: the saver ends within a second and leaves no window
  fresh_home
  start_saver /s
  sleep 1.5
  running "$SAVER" || fail "the saver was not running"
  [ -n "$(window_named 'Mofu Saver')" ] || fail "no saver window on screen"
  "$@"
  if ! ends_within 1 "$SAVER"; then
    stop_saver
    fail "still running a second after: $*"
    return 1
  fi
  wait "$SAVER"
  local status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
  [ -z "$(window_named 'Mofu Saver')" ] || fail "a window was left behind"
  [ "$(lit_pixels)" -eq 0 ] || fail "the screen was not left clean"
}

pointer_move() { xdotool mousemove_relative -- 5 5; }
key_press() { xdotool key x; }
click() { xdotool click 1; }
shift_alone() { xdotool key Shift_L; }

password_message() {
  fresh_home
  "$MOFU" /a &
  local pid=$! box
  for _ in $(seq 50); do
    box=$(window_named 'Mofu Saver')
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || { kill "$pid"; fail "no message box titled 'Mofu Saver'"; return 1; }
  running "$pid" || fail "/a did not wait for the box"
  xdotool windowfocus --sync "$box" 2>/dev/null; xdotool key Return
  ends_within 2 "$pid" || { kill "$pid"; fail "/a did not end once the box was closed"; return 1; }
  wait "$pid" || fail "/a exit status $?"
  [ ! -e "$XDG_CONFIG_HOME/mofu/settings.ini" ] || fail "/a wrote settings"
}

second_instance_ends_at_once() {
  fresh_home
  start_saver /s
  sleep 1
  local arg pid
  for arg in /s /c; do
    "$MOFU" $arg &
    pid=$!
    ends_within 0.5 "$pid" || { kill "$pid"; fail "a second '$arg' kept running"; }
    wait "$pid" || fail "a second '$arg' ended with status $?"
  done
  running "$SAVER" || fail "the first saver did not survive"
  stop_saver
}

saver_maps_no_gtk() {
  fresh_home
  start_saver /s
  sleep 1
  local maps
  maps=$(grep -c -E 'libgtk|libgdk|mofu-gtk' "/proc/$SAVER/maps")
  stop_saver
  [ "$maps" -eq 0 ] || fail "the saver maps $maps GTK pages"
}

start_xvfb 1920x1080 || exit 1
check "/s fills the screen with stars within 3 s" stars_within_three_seconds
check "a pointer move ends it within 1 s" ends_on pointer_move
check "a key ends it within 1 s" ends_on key_press
check "a click ends it within 1 s" ends_on click
check "shift alone ends it within 1 s" ends_on shift_alone
check "/a shows the message box titled Mofu Saver, then ends" password_message
check "a second instance ends at once" second_instance_ends_at_once
check "the saver process maps no GTK library" saver_maps_no_gtk
summary
