#!/usr/bin/env bash
# The Linux program against hostile files and places, on a private 1920x1080
# X server: settings files that never end, pictures that are folders or
# declare a huge image, a lock folder others could reach, a settings file
# written by hand in every way the grammar allows.
# Usage: hostile_e2e.sh PREFIX   (an installed tree: PREFIX/bin/mofu, ...)
set -u
PREFIX=$(cd "$1" && pwd)
. "$(dirname "$0")/../lib.sh"

WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'

tree_with_pictures() {  # tree_with_pictures NAME: a copy of the tree; sets MOFU
  local tree="$WORK/$1"
  rm -rf "$tree"
  mkdir -p "$tree"
  cp -r "$PREFIX/bin" "$PREFIX/lib" "$PREFIX/share" "$tree/"
  MOFU="$tree/bin/mofu"
  PICTURES="$tree/share/mofu"
}

start_saver() {
  SAVER_ERR="$SANDBOX/stderr"
  "$MOFU" /s 2>"$SAVER_ERR" &
  SAVER=$!
}

key_ends_it() {  # key_ends_it: a key ends the running saver within a second, cleanly
  running "$SAVER" || { fail "the saver was not running"; return 1; }
  [ -n "$(window_named 'Mofu Saver')" ] || fail "no saver window on screen"
  xdotool key x
  if ! ends_within 1 "$SAVER"; then
    kill -9 "$SAVER" 2>/dev/null
    fail "still running a second after a key"
    return 1
  fi
  wait "$SAVER"
  local status=$?
  [ "$status" -eq 0 ] || fail "exit status $status: $(head -c 300 "$SAVER_ERR" 2>/dev/null)"
}

endless_settings() {  # endless_settings fifo|zero|urandom
  fresh_home
  tree_with_pictures plain
  local file="$XDG_CONFIG_HOME/mofu/settings.ini"
  mkdir -p "$XDG_CONFIG_HOME/mofu"
  case $1 in
    fifo) mkfifo "$file" ;;
    zero) ln -s /dev/zero "$file" ;;
    urandom) ln -s /dev/urandom "$file" ;;
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

folder_pictures() {
  fresh_home
  store sspeed 1  # the fastest pace: the cat tries to change pose about twice a second
  tree_with_pictures folders
  rm -f "$PICTURES/neko1.gif" "$PICTURES/neko2.gif"
  mkdir "$PICTURES/neko1.gif" "$PICTURES/neko2.gif"
  start_saver
  sleep 6
  key_ends_it
}

# A GIF of a few dozen bytes whose header and image declare 16000 x 16000.
huge_gif() {
  printf 'GIF89a\x80\x3e\x80\x3e\x80\x00\x00\x00\x00\x00\xff\xff\xff'
  printf '\x2c\x00\x00\x00\x00\x80\x3e\x80\x3e\x00\x02\x02\x44\x01\x00\x3b'
}

huge_picture() {
  fresh_home
  store sspeed 1
  tree_with_pictures huge
  huge_gif >"$PICTURES/neko2.gif"
  start_saver
  sleep 6
  local peak
  peak=$(awk '/VmHWM/ { print $2 }' "/proc/$SAVER/status" 2>/dev/null)
  echo "    peak resident memory: ${peak:-?} kB"
  [ -n "$peak" ] && [ "$peak" -lt 65536 ] || fail "peak resident memory ${peak:-?} kB, not under 64 MiB"
  key_ends_it
}

# No private folder: the runtime folder is open to all, or missing, and the
# temporary folder's place is taken, so the lock falls back on the display.
unusable_lock_place() {  # unusable_lock_place open|missing
  fresh_home
  tree_with_pictures plain
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

# One hand-edited file: a byte-order mark, CRLF line ends, indented keys, a
# comment line longer than 199 bytes whose tail looks like a key, a key
# given twice. Both sides must read blk 120 and sspeed 1.
HAND_EDITED=$'\xef\xbb\xbf; written by hand\r\n[setting]\r\n  blk = 10\r\n\tblk = 120\r\n# '"$(printf 'x%.0s' $(seq 250))"$'blk=10\r\n  sspeed: 1\r\n'

# Opens the dialog and presses Enter (OK has the focus), as a user keeping
# what it shows would.
ok_in_dialog() {
  "$MOFU" /c &
  local dialog=$! box=
  for _ in $(seq 100); do
    box=$(window_named '設定' | head -n 1)
    [ -n "$box" ] && break
    sleep 0.05
  done
  [ -n "$box" ] || { kill "$dialog"; fail "no dialog"; return 1; }
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key Return
  ends_within 2 "$dialog" || { kill "$dialog"; fail "the dialog did not end on Enter"; }
  wait "$dialog" 2>/dev/null
  return 0
}

readers_agree() {
  fresh_home
  tree_with_pictures plain
  mkdir -p "$XDG_CONFIG_HOME/mofu"
  local file="$XDG_CONFIG_HOME/mofu/settings.ini"
  # The saver: its sky is as sparse as blk 120 makes it, not as dense as 10.
  local lit_hand lit10
  printf '%s' "$HAND_EDITED" >"$file"
  start_saver; sleep 6; lit_hand=$(lit_pixels 1600); kill "$SAVER"; wait "$SAVER" 2>/dev/null
  printf '[setting]\nblk=10\nsspeed=1\n' >"$file"
  start_saver; sleep 6; lit10=$(lit_pixels 1600); kill "$SAVER"; wait "$SAVER" 2>/dev/null
  echo "    lit pixels left of x=1600 after 6 s: hand-edited file: $lit_hand, blk 10: $lit10"
  [ "$lit_hand" -lt $((lit10 * 2 / 3)) ] || fail "the saver read blk 10 ($lit_hand vs $lit10)"
  # The dialog: Enter writes back what it read, and every other line stays.
  printf '%s' "$HAND_EDITED" >"$file"
  ok_in_dialog || return 1
  local text
  text=$(tr -d '\r' <"$file")
  grep -qx 'blk=120' <<<"$text" || fail "blk 120 not written back"
  grep -qx 'sspeed=1' <<<"$text" || fail "sspeed 1 not written back"
  grep -qx '# x*blk=10' <<<"$text" || fail "the long comment was not kept"
  grep -qx '  blk = 10' <<<"$text" || fail "the earlier blk line was not kept"
  [ "$(grep -c $'\r$' "$file")" -eq "$(grep -c '' "$file")" ] || fail "line ends not kept as CRLF"
  [ "$(ls -A "$XDG_CONFIG_HOME/mofu")" = "settings.ini" ] || fail "files left beside it: $(ls -A "$XDG_CONFIG_HOME/mofu")"
}

# Temporary files of saves cut short, by this version and by older ones, go
# with the next save; the user's own files beside them stay.
save_leaves_no_strays() {
  fresh_home
  tree_with_pictures plain
  local folder="$XDG_CONFIG_HOME/mofu"
  mkdir -p "$folder"
  printf '[setting]\nblk=20\n' >"$folder/settings.ini"
  printf 'half' >"$folder/settings.ini.tmp"
  printf 'half' >"$folder/settings.ini.Qx81zP"
  printf 'mine' >"$folder/settings.ini.bak"
  ok_in_dialog || return 1
  local left
  left=$(ls -A "$folder" | tr '\n' ' ')
  [ "$left" = "settings.ini settings.ini.bak " ] || fail "left in the folder: $left"
  [ "$(stored blk)/$(stored sspeed)" = "20/2" ] || fail "stored $(stored blk)/$(stored sspeed), not 20/2"
}

start_xvfb 1920x1080 || exit 1
for kind in fifo zero urandom; do
  check "settings.ini a $kind: a key ends the saver, the dialog shows or ends" endless_settings "$kind"
done
check "pose pictures that are folders: the saver keeps running" folder_pictures
check "a picture declaring 16000x16000: bounded memory, a key ends it" huge_picture
check "runtime folder open to all, no private one: still one copy" unusable_lock_place open
check "no runtime folder, no private one: still one copy" unusable_lock_place missing
check "saver and dialog read a hand-edited file alike" readers_agree
check "a save removes what saves cut short left behind" save_leaves_no_strays
summary
