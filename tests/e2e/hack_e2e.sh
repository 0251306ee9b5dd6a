#!/usr/bin/env bash
# Hack mode end to end: the saver drawing into windows handed to it, the way
# XScreenSaver runs its hacks, on a private 800x600 X server. A small helper
# plays the daemon's part and makes the windows.
# Usage: hack_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu, PREFIX/share/mofu)
set -u
PREFIX=$(cd "$1" && pwd)
MOFU="$PREFIX/bin/mofu"
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../lib.sh"

WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
cc -o "$WORK/child_window" "$HERE/child_window.c" -lX11 || { echo "cannot build child_window"; exit 1; }

begin() {
  fresh_home
  store blk 10     # thin eraser dots keep a small sky from staying black
  store sspeed 1   # the fastest cat reaches a small window soonest
  begin_case
}

make_window() {  # make_window X Y W H: sets WIN and WIN_PID
  local out
  out=$(mktemp -p "$WORK")
  "$WORK/child_window" "$@" >"$out" &
  WIN_PID=$!
  STARTED+=("$WIN_PID")
  WIN=
  for _ in $(seq 100); do
    WIN=$(head -n 1 "$out")
    [ -n "$WIN" ] && return 0
    sleep 0.02
  done
  fail "the helper made no window"
}

start_hack() {  # start_hack ARGS...: sets HACK
  "$MOFU" "$@" &
  HACK=$!
  STARTED+=("$HACK")
}

shot() { import -window root "$WORK/shot.png" 2>/dev/null; }

# pixels of the last shot inside W x H + X + Y that are not black; with
# "outside", those of the whole screen that lie outside that rectangle
lit_in() {  # lit_in X Y W H
  convert "$WORK/shot.png" -crop "${3}x${4}+${1}+${2}" +repage -fill white +opaque black \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}
lit_outside() {  # lit_outside X Y W H
  convert "$WORK/shot.png" -fill black -draw "rectangle $1,$2 $(($1 + $3 - 1)),$(($2 + $4 - 1))" \
    -fill white +opaque black -format '%[fx:int(mean*w*h+0.5)]' info:
}
# pixels of the cat's orange fur inside a rectangle of the last shot
cat_in() {  # cat_in X Y W H
  convert "$WORK/shot.png" -crop "${3}x${4}+${1}+${2}" +repage -alpha off \
    -fill black +opaque '#F2A65A' -fill white -opaque '#F2A65A' \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}

root_children() { xwininfo -root -children | grep -c '^ *0x'; }

preview_shows_stars_and_cat_only_inside() {
  begin
  make_window 300 200 200 150 || return 1
  local before cat=0 lit
  before=$(root_children)
  start_hack --window-id "$WIN"
  for _ in $(seq 20); do  # the cat walks in from beyond the right edge
    sleep 0.5
    shot
    cat=$(cat_in 300 200 200 150)
    [ "$cat" -ge 100 ] && break
  done
  lit=$(lit_in 300 200 200 150)
  [ "$cat" -ge 100 ] || fail "no cat in the window ($cat orange pixels)"
  [ "$lit" -ge 150 ] || fail "only $lit lit pixels in the window"
  [ "$(lit_outside 300 200 200 150)" -eq 0 ] || fail "drew outside the window"
  [ "$(root_children)" -eq "$before" ] || fail "the hack made a window of its own"
  running "$HACK" || fail "the hack is not running"
}

input_does_not_end_it() {  # the daemon owns input; nothing here reads it
  begin
  make_window 100 100 400 300 || return 1
  start_hack --window-id "$WIN"
  sleep 1
  xdotool mousemove 200 200; sleep 0.2
  xdotool mousemove 300 250 key x key Shift_L click 1
  sleep 1
  running "$HACK" || fail "input ended the hack"
}

ends_on_signal() {  # ends_on_signal SIGNAL
  begin
  make_window 100 100 400 300 || return 1
  start_hack --window-id "$WIN"
  sleep 1.5
  running "$HACK" || { fail "the hack was not running"; return 1; }
  kill -s "$1" "$HACK"
  ends_within 1 "$HACK" || { fail "still running a second after SIG$1"; return 1; }
  wait "$HACK"
  local status=$?
  [ "$status" -eq 0 ] || fail "exit status $status after SIG$1"
}

ends_when_its_window_goes() {
  begin
  make_window 100 100 400 300 || return 1
  start_hack --window-id "$WIN"
  sleep 1.5
  kill "$WIN_PID"  # the server destroys the helper's window
  ends_within 1 "$HACK" || { fail "still running a second after its window went"; return 1; }
  wait "$HACK"
  local status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
}

ends_when_the_display_goes() {
  begin
  start_server Xvfb -screen 0 640x480x24 -nolisten tcp || { fail "no second X server"; return 1; }
  local xvfb=$SERVER_PID
  STARTED+=("$xvfb")
  DISPLAY=$SERVER_DISPLAY start_hack --root
  sleep 1.5
  running "$HACK" || { fail "the hack was not running"; return 1; }
  kill "$xvfb"
  ends_within 2 "$HACK" || { fail "still running after its display went"; return 1; }
  wait "$HACK"
  local status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
}

second_copy_for_a_window_ends_at_once() {
  begin
  make_window 100 100 400 300 || return 1
  start_hack --window-id "$WIN"
  local first=$HACK pid status
  sleep 1
  "$MOFU" --window-id "$((WIN))" &  # the same window, in decimal
  pid=$!
  ends_within 0.5 "$pid" || { kill "$pid"; fail "a second copy kept running"; return 1; }
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] || fail "a second copy ended with status $status"
  running "$first" || fail "the first copy did not survive"
}

sky_follows_a_resize() {
  begin
  make_window 0 0 200 150 || return 1
  start_hack --window-id "$WIN"
  sleep 1
  xdotool windowsize "$WIN" 600 500
  sleep 3
  shot
  # stars where the window grew: right of and below the old size
  [ "$(lit_in 200 0 400 500)" -ge 100 ] || fail "no stars right of the old width"
  [ "$(lit_in 0 150 200 350)" -ge 30 ] || fail "no stars below the old height"
  [ "$(lit_outside 0 0 600 500)" -eq 0 ] || fail "drew outside the window"
  running "$HACK" || fail "the hack ended"
}

# Malformed ids are the option parser's (unit-tested); this one only the
# server can refuse.
missing_window_is_refused() {
  begin
  local out status
  out=$(timeout 5 "$MOFU" --window-id 0x3fffff 2>&1)
  status=$?
  [ "$status" -ne 0 ] || fail "a window that does not exist: status 0"
  grep -q "no window" <<<"$out" || fail "a window that does not exist: $out"
}

start_xvfb 800x600 || exit 1
check "a 200x150 window shows stars and the cat, nothing outside it" preview_shows_stars_and_cat_only_inside
check "keys, pointer moves and clicks do not end it" input_does_not_end_it
check "SIGTERM ends it within a second, status 0" ends_on_signal TERM
check "SIGINT ends it within a second, status 0" ends_on_signal INT
check "SIGHUP ends it within a second, status 0" ends_on_signal HUP
check "destroying its window ends it" ends_when_its_window_goes
check "losing its display ends it, status 0" ends_when_the_display_goes
check "a second copy for the same window ends at once" second_copy_for_a_window_ends_at_once
check "the sky follows the window when it grows" sky_follows_a_resize
check "a window that does not exist is refused with a message" missing_window_is_refused
summary
