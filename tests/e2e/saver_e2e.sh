#!/usr/bin/env bash
# The Linux saver end to end, on a private 1920x1080 X server.
# Usage: saver_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu, PREFIX/share/mofu)
set -u
PREFIX=$(cd "$1" && pwd)
MOFU="$PREFIX/bin/mofu"
. "$(dirname "$0")/../lib.sh"

start_saver() {  # start_saver [ARG]
  "$MOFU" "${1:-/s}" &
  SAVER=$!
}

stop_saver() {
  kill "$SAVER" 2>/dev/null
  wait "$SAVER" 2>/dev/null
  return 0
}

stars_within_three_seconds() {
  fresh_home
  start_saver /s
  sleep 3
  local lit
  lit=$(lit_pixels)
  stop_saver
  [ "$lit" -ge 200 ] || fail "only $lit lit pixels after 3 s"
}

ends_on() {  # ends_on ACTION...: the saver ends within a second and leaves no window
  fresh_home
  start_saver /s
  sleep 1.5
  running "$SAVER" || fail "the saver was not running"
  [ -n "$(window_named 'Mofu Saver')" ] || fail "no saver window on screen"
  "$@"
  if ! ends_within 1 "$SAVER"; then
    stop_saver
    fail "still running a second after: $*"
    return 1
  fi
  wait "$SAVER"
  local status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
  [ -z "$(window_named 'Mofu Saver')" ] || fail "a window was left behind"
  [ "$(lit_pixels)" -eq 0 ] || fail "the screen was not left clean"
}

pointer_move() { xdotool mousemove_relative -- 5 5; }
key_press() { xdotool key x; }
click() { xdotool click 1; }
shift_alone() { xdotool key Shift_L; }

preview_draws_nothing() {
  fresh_home
  "$MOFU" /p &
  local pid=$!
  ends_within 0.5 "$pid" || { kill "$pid"; fail "/p did not end at once"; return 1; }
  wait "$pid" || fail "/p exit status $?"
  [ "$(lit_pixels)" -eq 0 ] || fail "/p drew something"
}

password_message() {
  fresh_home
  "$MOFU" /a &
  local pid=$! box
  for _ in $(seq 50); do
    box=$(window_named 'Mofu Saver')
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || { kill "$pid"; fail "no message box titled 'Mofu Saver'"; return 1; }
  running "$pid" || fail "/a did not wait for the box"
  xdotool windowfocus --sync "$box" 2>/dev/null; xdotool key Return
  ends_within 2 "$pid" || { kill "$pid"; fail "/a did not end once the box was closed"; return 1; }
  wait "$pid" || fail "/a exit status $?"
  [ ! -e "$XDG_CONFIG_HOME/mofu/settings.ini" ] || fail "/a wrote settings"
}

second_instance_ends_at_once() {
  fresh_home
  start_saver /s
  sleep 1
  local arg pid
  for arg in /s /c /a /p "" /S; do
    "$MOFU" $arg &
    pid=$!
    ends_within 0.5 "$pid" || { kill "$pid"; fail "a second '$arg' kept running"; }
    wait "$pid" || fail "a second '$arg' ended with status $?"
  done
  running "$SAVER" || fail "the first saver did not survive"
  stop_saver
}

saver_maps_no_gtk() {
  fresh_home
  start_saver /s
  sleep 1
  local maps
  maps=$(grep -c -E 'libgtk|libgdk|mofu-gtk' "/proc/$SAVER/maps")
  stop_saver
  [ "$maps" -eq 0 ] || fail "the saver maps $maps GTK pages"
}

# Ten seconds, not fewer: by then width-40 dots have passed over most of the
# sky once and a star outlives them about two times in three, so the sky
# with width-10 dots holds half as many again; after six seconds the gap was
# within chance of the threshold.
density_follows_blk() {  # fewer stars stay on the sky with wider eraser dots
  local lit10 lit40 lit120
  fresh_home; store blk 10; start_saver /s; sleep 10; lit10=$(lit_pixels 1600); stop_saver
  fresh_home; store blk 40; start_saver /s; sleep 10; lit40=$(lit_pixels 1600); stop_saver
  fresh_home; store blk 120; start_saver /s; sleep 10; lit120=$(lit_pixels 1600); stop_saver
  echo "    lit pixels left of x=1600 after 10 s: blk 10: $lit10, blk 40: $lit40, blk 120: $lit120"
  [ "$lit10" -gt $((lit40 * 23 / 20)) ] || fail "blk 10 ($lit10) is not clearly denser than 40 ($lit40)"
  [ "$lit40" -gt $((lit120 * 2)) ] || fail "blk 40 ($lit40) is not clearly denser than 120 ($lit120)"
}

unreadable_blk_is_forty() {  # a hand-edited "blk" that is not a number erases like 40
  local lit40 litbad
  fresh_home; store blk abc; start_saver /s; sleep 6; litbad=$(lit_pixels 1600); stop_saver
  fresh_home; store blk 40; start_saver /s; sleep 6; lit40=$(lit_pixels 1600); stop_saver
  echo "    lit pixels left of x=1600 after 6 s: blk abc: $litbad, blk 40: $lit40"
  [ "$litbad" -lt $((lit40 * 3 / 2)) ] && [ "$litbad" -gt $((lit40 * 2 / 3)) ] ||
    fail "blk abc ($litbad) does not look like 40 ($lit40)"
}

missing_pictures_do_not_crash() {
  fresh_home
  store sspeed 1
  local bare
  bare=$(mktemp -d)
  mkdir -p "$bare/bin"
  cp "$MOFU" "$bare/bin/"
  "$bare/bin/mofu" /s &
  SAVER=$!
  sleep 8  # at the fastest pace the cat tries to change pose about once a second
  running "$SAVER" || fail "the saver died without its pictures"
  xdotool key x
  ends_within 1 "$SAVER" || fail "did not end on a key"
  wait "$SAVER" || fail "exit status $?"
  rm -rf "$bare"
}

start_xvfb 1920x1080 || exit 1
check "/s fills the screen with stars within 3 s" stars_within_three_seconds
check "a pointer move ends it within 1 s" ends_on pointer_move
check "a key ends it within 1 s" ends_on key_press
check "a click ends it within 1 s" ends_on click
check "shift alone ends it within 1 s" ends_on shift_alone
check "/p ends at once and draws nothing" preview_draws_nothing
check "/a shows the message box titled Mofu Saver, then ends" password_message
check "a second instance ends at once whatever its switch" second_instance_ends_at_once
check "the saver process maps no GTK library" saver_maps_no_gtk
check "blk 10, 40 and 120 give denser to sparser skies" density_follows_blk
check "an unreadable blk behaves as 40" unreadable_blk_is_forty
check "missing pose pictures never crash the saver" missing_pictures_do_not_crash
summary
