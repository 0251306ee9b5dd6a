#!/usr/bin/env bash
# Never a screen the user cannot get out of: the standalone saver against
# other programs that hold the input, or the screen changing under it, on a
# private X server (and nested Xephyrs inside it).
# Usage: escape_e2e.sh PREFIX TOOLS   (an installed tree, build/default/tools)
set -u
. "$(dirname "$0")/../lib.sh"
linux_setup "$@"

actor() {  # actor ARGS...: runs x_actor, waits for its "ready"; sets ACTOR_OUT
  ACTOR_OUT=$(mktemp -p "$CASE_DIR")
  "$TOOLS/x_actor" "$@" >"$ACTOR_OUT" &
  STARTED+=($!)
  for _ in $(seq 100); do
    grep -q ready "$ACTOR_OUT" && return 0
    sleep 0.02
  done
  fail "x_actor $* did not get ready"
}

# The sky is SIZE and no pixel of the desktop colour (the nested servers'
# roots have it, no star does) shows.
covers() {  # covers SIZE WHEN
  local size seen
  size=$(xwininfo -id "$(window_named "$PROGRAM_TITLE" | head -n 1)" | awk '/Width:|Height:/ { printf "%s", s $2; s = "x" }')
  seen=$(pixels '#123456')
  [ "$size/$seen" = "$1/0" ] || fail "$2 the sky is $size, not $1; $seen pixels of the desktop showing"
}

# With the input held elsewhere for good, the saver covers nothing and ends
# with a line for the idle tool that started it and "try again later".
held_for_good() {
  fresh_home
  actor grab 0
  start_saver
  ends_within 4 "$SAVER" || { fail "still running 4 s after start"; return 1; }
  [ -z "$(window_named "$PROGRAM_TITLE")" ] || fail "the sky was shown"
  wait "$SAVER"
  [ $? -eq 75 ] || fail "exit status not 75"
  grep -q 'another program holds the keyboard' "$CASE_DIR/stderr" || fail "stderr: $(cat "$CASE_DIR/stderr")"
}

# A grab let go within the saver's short wait: it shows, a key ends it, and
# the focused window behind it never sees that key.
held_at_start() {
  fresh_home
  actor typist
  local typist=$ACTOR_OUT
  actor grab 0.6
  start_saver
  sleep 1.5
  grep -q released "$ACTOR_OUT" || fail "the actor never let go"
  ends_on xdotool key a
  sleep 0.3
  ! grep -q key "$typist" || fail "a key reached the window behind the sky"
}

# A nested Xephyr with these options becomes the case's display.
# A notification mapped over the running sky, under a compositing manager
# (which sends no visibility events), goes under it.
popup_goes_under() {
  fresh_home
  xsetroot -solid '#000000'
  picom --backend xrender --no-vsync 2>/dev/null &
  STARTED+=($!)
  sleep 0.5
  start_saver
  sleep 1.5
  actor popup
  sleep 1
  covers 800x600 "with a pop-up mapped after it,"
}

on_xephyr() {  # on_xephyr OPTIONS...
  start_server Xephyr "$@" -ac || { fail "no Xephyr"; return 1; }
  STARTED+=("$SERVER_PID")
  export DISPLAY=$SERVER_DISPLAY
  xsetroot -solid '#123456'
}

# The screen grows and shrinks under the saver (xrandr -s on a resizable
# Xephyr): the sky covers all of it each time, and goes on.
follows_the_screen() {
  fresh_home
  on_xephyr -screen 800x600 -resizeable || return 1
  start_saver
  sleep 1.5
  local size
  for size in 1024x768 640x480; do
    xrandr -s "$size" 2>/dev/null
    sleep 0.7
    covers "$size" "at $size"
  done
  ends_on xdotool key x
}

# Two monitors joined by Xinerama: the sky covers both, not the first alone.
covers_two_screens() {
  fresh_home
  on_xephyr -screen 400x300+0+0 -screen 400x300+400+0 +xinerama || return 1
  start_saver
  sleep 1.5
  covers 800x300 "on two screens"
  ends_on xdotool key x
}

start_xvfb 800x600 || exit 1
check "input held elsewhere for good: nothing covered, status 75 and a line" held_for_good
check "keyboard and pointer held for a moment at start: a key ends it, none leaks" held_at_start
check "a pop-up mapped after the sky goes under it" popup_goes_under
check "the sky follows the screen as it grows and shrinks" follows_the_screen
check "the sky covers both screens of a Xinerama pair" covers_two_screens
summary
