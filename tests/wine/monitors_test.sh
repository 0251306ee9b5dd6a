#!/usr/bin/env bash
# Two monitors side by side: Xephyr shows two 1920x1080 screens joined by
# Xinerama in a window of a private Xvfb, and the saver covers both.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
# shellcheck disable=SC2034  # read by start_wine_saver
SCR=$(realpath "${1:?usage: $0 path/to/mofu.scr}")
SHOT=${MOFU_MONITORS_SHOT:-/tmp/mofu-win-two-monitors.png}
HEAD_WIDTH=1920
HEAD_HEIGHT=1080
command -v Xephyr >/dev/null || { echo "Xephyr not found: run scripts/deps.sh windows" >&2; exit 2; }
# Two full-HD heads under Wine on a shared machine: an ending may take a while.
# shellcheck disable=SC2034  # read by ends_on
ENDS_WITHIN=5

# The host display holds both heads.
start_server Xvfb -screen 0 $((2 * HEAD_WIDTH))x${HEAD_HEIGHT}x24 -nolisten tcp || exit 2
HOST_DISPLAY=$SERVER_DISPLAY
DISPLAY=$HOST_DISPLAY start_server Xephyr -screen ${HEAD_WIDTH}x${HEAD_HEIGHT}+0+0 \
  -screen ${HEAD_WIDTH}x${HEAD_HEIGHT}+${HEAD_WIDTH}+0 +xinerama -ac -br || exit 2
export DISPLAY=$SERVER_DISPLAY
# A prefix of its own: Wine keeps a prefix's monitors from its first display.
# RandR on Xephyr shows only the first screen; Xinerama shows both.
make_prefix || exit 2
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w

covers_both() {
  local stars head geometry
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

check "two monitors: one window covers both, a black sky with stars on each, a key ends it" covers_both
summary
