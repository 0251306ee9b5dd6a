#!/usr/bin/env bash
# The Linux program against hostile places the unit tests cannot stage: a
# settings file that never ends under the real event loop and dialog, and a
# lock with no private folder, where only the display is left to hold it.
# The readers' and the lock's own rules are unit-tested.
# Usage: hostile_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu, ...)
set -u
MOFU="$(cd "$1" && pwd)/bin/mofu"
. "$(dirname "$0")/../lib.sh"

# With the place made hostile, the saver runs; a second /s or /c ends at
# once; the dialog either opens or ends, never hangs without a window; a
# key ends the saver within a second, cleanly.
hostile() {  # hostile fifo|zero|open|missing
  fresh_home
  begin_case
  local file="$XDG_CONFIG_HOME/mofu/settings.ini" arg pid
  mkdir -p "$XDG_CONFIG_HOME/mofu"
  # No private folder: the runtime folder is open to all, or missing, and
  # the temporary folder's place is taken, so the lock falls back on the
  # display.
  export TMPDIR="$SANDBOX/tmp"
  mkdir -p "$TMPDIR"
  case $1 in
    fifo) mkfifo "$file" ;;
    zero) ln -s /dev/zero "$file" ;;
    open) chmod 777 "$XDG_RUNTIME_DIR"; printf 'taken\n' >"$TMPDIR/mofu-$(id -u)" ;;
    missing) rmdir "$XDG_RUNTIME_DIR"; printf 'taken\n' >"$TMPDIR/mofu-$(id -u)" ;;
  esac
  "$MOFU" /s 2>"$SANDBOX/stderr" &
  SAVER=$!
  STARTED+=("$SAVER")
  sleep 1.5
  for arg in /s /c; do
    "$MOFU" $arg &
    pid=$!
    STARTED+=("$pid")
    ends_within 0.5 "$pid" || fail "a second '$arg' kept running"
  done
  [ -n "$(window_named 'Mofu Saver')" ] || fail "no saver window on screen"
  xdotool key x
  ends_within 1 "$SAVER" || { fail "still running a second after a key"; return 1; }
  wait "$SAVER" || fail "exit status $?: $(head -c 300 "$SANDBOX/stderr")"
  [ "$1" != open ] || [ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] ||
    fail "a lock file was made in a folder open to all"
  "$MOFU" /c &
  pid=$!
  STARTED+=("$pid")
  for _ in $(seq 40); do
    [ -n "$(window_named '設定')" ] || ! running "$pid" && return 0
    sleep 0.05
  done
  fail "/c neither shows the dialog nor ends"
}

start_xvfb 1920x1080 || exit 1
check "settings.ini a pipe: one copy, a key ends the saver, the dialog shows or ends" hostile fifo
check "settings.ini /dev/zero: one copy, a key ends the saver, the dialog shows or ends" hostile zero
check "runtime folder open to all, no private one: one copy, a key ends it" hostile open
check "no runtime folder, no private one: one copy, a key ends it" hostile missing
summary
