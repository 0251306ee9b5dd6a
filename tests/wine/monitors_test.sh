#!/usr/bin/env bash
# Two monitors side by side: Xephyr shows two 1920x1080 screens joined by
# Xinerama in a window of a private Xvfb, and the saver covers both. Then one
# monitor whose display mode grows while the saver runs.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
SCR=$(realpath "${1:?usage: $0 path/to/mofu.scr}")
TOOLS=$(dirname "$SCR")/../tools
SHOT=${MOFU_MONITORS_SHOT:-/tmp/mofu-win-two-monitors.png}
HEAD_WIDTH=1920
HEAD_HEIGHT=1080

command -v Xephyr >/dev/null || { echo "Xephyr not found: run scripts/deps.sh windows" >&2; exit 2; }
XEPHYR_PID=""
# Two full-HD heads under Wine on a shared machine: an ending may take a while.
# shellcheck disable=SC2034  # read by ends_on
ENDS_WITHIN=5

# The host display holds both heads.
start_server Xvfb -screen 0 $((2 * HEAD_WIDTH))x${HEAD_HEIGHT}x24 -nolisten tcp || exit 2
HOST_DISPLAY=$SERVER_DISPLAY

start_xephyr() {  # start_xephyr OPTIONS...: DISPLAY becomes the nested server
  [ -n "$XEPHYR_PID" ] && kill "$XEPHYR_PID" 2>/dev/null
  DISPLAY=$HOST_DISPLAY start_server Xephyr "$@" -ac -br || exit 2
  XEPHYR_PID=$SERVER_PID
  export DISPLAY=$SERVER_DISPLAY
}

start_xephyr -screen ${HEAD_WIDTH}x${HEAD_HEIGHT}+0+0 -screen ${HEAD_WIDTH}x${HEAD_HEIGHT}+${HEAD_WIDTH}+0 +xinerama

# A prefix of its own: Wine keeps a prefix's monitors from its first display.
# RandR on Xephyr shows only the first screen; Xinerama shows both.
make_prefix || exit 2
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w

covers_both() {
  local seen stars head geometry
  seen=$(wine "$TOOLS/monitors.exe" 2>/dev/null | tr -d '\r')
  [ "$seen" = "2 0 0 $((2 * HEAD_WIDTH)) $HEAD_HEIGHT" ] ||
    fail "Wine does not see two monitors side by side: monitors, left, top, width, height '$seen'"
  start_wine_saver || return 1
  geometry=$(xdotool getwindowgeometry --shell "$SAVER_WINDOW" | tr '\n' ' ')
  [[ $geometry == *"X=0 Y=0 WIDTH=$((2 * HEAD_WIDTH)) HEIGHT=$HEAD_HEIGHT "* ]] || fail "window $geometry"
  sleep 4
  DISPLAY=$HOST_DISPLAY screenshot "$SHOT"
  # Xephyr's root is black (-br): the window's size says the sky covers
  # both; stars say each head is drawn.
  for head in 0 1; do
    stars=$(count_pixels "$SHOT" lit $((head * HEAD_WIDTH)) 0 $HEAD_WIDTH $HEAD_HEIGHT)
    [ "$stars" -ge 20 ] || fail "monitor $((head + 1)): $stars star pixels after 4 s"
  done
  ends_on keys "$SAVER_WINDOW" a
}

# One monitor whose mode changes while the saver runs, as when a game or a
# monitor switches it: the saver grows with it, and stars reach the new part.
grows_with_the_mode() {
  local small_width=1280 small_height=1024 seen geometry right below
  seen=$(wine "$TOOLS/monitors.exe" $small_width $small_height 2>/dev/null | tr -d '\r')
  [ "$seen" = "1 0 0 $small_width $small_height" ] || { fail "no ${small_width}x$small_height mode: '$seen'"; return 1; }
  start_wine_saver || return 1
  sleep 1
  seen=$(wine "$TOOLS/monitors.exe" $HEAD_WIDTH $HEAD_HEIGHT 2>/dev/null | tr -d '\r')
  sleep 4
  geometry=$(xdotool getwindowgeometry --shell "$SAVER_WINDOW" | tr '\n' ' ')
  screenshot "$CASE_DIR/grown.png"
  # Stars in the strip right of the old width, and in the one below it.
  right=$(count_pixels "$CASE_DIR/grown.png" lit $small_width 0 $((HEAD_WIDTH - small_width)) $HEAD_HEIGHT)
  below=$(count_pixels "$CASE_DIR/grown.png" lit 0 $small_height $small_width $((HEAD_HEIGHT - small_height)))
  running "$SAVER" || { fail "the saver ended"; return 1; }
  [ "$seen" = "1 0 0 $HEAD_WIDTH $HEAD_HEIGHT" ] || fail "the mode did not change: '$seen'"
  [[ $geometry == *"X=0 Y=0 WIDTH=$HEAD_WIDTH HEIGHT=$HEAD_HEIGHT "* ]] || fail "window $geometry"
  [ "$right" -ge 5 ] && [ "$below" -ge 1 ] || fail "stars in the new part: $right right, $below below"
  ends_on keys "$SAVER_WINDOW" a
}

check "two monitors: one window covers both, a black sky with stars on each, a key ends it" covers_both
# The single monitor: a new server, and Wine's monitors read afresh. The mode
# is RandR's to change.
wineserver -k
start_xephyr -screen ${HEAD_WIDTH}x${HEAD_HEIGHT}
wine reg delete 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /f >/dev/null 2>&1
wineserver -w
check "a larger display mode while running: the sky grows, a key still ends it" grows_with_the_mode
summary
