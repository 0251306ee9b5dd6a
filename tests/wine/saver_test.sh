#!/usr/bin/env bash
# The running saver under Wine: kept up without input and ended by any of
# it, also in the middle of a minute-long step, and with hostile pose
# pictures; and only one copy at a time. (The sky and the cat are seen in
# monitors_test and installer_test.)
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"
WINDOWS="$WINEPREFIX/drive_c/windows"
# Unmanaged windows: with no window manager on the display, Wine otherwise
# waits two seconds for one to see each hidden window go, and an ending
# could not be timed.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

# A GIF of a few dozen bytes whose header and image declare 16000 x 16000.
huge_gif() {
  printf 'GIF89a\x80\x3e\x80\x3e\x80\x00\x00\x00\x00\x00\xff\xff\xff'
  printf '\x2c\x00\x00\x00\x00\x80\x3e\x80\x3e\x00\x02\x02\x44\x01\x00\x3b'
}

pose_pictures() {  # pose_pictures good|zero|huge: what neko2.gif is
  rm -rf "$WINDOWS/neko2.gif"
  case $1 in
    good) cp "$REPO_DIR/assets/neko2.gif" "$WINDOWS/" ;;
    zero) ln -s /dev/zero "$WINDOWS/neko2.gif" ;;
    huge) huge_gif >"$WINDOWS/neko2.gif" ;;
  esac
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
# to change pose twice a second, and memory must stay bounded whatever the
# picture declares.
input_ends_it() {  # input_ends_it SSPEED PICTURE INPUT
  set_settings - "$1"
  pose_pictures "$2"
  start_wine_saver || return 1
  xdotool windowfocus --sync "$SAVER_WINDOW" 2>/dev/null
  sleep 2
  [ "$2" = good ] || sleep 4
  local peak
  # The Windows process, named after the file (cut to 15 characters).
  peak=$(awk '/VmHWM/ { print $2 }' "/proc/$(pgrep -n -x "$(basename "$SCR" | cut -c 1-15)")/status" 2>/dev/null)
  [ -n "$peak" ] && [ "$peak" -lt 131072 ] || fail "peak resident memory ${peak:-?} kB, not under 128 MiB"
  ends_on input "$3"
  set_settings - -
  pose_pictures good
}

# A second copy started while the first is open ends at once and shows nothing.
second_copy() {  # second_copy FIRST TITLE SECOND
  start_scr "$1"
  local first=$SCR_PID before
  find_window "$2" 15 >/dev/null || { fail "the first copy showed no window"; return 1; }
  before=$(window_named "($PROGRAM_TITLE|$DIALOG_TITLE)" | wc -l)
  start_scr "$3"
  wait_exit 10 || fail "the second copy did not end"
  [ "${SCR_STATUS:-0}" -eq 0 ] || fail "the second copy ended with status $SCR_STATUS"
  running "$first" || fail "the first copy ended too"
  [ "$(window_named "($PROGRAM_TITLE|$DIALOG_TITLE)" | wc -l)" -eq "$before" ] || fail "a window was added"
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
1 huge key
TABLE
check "'/c' while '/s' runs ends at once" second_copy /s "$PROGRAM_TITLE" /c
summary
