#!/usr/bin/env bash
# The running saver under Wine: a black full-screen sky with stars and the
# cat walking left, kept up without input and ended by any of it.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"
SHOT=${MOFU_SAVER_SHOT:-/tmp/mofu-win-saver.png}

start_saver() {
  start_scr /s
  SAVER=$(find_window "$PROGRAM_TITLE" 15) || { stop_scr; fail "no saver window"; return 1; }
}

sky_stars_and_cat() {
  start_saver || return 1
  sleep 3
  screenshot "$SHOT"
  local black stars first="" second
  read -r black stars < <(sky_counts "$SHOT")
  # The bare test display is not black: black means the window covers it.
  [ $((black * 100 / (SCREEN_WIDTH * SCREEN_HEIGHT))) -ge 95 ] || fail "only $black pixels are black"
  [ "$stars" -ge 50 ] || fail "$stars star pixels after 3 s"
  for _ in $(seq 15); do  # it enters from the right a few seconds in
    screenshot "$SHOT"
    first=$(cat_left "$SHOT")
    [ -n "$first" ] && break
    sleep 2
  done
  [ -n "$first" ] || { stop_scr; fail "no cat within 30 s"; return 1; }
  sleep 3
  screenshot "$SHOT"
  second=$(cat_left "$SHOT")
  [ -n "$second" ] && [ "$second" -lt "$first" ] || fail "the cat's left edge: $first, then '$second'"
  kill -0 "$SCR_PID" 2>/dev/null || fail "ended without input"
  stop_scr
}

ends_on() {  # ends_on pointer|key|shift|click|right-click
  start_saver || return 1
  sleep 1
  case $1 in
    # The first position seen is only the reference; a move away ends it.
    pointer) xdotool mousemove 200 200 && sleep 0.3 && xdotool mousemove 260 230 ;;
    key) keys "$SAVER" a ;;
    shift) keys "$SAVER" Shift_L ;;
    click) xdotool click 1 ;;
    right-click) xdotool click 3 ;;
  esac
  wait_exit 10 || { stop_scr; fail "still running 10 s later"; return 1; }
  [ "$SCR_STATUS" -eq 0 ] || fail "exit status $SCR_STATUS"
  [ -z "$(window_named "$PROGRAM_TITLE")" ] || fail "a window is left"
}

check "a black full-screen sky, stars, the cat walking left" sky_stars_and_cat
for input in pointer key shift click right-click; do
  check "ends on $input, leaving no window" ends_on "$input"
done
summary
