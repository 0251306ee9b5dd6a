#!/usr/bin/env bash
# The running saver: a black full-screen sky with stars, ended by input.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"
SHOT=${MOFU_SAVER_SHOT:-/tmp/mofu-win-saver.png}

start_saver() {
  start_scr /s
  SAVER=$(find_window "$PROGRAM_TITLE" 15)
}

# Pixels of each colour on the screen: "count r g b" lines.
colour_counts() {
  convert "$1" -format %c histogram:info:- |
    sed -n 's/^ *\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p'
}

# Stars: the sky is black, and after a few seconds holds dozens of
# single-pixel stars in the 15 bright palette colours.
check_sky() {
  sleep 3
  local shot
  shot=$(mktemp --suffix=.png)
  screenshot "$shot"
  local counts black stars
  counts=$(colour_counts "$shot")
  rm -f "$shot"
  black=$(awk '$2 == 0 && $3 == 0 && $4 == 0 { print $1 }' <<<"$counts")
  stars=$(awk '
    BEGIN { split("0 128 192 255", levels); for (i in levels) ok[levels[i]] = 1 }
    !($2 == 0 && $3 == 0 && $4 == 0) && ok[$2] && ok[$3] && ok[$4] { n += $1 }
    END { print n + 0 }' <<<"$counts")
  local total=$((SCREEN_WIDTH * SCREEN_HEIGHT))
  # The bare test display is not black: black means the window covers it.
  if [ $((black * 100 / total)) -lt 95 ]; then
    fail "black full-screen sky" "only $black of $total pixels are black"
  else
    pass "black full-screen sky"
  fi
  if [ "$stars" -lt 50 ]; then
    fail "stars appear" "$stars star pixels after 3 s"
  else
    pass "stars appear ($stars star pixels after 3 s)"
  fi
}

# The cat is the only thing on the sky thicker than a dot: what is left of
# the picture after wearing every shape down by two pixels. Prints its left
# edge, or nothing while it is off the screen.
cat_left() {  # cat_left SCREENSHOT
  local box
  box=$(convert "$1" -fill white +opaque black -morphology Erode Square:2 -format '%@' info: 2>/dev/null)
  [[ $box =~ ^[1-9][0-9]*x[0-9]+\+([0-9]+)\+ ]] && echo "${BASH_REMATCH[1]}"
}

# It enters from the right a few seconds in, and walks left.
check_cat() {
  local shot first="" second="" tries=0
  shot=$(mktemp --suffix=.png)
  while [ -z "$first" ] && [ "$tries" -lt 15 ]; do
    sleep 2
    screenshot "$shot"
    first=$(cat_left "$shot")
    tries=$((tries + 1))
  done
  if [ -z "$first" ]; then
    fail "the cat walks in" "not seen within 30 s"
  else
    sleep 3
    screenshot "$SHOT"
    second=$(cat_left "$SHOT")
    if [ -n "$second" ] && [ "$second" -lt "$first" ]; then
      pass "the cat walks in and on to the left ($first -> $second)"
    else
      fail "the cat walks in and on to the left" "left edge $first, then '${second}'"
    fi
  fi
  rm -f "$shot"
}

dismiss_by() {  # dismiss_by INPUT
  case $1 in
    pointer)
      # The first position seen is only the reference; a move away ends it.
      xdotool mousemove 200 200
      sleep 0.3
      xdotool mousemove 260 230
      ;;
    key) keys "$SAVER" a ;;
    shift) keys "$SAVER" Shift_L ;;
    click) xdotool click 1 ;;
    right-click) xdotool click 3 ;;
  esac
}

start_saver
if [ -z "$SAVER" ]; then
  fail "saver window" "did not appear"
else
  check_sky
  if kill -0 "$SCR_PID" 2>/dev/null; then
    pass "keeps running without input"
  else
    fail "keeps running without input" "ended on its own"
  fi
  check_cat
fi
stop_scr

for input in pointer key shift click right-click; do
  start_saver
  if [ -z "$SAVER" ]; then
    fail "ends on $input" "no saver window"
    stop_scr
    continue
  fi
  sleep 1
  dismiss_by "$input"
  if ! wait_exit 10; then
    fail "ends on $input" "still running 10 s later"
  elif [ "$SCR_STATUS" -ne 0 ]; then
    fail "ends on $input" "exit status $SCR_STATUS"
  elif xdotool search --onlyvisible --name "^$PROGRAM_TITLE\$" >/dev/null 2>&1; then
    fail "ends on $input" "a window is left"
  else
    pass "ends on $input, leaving no window"
  fi
  stop_scr
done

summary
