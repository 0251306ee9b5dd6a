#!/usr/bin/env bash
# Two monitors side by side: Xephyr shows two 1920x1080 screens joined by
# Xinerama in a window of a private Xvfb, and the saver covers both. Then one
# monitor whose display mode grows while the saver runs.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
SCR=$(realpath "${1:?usage: $0 path/to/mofu.scr}")
SHOT=${MOFU_MONITORS_SHOT:-/tmp/mofu-win-two-monitors.png}
HEAD_WIDTH=1920
HEAD_HEIGHT=1080

for tool in Xephyr x86_64-w64-mingw32-gcc; do
  command -v "$tool" >/dev/null || { echo "$tool not found: run scripts/deps.sh windows" >&2; exit 2; }
done

WORK=$(mktemp -d)
XEPHYR_PID=""
at_exit 'rm -rf "$WORK"'

x86_64-w64-mingw32-gcc -O2 -o "$WORK/monitors.exe" "$TESTS_DIR/wine/monitors.c" ||
  { echo "cannot build monitors.exe" >&2; exit 2; }

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

seen=$(wine "$WORK/monitors.exe" 2>/dev/null | tr -d '\r')
expected="2 0 0 $((2 * HEAD_WIDTH)) $HEAD_HEIGHT"
if [ "$seen" = "$expected" ]; then
  pass "Wine sees two monitors side by side"
else
  fail "Wine sees two monitors side by side" "monitors, left, top, width, height: '$seen'"
fi

# Star pixels (the 15 bright palette colours) and black pixels of one head,
# as the host display shows it: "black stars".
head_counts() {  # head_counts SHOT INDEX
  convert "$1" -crop "${HEAD_WIDTH}x${HEAD_HEIGHT}+$(($2 * HEAD_WIDTH))+0" -format %c histogram:info:- |
    sed -n 's/^ *\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' | awk '
      BEGIN { split("0 128 192 255", levels); for (i in levels) ok[levels[i]] = 1 }
      $2 == 0 && $3 == 0 && $4 == 0 { black += $1; next }
      ok[$2] && ok[$3] && ok[$4] { stars += $1 }
      END { printf "%d %d\n", black, stars }'
}

start_scr /s
SAVER=$(find_window "$PROGRAM_TITLE" 15)
if [ -z "$SAVER" ]; then
  fail "saver window" "did not appear"
else
  geometry=$(xdotool getwindowgeometry --shell "$SAVER" | tr '\n' ' ')
  if [[ $geometry == *"X=0 Y=0 WIDTH=$((2 * HEAD_WIDTH)) HEIGHT=$HEAD_HEIGHT "* ]]; then
    pass "the window covers both monitors"
  else
    fail "the window covers both monitors" "$geometry"
  fi
  sleep 4
  DISPLAY=$HOST_DISPLAY screenshot "$SHOT"
  for head in 0 1; do
    read -r black stars < <(head_counts "$SHOT" "$head")
    name="monitor $((head + 1)): black sky with stars"
    if [ $((black * 100 / (HEAD_WIDTH * HEAD_HEIGHT))) -lt 95 ]; then
      fail "$name" "only $black pixels are black"
    elif [ "$stars" -lt 20 ]; then
      fail "$name" "$stars star pixels after 4 s"
    else
      pass "$name ($stars star pixels)"
    fi
  done
  keys "$SAVER" a
  if ! wait_exit 10; then
    fail "a key ends it" "still running 10 s later"
  elif [ "$SCR_STATUS" -ne 0 ]; then
    fail "a key ends it" "exit status $SCR_STATUS"
  else
    pass "a key ends it"
  fi
fi
stop_scr

# One monitor whose mode changes while the saver runs, as when a game or a
# monitor switches it: the saver grows with it, and stars reach the new part.
wineserver -k
start_xephyr -screen ${HEAD_WIDTH}x${HEAD_HEIGHT}
# The mode is RandR's to change; Wine reads the monitors again at its start.
wine reg delete 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /f >/dev/null 2>&1
wineserver -w
SMALL_WIDTH=1280
SMALL_HEIGHT=1024
seen=$(wine "$WORK/monitors.exe" $SMALL_WIDTH $SMALL_HEIGHT 2>/dev/null | tr -d '\r')
start_scr /s
SAVER=$(find_window "$PROGRAM_TITLE" 15)
if [ "$seen" != "1 0 0 $SMALL_WIDTH $SMALL_HEIGHT" ] || [ -z "$SAVER" ]; then
  fail "a larger display mode while running" "no saver at ${SMALL_WIDTH}x$SMALL_HEIGHT ('$seen')"
else
  sleep 1
  seen=$(wine "$WORK/monitors.exe" $HEAD_WIDTH $HEAD_HEIGHT 2>/dev/null | tr -d '\r')
  sleep 4
  geometry=$(xdotool getwindowgeometry --shell "$SAVER" | tr '\n' ' ')
  screenshot "$WORK/grown.png"
  # Stars in the strip right of the old width, and in the one below it.
  strip_stars() {  # strip_stars GEOMETRY
    convert "$WORK/grown.png" -crop "$1" -format %c histogram:info:- |
      sed -n 's/^ *\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' | awk '
        BEGIN { split("0 128 192 255", levels); for (i in levels) ok[levels[i]] = 1 }
        !($2 == 0 && $3 == 0 && $4 == 0) && ok[$2] && ok[$3] && ok[$4] { n += $1 }
        END { print n + 0 }'
  }
  right=$(strip_stars "$((HEAD_WIDTH - SMALL_WIDTH))x${HEAD_HEIGHT}+${SMALL_WIDTH}+0")
  below=$(strip_stars "${SMALL_WIDTH}x$((HEAD_HEIGHT - SMALL_HEIGHT))+0+${SMALL_HEIGHT}")
  if ! kill -0 "$SCR_PID" 2>/dev/null; then
    fail "a larger display mode while running" "the saver ended"
  elif [ "$seen" != "1 0 0 $HEAD_WIDTH $HEAD_HEIGHT" ]; then
    fail "a larger display mode while running" "the mode did not change: '$seen'"
  elif [[ $geometry != *"X=0 Y=0 WIDTH=$HEAD_WIDTH HEIGHT=$HEAD_HEIGHT "* ]]; then
    fail "a larger display mode while running" "window $geometry"
  elif [ "$right" -lt 5 ] || [ "$below" -lt 1 ]; then
    fail "a larger display mode while running" "stars in the new part: $right right, $below below"
  else
    pass "a larger display mode while running: the sky grows ($right + $below stars in the new part)"
  fi
  keys "$SAVER" a
  if wait_exit 10; then pass "a key ends it after the change"; else fail "a key ends it after the change" "still running"; fi
fi
stop_scr

summary
