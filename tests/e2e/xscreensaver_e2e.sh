#!/usr/bin/env bash
# The saver as the one hack of the real XScreenSaver daemon, with locking on,
# and on two monitors (Xephyr with Xinerama inside the private X server).
# The daemon will not run hacks as root, so it runs as a throwaway user with
# a password, made here and removed again however the suite ends.
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
PASSWORD=mofu$RANDOM$RANDOM  # the daemon locks only an account that has one
HOME_DIR="$WORK/home"
DAEMON=
XEPHYR=

stop_daemon() {
  [ -n "$DAEMON" ] || return 0
  kill "$DAEMON" 2>/dev/null
  wait "$DAEMON" 2>/dev/null
  DAEMON=
  # whatever the daemon left of its helpers and hacks
  pkill -u "$TESTER"
  sleep 0.2
  pkill -9 -u "$TESTER"
  return 0
}
cleanup() {
  stop_daemon
  [ -n "$XEPHYR" ] && { kill "$XEPHYR" 2>/dev/null; wait "$XEPHYR" 2>/dev/null; }
  id "$TESTER" >/dev/null 2>&1 && userdel -r "$TESTER" >/dev/null 2>&1
  id "$TESTER" >/dev/null 2>&1 && echo "could not remove the user $TESTER" >&2
  rm -rf "$WORK"
}
at_exit cleanup

# The hack must be reachable by the throwaway user, wherever the tree is.
cp -r "$PREFIX" "$WORK/prefix" && chmod -R a+rX "$WORK/prefix"
MOFU="$WORK/prefix/bin/mofu"
useradd -M -d "$HOME_DIR" -s /bin/sh "$TESTER" || { echo "cannot make a user"; exit 1; }
mkdir -p "$HOME_DIR" && chown "$TESTER:" "$HOME_DIR"
echo "$TESTER:$PASSWORD" | chpasswd || { echo "cannot set the password"; exit 1; }

as_tester() {
  setpriv --reuid="$TESTER" --regid="$TESTER" --init-groups \
    env -i DISPLAY="$DISPLAY" HOME="$HOME_DIR" PATH=/usr/bin:/bin "$@"
}

configure() {  # configure LOCK: our program as the daemon's only hack
  cat >"$HOME_DIR/.xscreensaver" <<EOF
timeout:	0:30:00
lock:		$1
lockTimeout:	0:00:00
mode:		one
selected:	0
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
grabDesktopImages:	False
programs:	"Mofu Saver" $MOFU --root \\n
EOF
  chown "$TESTER:" "$HOME_DIR/.xscreensaver"
}

start_daemon() {
  as_tester xscreensaver -no-splash -verbose >"$WORK/daemon.log" 2>&1 &
  DAEMON=$!
  for _ in $(seq 50); do
    as_tester xscreensaver-command -time >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "the daemon did not start:" >&2
  tail -n 20 "$WORK/daemon.log" >&2
  return 1
}

hacks() { pgrep -u "$TESTER" -x mofu | sort | tr '\n' ' '; }
no_hacks_within_2s() { for _ in $(seq 20); do [ -z "$(hacks)" ] && return 0; sleep 0.1; done; return 1; }

# --- one monitor, locking on --------------------------------------------

locked_sky_shows() {
  as_tester xscreensaver-command -lock >/dev/null || { fail "xscreensaver-command -lock failed"; return 1; }
  local lit=0
  for _ in $(seq 10); do
    sleep 1
    [ -n "$(hacks)" ] || continue
    lit=$(pixels lit)
    [ "$lit" -ge 300 ] && break
  done
  [ -n "$(hacks)" ] || { fail "no mofu runs under the daemon"; return 1; }
  [ "$lit" -ge 300 ] || fail "the sky did not show: $lit lit pixels"
}

unlock_dialog_is_above_the_sky() {
  local before geometry w h x y light
  before=$(hacks)
  xdotool key x
  sleep 1.5
  # the topmost window on the screen: xwininfo lists the top child first
  geometry=$(xwininfo -root -children | sed -n 's/^ *0x[0-9a-f]* .* \([0-9]*\)x\([0-9]*\)+\([0-9-]*\)+\([0-9-]*\)  .*/\1 \2 \3 \4/p' | head -n 1)
  read -r w h x y <<<"$geometry"
  [ -n "${w:-}" ] && [ "$w" -lt 1280 ] && [ "$w" -gt 100 ] ||
    { fail "no dialog on top of the stack ($geometry)"; return 1; }
  import -window root "$WORK/shot.png" 2>/dev/null
  # the dialog is light grey; a sky over it would leave that rectangle dark
  light=$(convert "$WORK/shot.png" -crop "${w}x${h}+${x}+${y}" +repage -colorspace Gray \
    -threshold 70% -format '%[fx:int(mean*100)]' info:)
  [ "$light" -ge 50 ] || fail "the dialog's rectangle is only $light% light: it is covered"
  [ "$(hacks)" = "$before" ] || fail "the key changed the hacks: '$before' became '$(hacks)'"
  ! grep -q occluded "$WORK/daemon.log" || fail "the daemon found its windows occluded"
}

# --- two monitors ---------------------------------------------------------

start_xephyr() {
  start_server Xephyr -screen 640x480+0+0 -screen 640x480+640+0 +xinerama -ac -br || return 1
  XEPHYR=$SERVER_PID
  export DISPLAY=$SERVER_DISPLAY
}

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
  no_hacks_within_2s || fail "mofu still runs after -deactivate: $(hacks)"
}

start_xvfb 1280x1024 || exit 1
configure True
if start_daemon; then
  check "locked: the daemon runs mofu --root and the sky shows" locked_sky_shows
  check "a key brings the unlock dialog, visible above the sky" unlock_dialog_is_above_the_sky
else
  fail "the daemon did not start"
fi
stop_daemon

configure False
if start_xephyr && start_daemon; then
  check "two monitors: one copy on each, never restarted" one_copy_per_monitor_and_no_restarts
else
  fail "no daemon on two monitors"
fi
summary
