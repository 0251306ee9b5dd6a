#!/usr/bin/env bash
# An error that ends the Linux program: a line on standard error always, a
# message box as well where the dialog module loads and finds a display,
# never a box in hack mode; a status other than 0 either way. The error is
# a refused first connection to the X server (a preloaded stand-in for
# Xlib's XOpenDisplay), or a handed window that does not exist.
# Usage: error_report_e2e.sh PREFIX TOOLS   (an installed tree, build/default/tools)
set -u
. "$(dirname "$0")/../lib.sh"
linux_setup "$@"

# Runs the program; BOX says whether a message box must show. ENV is given
# to env(1): "-u DISPLAY", "LD_PRELOAD=...", or "-" for nothing.
reported() {  # reported yes|no LINE ENV -- ARGS...
  local box=$1 line=$2 environment=$3 shown='' pid
  shift 4
  fresh_home
  [ "$environment" = - ] && environment=
  # shellcheck disable=SC2086
  env $environment "$MOFU" "$@" 2>"$SANDBOX/stderr" &
  pid=$! && STARTED+=("$pid")
  for _ in $(seq 60); do
    shown=$(window_named "$PROGRAM_TITLE" | head -n 1)
    { [ -n "$shown" ] || ! running "$pid"; } && break
    sleep 0.05
  done
  # The line comes first, whatever the box does.
  grep -qxF "mofu: $line" "$SANDBOX/stderr" || fail "standard error holds '$(head -c 200 "$SANDBOX/stderr")'"
  [ "$box" = yes ] && [ -z "$shown" ] && fail "no message box"
  [ "$box" = no ] && [ -n "$shown" ] && fail "a message box showed"
  [ -n "$shown" ] && xdotool windowfocus --sync "$shown" key Return 2>/dev/null
  ends_within 3 "$pid" || { fail "still running 3 s on"; return 1; }
  wait "$pid" && fail "exit status 0"
  return 0
}

REFUSED="LD_PRELOAD=$TOOLS/first_display_refused.so"
start_xvfb 1024x768 || exit 1
check "the saver's display refused: a line, then a box" \
  reported yes "cannot open the X display" "$REFUSED" -- /s
check "no display at all: the line alone" reported no "cannot open the X display" "-u DISPLAY" -- /s
check "hack mode, no such window: the line alone" reported no "no window 0x3fffff" - -- --window-id 0x3fffff
summary
