#!/usr/bin/env bash
# The saver as the one hack of the real XScreenSaver daemon, on two monitors
# (Xephyr with Xinerama inside a private X server). The daemon will not run
# hacks as root, so it runs as a throwaway user, made here and removed again
# however the suite ends. That the hack draws only into the window it is
# given, and makes none of its own, is hack_e2e's to prove.
# Usage: xscreensaver_e2e.sh PREFIX [TOOLS]   (an installed tree: PREFIX/bin/mofu, PREFIX/share/mofu)
set -u
PREFIX=$(cd "$1" && pwd)
. "$(dirname "$0")/../lib.sh"

if [ "$(id -u)" -ne 0 ]; then
  echo "making a throwaway user needs root: skipped"
  exit 77
fi
for tool in xscreensaver xscreensaver-command Xephyr setpriv useradd; do
  command -v "$tool" >/dev/null || { echo "$tool not found: run scripts/deps.sh test"; exit 1; }
done

WORK=$(mktemp -d)
chmod 755 "$WORK"
TESTER=mofuxs$$
HOME_DIR="$WORK/home"
cleanup() {
  pkill -u "$TESTER"  # the daemon and whatever it left of its hacks
  sleep 0.2
  pkill -9 -u "$TESTER"
  id "$TESTER" >/dev/null 2>&1 && userdel -r "$TESTER" >/dev/null 2>&1
  id "$TESTER" >/dev/null 2>&1 && echo "could not remove the user $TESTER" >&2
  rm -rf "$WORK"
}
at_exit cleanup

# The hack must be reachable by the throwaway user, wherever the tree is.
cp -r "$PREFIX" "$WORK/prefix" && chmod -R a+rX "$WORK/prefix"
useradd -M -d "$HOME_DIR" -s /bin/sh "$TESTER" || { echo "cannot make a user"; exit 1; }
mkdir -p "$HOME_DIR"
printf '%s\n' 'timeout: 0:30:00' 'lock: False' 'mode: one' 'selected: 0' 'fade: False' \
  'unfade: False' 'splash: False' 'dpmsEnabled: False' 'grabDesktopImages: False' \
  "programs: \"Mofu Saver\" $WORK/prefix/bin/mofu --root \\n" >"$HOME_DIR/.xscreensaver"
chown -R "$TESTER:" "$HOME_DIR"

as_tester() {
  setpriv --reuid="$TESTER" --regid="$TESTER" --init-groups \
    env -i DISPLAY="$DISPLAY" HOME="$HOME_DIR" PATH=/usr/bin:/bin "$@"
}
hacks() { pgrep -u "$TESTER" -x mofu | sort | tr '\n' ' '; }

one_copy_per_monitor_and_no_restarts() {
  as_tester xscreensaver-command -activate >/dev/null || { fail "-activate failed"; return 1; }
  sleep 3
  local first later launches
  first=$(hacks)
  [ "$(wc -w <<<"$first")" -eq 2 ] || { fail "$(wc -w <<<"$first") copies run, not 2: $first"; return 1; }
  [ "$(pixels lit 0 0 640 480)" -ge 100 ] || fail "the left monitor stayed dark"
  [ "$(pixels lit 640 0 640 480)" -ge 100 ] || fail "the right monitor stayed dark"
  sleep 4
  later=$(hacks)
  [ "$later" = "$first" ] || fail "the copies were restarted: '$first' became '$later'"
  launches=$(grep -c 'forked .*mofu' "$WORK/daemon.log")
  [ "$launches" -eq 2 ] || fail "the daemon started mofu $launches times"
  as_tester xscreensaver-command -deactivate >/dev/null
  for _ in $(seq 20); do [ -z "$(hacks)" ] && return 0; sleep 0.1; done
  fail "mofu still runs after -deactivate: $(hacks)"
}

start_xvfb 1280x1024 || exit 1
start_server Xephyr -screen 640x480+0+0 -screen 640x480+640+0 +xinerama -ac -br || exit 1
export DISPLAY=$SERVER_DISPLAY
as_tester xscreensaver -no-splash -verbose >"$WORK/daemon.log" 2>&1 &
for _ in $(seq 50); do as_tester xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.1; done
check "two monitors: one copy on each, never restarted" one_copy_per_monitor_and_no_restarts
summary
