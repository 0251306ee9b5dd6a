#!/usr/bin/env bash
# The Linux saver end to end, on a private 1920x1080 X server: stars without
# GTK in the process, and the input that ends it. Which input ends it when
# is unit-tested; this is the X server's part of it.
# Usage: saver_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu, PREFIX/share/mofu)
set -u
MOFU="$(cd "$1" && pwd)/bin/mofu"
. "$(dirname "$0")/../lib.sh"

start_saver() {
  fresh_home
  begin_case
  "$MOFU" /s &
  SAVER=$!
  STARTED+=("$SAVER")
}

stars_without_gtk() {
  start_saver
  sleep 3
  local lit
  lit=$(pixels lit)
  [ "$lit" -ge 200 ] || fail "only $lit lit pixels after 3 s"
  ! grep -q -E 'libgtk|libgdk|mofu-gtk' "/proc/$SAVER/maps" || fail "the saver maps GTK"
}

ends_on() {  # ends_on XDOTOOL_ARGS...: the saver ends within a second and leaves no window
  start_saver
  sleep 1.5
  [ -n "$(window_named 'Mofu Saver')" ] || fail "no saver window on screen"
  xdotool "$@"
  ends_within 1 "$SAVER" || { fail "still running a second after: $*"; return 1; }
  wait "$SAVER" || fail "exit status $?"
  [ -z "$(window_named 'Mofu Saver')" ] || fail "a window was left behind"
  [ "$(pixels lit)" -eq 0 ] || fail "the screen was not left clean"
}

start_xvfb 1920x1080 || exit 1
check "/s fills the screen with stars within 3 s, no GTK library mapped" stars_without_gtk
while read -r input; do
  # shellcheck disable=SC2086
  check "'$input' ends it within 1 s" ends_on $input
done <<'TABLE'
mousemove_relative -- 5 5
key x
key Shift_L
click 1
click 4
TABLE
summary
