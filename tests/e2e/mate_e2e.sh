#!/usr/bin/env bash
# The saver as the theme of the real MATE screen saver, run from the
# installed entry: its Exec names /usr/libexec/xscreensaver/mofu, the only
# kind of place the daemon runs a theme from, so the suite links that name to
# the tree under test and removes the link however it ends. Its own session
# bus (which starts no services) and settings keep it away from any desktop.
# Usage: mate_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu, PREFIX/share/...)
set -u
PREFIX=$(cd "$1" && pwd)
. "$(dirname "$0")/../lib.sh"

HACK=/usr/libexec/xscreensaver/mofu
# The installed package's program would be the one tested, not this tree's.
{ [ -e "$HACK" ] || [ -L "$HACK" ]; } && { echo "$HACK exists already: skipped"; exit 77; }
[ -d "$(dirname "$HACK")" ] || { mkdir "$(dirname "$HACK")" 2>/dev/null && at_exit "rmdir $(dirname "$HACK")"; } ||
  { echo "cannot make $(dirname "$HACK"): skipped"; exit 77; }

WORK=$(mktemp -d) && at_exit 'rm -rf "$WORK"'
# Through the tree's own relative link: the pictures are found past two links.
ln -s "$PREFIX/libexec/xscreensaver/mofu" "$HACK" 2>/dev/null || { echo "cannot write $HACK: skipped"; exit 77; }
at_exit "[ \"\$(readlink $HACK)\" = $PREFIX/libexec/xscreensaver/mofu ] && rm -f $HACK"
mkdir -p "$WORK/data/applications/screensavers" "$WORK/bus" "$WORK/config/glib-2.0/settings" "$WORK/home"
ln -s "$PREFIX/share/applications/screensavers/mofu.desktop" "$WORK/data/applications/screensavers/"
cat >"$WORK/config/glib-2.0/settings/keyfile" <<'EOF'
[org/mate/screensaver]
mode='single'
themes=['screensavers-mofu']
lock-enabled=false
EOF
cat >"$WORK/bus.conf" <<EOF
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=$WORK</listen>
  <servicedir>$WORK/bus</servicedir>
  <policy context="default"><allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/></policy>
</busconfig>
EOF
export GSETTINGS_BACKEND=keyfile XDG_CONFIG_HOME=$WORK/config HOME=$WORK/home XDG_DATA_DIRS=$WORK/data:/usr/share
start_xvfb 800x600 || exit 1
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --config-file="$WORK/bus.conf" --print-address=1 --print-pid=3 --fork 3>"$WORK/bus.pid") || exit 1
export DBUS_SESSION_BUS_ADDRESS
at_exit "kill \$(cat $WORK/bus.pid)"

hacks() { pgrep -x mofu -P "$1" | tr '\n' ' '; }  # other suites may run their own mofu

# A copy of ours under PARENT shows stars and the cat in the window it was
# given; SKY_WIDTH is that window's width.
sky_under() {  # sky_under PARENT
  local pid window x y w h stars=0 cat=0
  for _ in $(seq 20); do
    sleep 0.5
    pid=$(hacks "$1") && pid=${pid%% *}
    window=$({ tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | sed -n 's/^XSCREENSAVER_WINDOW=//p')
    [ -n "$window" ] || continue
    read -r x y w h <<<"$(xwininfo -id "$window" | awk '/Absolute upper-left [XY]|Width|Height/ { printf "%s ", $NF }')"
    screenshot "$WORK/shot.png"
    cat=$(count_pixels "$WORK/shot.png" '#F2A65A' "$x" "$y" "$w" "$h")
    stars=$(($(count_pixels "$WORK/shot.png" lit "$x" "$y" "$w" "$h") - cat))
    [ "$stars" -ge 50 ] && [ "$cat" -ge 100 ] && break
  done
  [ -n "$window" ] || { fail "no mofu in a window of its own under $1"; return 1; }
  [ "$stars" -ge 50 ] && [ "$cat" -ge 100 ] || fail "$stars star pixels, $cat orange (the cat's) pixels"
  SKY_WIDTH=$w
}

preferences_preview_mofu() {
  mate-screensaver-preferences >/dev/null 2>&1 &
  STARTED+=($!)
  sky_under $! || return 1
  [ "$SKY_WIDTH" -lt 800 ] || fail "the preview is the whole screen"
}

activated_then_ended_by_a_key() {
  mate-screensaver --no-daemon >"$WORK/daemon.log" 2>&1 &
  STARTED+=($!)
  local daemon=$!
  for _ in $(seq 50); do mate-screensaver-command --query >/dev/null 2>&1 && break; sleep 0.1; done
  mate-screensaver-command --activate >/dev/null || { fail "--activate failed"; return 1; }
  sky_under "$daemon" || return 1
  [ "$SKY_WIDTH" -eq 800 ] || fail "the sky is $SKY_WIDTH pixels wide, not the screen's 800"
  xdotool key x
  for _ in $(seq 30); do [ -z "$(hacks "$daemon")" ] && break; sleep 0.1; done
  [ -z "$(hacks "$daemon")" ] || fail "mofu still runs after a key: $(hacks "$daemon")"
}

check "the preferences find Mofu and preview it in their window" preferences_preview_mofu
check "activated, it shows the sky and the cat; a key ends it" activated_then_ended_by_a_key
summary
