#!/usr/bin/env bash
# The saver under Wine when its pose pictures are hostile: folders, a link to
# a device that never ends, a pipe, a small GIF declaring 16000 x 16000. It
# keeps running without that pose, its memory stays bounded, and a key still
# ends it at once.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"

WINDOWS="$WINEPREFIX/drive_c/windows"
# Unmanaged windows: with no window manager on the display, Wine otherwise
# waits two seconds for one to see each hidden window go, and a dismissal
# could not be timed.
X11_DRIVER='HKCU\Software\Wine\X11 Driver'
wine reg add "$X11_DRIVER" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

restore_pictures() {
  rm -rf "$WINDOWS/neko1.gif" "$WINDOWS/neko2.gif"
  cp "$REPO_DIR/assets/neko1.gif" "$REPO_DIR/assets/neko2.gif" "$WINDOWS/"
}

# A GIF of a few dozen bytes whose header and image declare 16000 x 16000.
huge_gif() {
  printf 'GIF89a\x80\x3e\x80\x3e\x80\x00\x00\x00\x00\x00\xff\xff\xff'
  printf '\x2c\x00\x00\x00\x00\x80\x3e\x80\x3e\x00\x02\x02\x44\x01\x00\x3b'
}

# The Windows process itself (Wine names it after the program): the newest.
scr_process() { pgrep -n -x mofu.scr; }

hostile_picture() {  # hostile_picture folder|zero|fifo|huge
  restore_pictures
  rm -f "$WINDOWS/neko1.gif" "$WINDOWS/neko2.gif"
  case $1 in
    folder) mkdir "$WINDOWS/neko1.gif" "$WINDOWS/neko2.gif" ;;
    zero) ln -s /dev/zero "$WINDOWS/neko2.gif"; cp "$REPO_DIR/assets/neko1.gif" "$WINDOWS/" ;;
    fifo) mkfifo "$WINDOWS/neko2.gif"; cp "$REPO_DIR/assets/neko1.gif" "$WINDOWS/" ;;
    huge) huge_gif >"$WINDOWS/neko2.gif"; cp "$REPO_DIR/assets/neko1.gif" "$WINDOWS/" ;;
  esac
  # The fastest pace: the cat tries to change pose about twice a second.
  wine reg add "$SETTINGS_KEY" /v sspeed /t REG_SZ /d 1 /f >/dev/null 2>&1
  start_scr /s
  local saver
  saver=$(find_window "$PROGRAM_TITLE" 15) || { stop_scr; fail "no saver window"; return 1; }
  sleep 6
  kill -0 "$SCR_PID" 2>/dev/null || { fail "the saver ended on its own"; return 1; }
  local peak
  SCR_PROCESS=$(scr_process)
  peak=$(awk '/VmHWM/ { print $2 }' "/proc/$SCR_PROCESS/status" 2>/dev/null)
  echo "    peak resident memory of mofu.scr: ${peak:-?} kB"
  [ -n "$peak" ] && [ "$peak" -lt 131072 ] || fail "peak resident memory ${peak:-?} kB, not under 128 MiB"
  keys "$saver" a
  if ! wait_exit 1; then
    fail "still running a second after a key"
  elif [ "$SCR_STATUS" -ne 0 ]; then
    fail "exit status $SCR_STATUS"
  fi
  stop_scr
  # One that did not end must not be measured by the next case.
  [ -n "${SCR_PROCESS:-}" ] && kill -9 "$SCR_PROCESS" 2>/dev/null
  set_settings - -
  restore_pictures
}

check "pose pictures that are folders: keeps running, a key ends it" hostile_picture folder
check "a pose picture linked to /dev/zero: keeps running, a key ends it" hostile_picture zero
check "a pose picture that is a pipe: keeps running, a key ends it" hostile_picture fifo
check "a picture declaring 16000x16000: bounded memory, a key ends it" hostile_picture huge
wine reg delete "$X11_DRIVER" /v Managed /f >/dev/null 2>&1
restore_pictures
summary
