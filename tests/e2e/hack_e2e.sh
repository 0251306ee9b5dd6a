#!/usr/bin/env bash
# Hack mode end to end: the saver drawing into windows handed to it, the way
# XScreenSaver runs its hacks, on a private 800x600 X server. A helper plays
# the daemon's part and makes the windows.
# Usage: hack_e2e.sh PREFIX TOOLS   (an installed tree, build/default/tools)
set -u
. "$(dirname "$0")/../lib.sh"
linux_setup "$@"

# Thin eraser dots and the fastest cat, so a small sky shows stars and the
# cat soonest.
hack_in() {  # hack_in X Y W H
  fresh_home
  store blk 10 && store sspeed 1
  start_in_window "$@"
}

# Lit pixels of the screen outside W x H + X + Y.
lit_outside() {  # lit_outside X Y W H
  screenshot "$CASE_DIR/shot.png"
  echo $(($(count_pixels "$CASE_DIR/shot.png" lit) - $(count_pixels "$CASE_DIR/shot.png" lit "$@")))
}

# Stars and the cat in a small window, nothing outside it; input does not end it (the daemon owns input); when the window grows
# the sky follows it.
preview_inside_deaf_and_resized() {
  local cat=0
  hack_in 300 200 200 150 || return 1
  for _ in $(seq 20); do  # the cat walks in from beyond the right edge
    sleep 0.5
    cat=$(pixels '#F2A65A' 300 200 200 150)
    [ "$cat" -ge 100 ] && break
  done
  [ "$cat" -ge 100 ] || fail "no cat in the window ($cat orange pixels)"
  xdotool mousemove 200 200 sleep 0.2 mousemove 350 250 key x key Shift_L click 1 \
    windowsize "$WINDOW" 450 350
  sleep 3
  running "$SAVER" || fail "input ended the hack"
  [ "$(pixels lit 500 200 250 350)" -ge 100 ] || fail "no stars right of the old width"
  [ "$(lit_outside 300 200 450 350)" -eq 0 ] || fail "drew outside the window"
}

# The daemon's ways of ending it: a signal, its window destroyed, or the
# display gone (a second server, the hack on its root).
ends_on_the_daemons_word() {  # ends_on_the_daemons_word TERM|INT|HUP|window|display
  if [ "$1" = display ]; then
    start_server Xvfb -screen 0 640x480x24 -nolisten tcp || { fail "no second X server"; return 1; }
    STARTED+=("$SERVER_PID")
    fresh_home && DISPLAY=$SERVER_DISPLAY start_saver --root
  else
    hack_in 100 100 400 300 || return 1
  fi
  sleep 1.5
  case $1 in
    window) ends_on kill "$WINDOW_PID" ;;  # the server destroys the helper's window
    display) ends_on kill "$SERVER_PID" ;;
    *) ends_on kill -s "$1" "$SAVER" ;;
  esac
}

start_xvfb 800x600 || exit 1
check "a 200x150 window shows stars and the cat, nothing outside it; input does not end it; it grows" \
  preview_inside_deaf_and_resized
for end in TERM HUP window display; do  # INT takes TERM's path
  check "ends on $end within a second, status 0" ends_on_the_daemons_word "$end"
done
summary
