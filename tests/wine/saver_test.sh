#!/usr/bin/env bash
# The running saver under Wine: kept up without input and ended by any of
# it, also in the middle of a minute-long step, and with a pose picture that
# is no file. (The sky and the cat are seen in monitors_test and
# installer_test; what a picture may declare is the unit tests'.)
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"
WINDOWS="$WINEPREFIX/drive_c/windows"
# Unmanaged windows: with no window manager on the display, Wine otherwise
# waits two seconds for one to see each hidden window go, and an ending
# could not be timed.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

pose_pictures() {  # pose_pictures good|zero: what neko2.gif is
  rm -rf "$WINDOWS/neko2.gif"
  [ "$1" = good ] && cp "$REPO_DIR/assets/neko2.gif" "$WINDOWS/" || ln -s /dev/zero "$WINDOWS/neko2.gif"
}

input() {  # input pointer|key|BUTTON: what the user does
  case $1 in
    # The first position seen is only the reference; a move away ends it.
    pointer) xdotool mousemove 200 200 && sleep 0.3 && xdotool mousemove 260 230 ;;
    key) xdotool key a ;;
    *) xdotool click "$1" ;;  # 1 left, 3 right, 4-7 the wheels, 8 a side button
  esac
}

# With this stored speed level and this second pose picture, the input
# comes 2 s in and ends the saver. A speed level of 32767 makes each step a
# delay of over a minute: the input comes while one runs; at 1 the cat tries
# to change pose twice a second.
input_ends_it() {  # input_ends_it SSPEED PICTURE INPUT
  set_settings - "$1"
  pose_pictures "$2"
  start_wine_saver || return 1
  xdotool windowfocus --sync "$SAVER_WINDOW" 2>/dev/null
  sleep 2
  [ "$2" = good ] || sleep 4
  ends_on input "$3"
  set_settings - -
  pose_pictures good
}

while read -r sspeed picture input; do
  check "sspeed $sspeed, neko2.gif $picture: $input ends it within 1 s" input_ends_it "$sspeed" "$picture" "$input"
done <<'TABLE'
2 good pointer
2 good key
2 good 1
2 good 3
2 good 4
2 good 6
2 good 8
32767 good key
1 zero key
TABLE
summary
