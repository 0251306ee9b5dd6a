#!/usr/bin/env bash
# Hack mode end to end: the saver drawing into windows handed to it, the way
# XScreenSaver runs its hacks, on a private 800x600 X server. A small helper
# plays the daemon's part and makes the windows.
# Usage: hack_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu, PREFIX/share/mofu)
set -u
MOFU="$(cd "$1" && pwd)/bin/mofu"
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../lib.sh"

WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
cc -o "$WORK/child_window" "$HERE/child_window.c" -lX11 || { echo "cannot build child_window"; exit 1; }

# A window of the helper's at X Y W H (sets WIN, WIN_PID) and the hack in it
# (HACK), with thin eraser dots and the fastest cat, so a small sky shows
# stars and the cat soonest.
hack_in() {  # hack_in X Y W H
  fresh_home
  store blk 10
  store sspeed 1
  begin_case
  "$WORK/child_window" "$@" >"$WORK/win" &
  WIN_PID=$!
  STARTED+=("$WIN_PID")
  WIN=
  for _ in $(seq 100); do
    WIN=$(head -n 1 "$WORK/win")
    [ -n "$WIN" ] && break
    sleep 0.02
  done
  [ -n "$WIN" ] || { fail "the helper made no window"; return 1; }
  "$MOFU" --window-id "$WIN" &
  HACK=$!
  STARTED+=("$HACK")
}

# Lit pixels of the screen outside W x H + X + Y.
lit_outside() {  # lit_outside X Y W H
  import -window root "$WORK/shot.png" 2>/dev/null
  convert "$WORK/shot.png" -fill black -draw "rectangle $1,$2 $(($1 + $3 - 1)),$(($2 + $4 - 1))" \
    -fill white +opaque black -format '%[fx:int(mean*w*h+0.5)]' info:
}
root_children() { xwininfo -root -children | grep -c '^ *0x'; }

# Stars and the cat in a small window, nothing outside it, no window of its
# own; input does not end it (the daemon owns input).
preview_inside_and_deaf() {
  local before cat=0
  before=$(root_children)
  hack_in 300 200 200 150 || return 1
  for _ in $(seq 20); do  # the cat walks in from beyond the right edge
    sleep 0.5
    cat=$(pixels '#F2A65A' 300 200 200 150)
    [ "$cat" -ge 100 ] && break
  done
  [ "$cat" -ge 100 ] || fail "no cat in the window ($cat orange pixels)"
  [ "$(pixels lit 300 200 200 150)" -ge 150 ] || fail "few lit pixels in the window"
  [ "$(lit_outside 300 200 200 150)" -eq 0 ] || fail "drew outside the window"
  [ "$(root_children)" -eq $((before + 1)) ] || fail "the hack made a window of its own"
  xdotool mousemove 200 200 sleep 0.2 mousemove 350 250 key x key Shift_L click 1
  sleep 1
  running "$HACK" || fail "input ended the hack"
}

# Its end, within a second and with status 0.
ends_on() {  # ends_on TERM|INT|HUP|window|display
  if [ "$1" = display ]; then
    fresh_home
    begin_case
    start_server Xvfb -screen 0 640x480x24 -nolisten tcp || { fail "no second X server"; return 1; }
    STARTED+=("$SERVER_PID")
    DISPLAY=$SERVER_DISPLAY "$MOFU" --root &
    HACK=$!
    STARTED+=("$HACK")
  else
    hack_in 100 100 400 300 || return 1
  fi
  sleep 1.5
  running "$HACK" || { fail "the hack was not running"; return 1; }
  case $1 in
    window) kill "$WIN_PID" ;;  # the server destroys the helper's window
    display) kill "$SERVER_PID" ;;
    *) kill -s "$1" "$HACK" ;;
  esac
  ends_within 1 "$HACK" || { fail "still running a second after: $1"; return 1; }
  wait "$HACK" || fail "exit status $? after: $1"
}

sky_follows_a_resize() {
  hack_in 0 0 200 150 || return 1
  sleep 1
  xdotool windowsize "$WIN" 600 500
  sleep 3
  # stars where the window grew: right of and below the old size
  [ "$(pixels lit 200 0 400 500)" -ge 100 ] || fail "no stars right of the old width"
  [ "$(pixels lit 0 150 200 350)" -ge 30 ] || fail "no stars below the old height"
  [ "$(lit_outside 0 0 600 500)" -eq 0 ] || fail "drew outside the window"
  running "$HACK" || fail "the hack ended"
}

start_xvfb 800x600 || exit 1
check "a 200x150 window shows stars and the cat, nothing outside it; input does not end it" preview_inside_and_deaf
for end in TERM INT HUP window display; do
  check "ends on $end within a second, status 0" ends_on "$end"
done
check "the sky follows the window when it grows" sky_follows_a_resize
summary
