#!/usr/bin/env bash
# The Linux saver end to end on a private X server: stars without GTK in the
# process, the inputs that end it, and one copy at a time where there is no
# private folder for the lock, so only the display is left to hold it.
# Which input ends it when, and the lock's own rules, are unit-tested.
# Usage: saver_e2e.sh PREFIX TOOLS   (an installed tree, build/default/tools)
set -u
. "$(dirname "$0")/../lib.sh"
linux_setup "$@"

stars_without_gtk() {
  fresh_home
  start_saver
  sleep 3
  local lit
  lit=$(pixels lit)
  [ "$lit" -ge 200 ] || fail "only $lit lit pixels after 3 s"
  ! grep -q -E 'libgtk|libgdk|mofu-gtk' "/proc/$SAVER/maps" || fail "the saver maps GTK"
}

input_ends_it() {  # input_ends_it XDOTOOL_ARGS...
  fresh_home
  start_saver
  sleep 1.5
  [ -n "$(window_named "$PROGRAM_TITLE")" ] || fail "no saver window on screen"
  ends_on xdotool "$@"
  [ "$(pixels lit)" -eq 0 ] || fail "the screen was not left clean"
}

# The runtime folder open to all, and the temporary folder's place taken:
# the lock falls back on the display. A second /s or /c ends at once, and no
# lock file is left where others could reach it. Which folders the lock
# takes is unit-tested.
display_holds_the_lock() {
  fresh_home
  export TMPDIR="$SANDBOX/tmp"
  mkdir -p "$TMPDIR"
  printf 'taken\n' >"$TMPDIR/mofu-$(id -u)"
  chmod 777 "$XDG_RUNTIME_DIR"
  start_saver
  local first=$SAVER arg
  sleep 1.5
  for arg in /s /c; do
    start_saver "$arg"
    ends_within 0.5 "$SAVER" || fail "a second '$arg' kept running"
  done
  SAVER=$first
  ends_on xdotool key x
  [ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] || fail "a lock file was made in a folder open to all"
}

start_xvfb 1024x768 || exit 1
check "/s fills the screen with stars within 3 s, no GTK library mapped" stars_without_gtk
while read -r input; do
  # shellcheck disable=SC2086
  check "'$input' ends it within 1 s, the screen left clean" input_ends_it $input
done <<'TABLE'
mousemove_relative -- 5 5
key x
click 1
click 4
TABLE
check "runtime folder open to all, no private one: one copy, a key ends it" display_holds_the_lock
summary
