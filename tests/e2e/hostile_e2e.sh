#!/usr/bin/env bash
# The Linux program against hostile places the unit tests cannot stage: a
# settings file that never ends under the real event loop and dialog, and a
# lock with no private folder, where only the display is left to hold it.
# The readers' and the lock's own rules are unit-tested.
# Usage: hostile_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu, ...)
set -u
MOFU="$(cd "$1" && pwd)/bin/mofu"
. "$(dirname "$0")/../lib.sh"

start_saver() {
  SAVER_ERR="$SANDBOX/stderr"
  "$MOFU" /s 2>"$SAVER_ERR" &
  SAVER=$!
}

key_ends_it() {  # a key ends the running saver within a second, cleanly
  running "$SAVER" || { fail "the saver was not running"; return 1; }
  [ -n "$(window_named 'Mofu Saver')" ] || fail "no saver window on screen"
  xdotool key x
  if ! ends_within 1 "$SAVER"; then
    kill -9 "$SAVER" 2>/dev/null
    fail "still running a second after a key"
    return 1
  fi
  wait "$SAVER" || fail "exit status $?: $(head -c 300 "$SAVER_ERR" 2>/dev/null)"
}

endless_settings() {  # endless_settings fifo|zero
  fresh_home
  local file="$XDG_CONFIG_HOME/mofu/settings.ini"
  mkdir -p "$XDG_CONFIG_HOME/mofu"
  case $1 in
    fifo) mkfifo "$file" ;;
    zero) ln -s /dev/zero "$file" ;;
  esac
  start_saver
  sleep 1.5
  key_ends_it
  # The dialog either opens or ends; it never hangs without a window.
  "$MOFU" /c &
  local dialog=$! shown=
  for _ in $(seq 40); do
    [ -n "$(window_named '設定')" ] && { shown=1; break; }
    running "$dialog" || break
    sleep 0.05
  done
  if running "$dialog"; then
    [ -n "$shown" ] || fail "/c neither shows the dialog nor ends"
    kill "$dialog"
  fi
  wait "$dialog" 2>/dev/null
  return 0
}

# No private folder: the runtime folder is open to all, or missing, and the
# temporary folder's place is taken, so the lock falls back on the display.
unusable_lock_place() {  # unusable_lock_place open|missing
  fresh_home
  case $1 in
    open) chmod 777 "$XDG_RUNTIME_DIR" ;;
    missing) rmdir "$XDG_RUNTIME_DIR" ;;
  esac
  export TMPDIR="$SANDBOX/tmp"
  mkdir -p "$TMPDIR"
  printf 'taken\n' >"$TMPDIR/mofu-$(id -u)"
  start_saver
  sleep 1
  local arg pid
  for arg in /s /c; do
    "$MOFU" $arg &
    pid=$!
    ends_within 0.5 "$pid" || { kill "$pid"; fail "a second '$arg' kept running"; }
    wait "$pid" 2>/dev/null
  done
  key_ends_it
  [ ! -d "$XDG_RUNTIME_DIR" ] || [ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] ||
    fail "a lock file was made in a folder open to all"
}

start_xvfb 1920x1080 || exit 1
for kind in fifo zero; do
  check "settings.ini a $kind: a key ends the saver, the dialog shows or ends" endless_settings "$kind"
done
check "runtime folder open to all, no private one: still one copy" unusable_lock_place open
check "no runtime folder, no private one: still one copy" unusable_lock_place missing
summary
