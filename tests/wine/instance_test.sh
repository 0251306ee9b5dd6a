#!/usr/bin/env bash
# Only one copy runs: a second one started while the first is open ends at
# once, whatever it was asked, and shows nothing.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"

# first copy's switch and title | second copy's argument text
cases=("/s|$PROGRAM_TITLE|/s" "/s|$PROGRAM_TITLE|/c" "/c|$DIALOG_TITLE|/a" "/c|$DIALOG_TITLE|")

for row in "${cases[@]}"; do
  IFS='|' read -r first title second <<<"$row"
  name="'$second' while '$first' runs"
  start_scr "$first"
  first_pid=$SCR_PID
  if ! find_window "$title" 15 >/dev/null; then
    fail "$name" "the first copy showed no window"
    stop_scr
    continue
  fi
  windows_before=$(xdotool search --onlyvisible --name "^($PROGRAM_TITLE|$DIALOG_TITLE)\$" | wc -l)
  # shellcheck disable=SC2086
  start_scr $second
  if ! wait_exit 10; then
    fail "$name" "the second copy did not end"
  elif [ "$SCR_STATUS" -ne 0 ]; then
    fail "$name" "the second copy ended with status $SCR_STATUS"
  elif ! kill -0 "$first_pid" 2>/dev/null; then
    fail "$name" "the first copy ended too"
  elif [ "$(xdotool search --onlyvisible --name "^($PROGRAM_TITLE|$DIALOG_TITLE)\$" | wc -l)" -ne "$windows_before" ]; then
    fail "$name" "a window was added"
  else
    pass "$name ends at once"
  fi
  stop_scr
  SCR_PID=$first_pid
  stop_scr
done

summary
