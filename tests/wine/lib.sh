# Shared by the Wine tests; sourced, never run. Each test script runs alone
# (it starts its own X server and Wine prefix) or under run_all.sh, which
# makes one of each for all of them.

WINE_TESTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO_DIR=$(cd "$WINE_TESTS_DIR/../.." && pwd)
SCREEN_WIDTH=1280
SCREEN_HEIGHT=1024
DIALOG_TITLE="設定"
PROGRAM_TITLE="Mofu Saver"

export WINEDEBUG=-all
# No Mono or Gecko install prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

passed=0
failed=0

# Re-runs the calling script on a private X server unless it already has
# one, then gives it a Wine prefix unless it was handed one.
wine_test_setup() {  # wine_test_setup "$0" "$@"
  local script=$1
  shift
  if [ -z "${MOFU_WINE_DISPLAY:-}" ]; then
    MOFU_WINE_DISPLAY=1 exec xvfb-run -a -s "-screen 0 ${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24" \
      bash "$script" "$@"
  fi
  SCR=$(realpath "${1:?usage: $script path/to/mofu.scr}")
  [ -f "$SCR" ] || { echo "no such file: $SCR" >&2; exit 2; }
  if [ -z "${WINEPREFIX:-}" ]; then
    make_prefix || exit 2
    trap remove_prefix EXIT
  fi
}

make_prefix() {
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d /tmp/mofu-wine.XXXXXX)
  wineboot -i >/dev/null 2>&1
  wineserver -w
  cp "$REPO_DIR/assets/neko1.gif" "$REPO_DIR/assets/neko2.gif" "$WINEPREFIX/drive_c/windows/"
  # Wine has none of Windows' Japanese fonts: the IPA fonts stand in, and
  # the caption and message-box fonts borrow their glyphs for Japanese.
  local fonts='HKCU\Software\Wine\Fonts\Replacements'
  wine reg add "$fonts" /v "MS UI Gothic" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
  wine reg add "$fonts" /v "ＭＳ Ｐゴシック" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
  local link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  for face in Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1
  done
  # No window manager on the test display: Wine draws the frames itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
}

remove_prefix() {
  wineserver -k 2>/dev/null
  rm -rf "$WINEPREFIX"
}

# Starts mofu.scr with the given argument text; SCR_PID is its process.
start_scr() {
  wine "$SCR" "$@" >/dev/null 2>&1 &
  SCR_PID=$!
}

# Waits for the program to end; SCR_STATUS is its exit status.
wait_exit() {  # wait_exit SECONDS
  local tenths=$(($1 * 10))
  while kill -0 "$SCR_PID" 2>/dev/null; do
    tenths=$((tenths - 1))
    [ "$tenths" -le 0 ] && return 1
    sleep 0.1
  done
  wait "$SCR_PID"
  SCR_STATUS=$?
  return 0
}

# Ends a program a failed case left behind, so the next case starts clean.
stop_scr() {
  if kill -0 "$SCR_PID" 2>/dev/null; then
    kill "$SCR_PID" 2>/dev/null
    wait "$SCR_PID" 2>/dev/null
  fi
  return 0
}

# Prints the X window of a visible Wine window with exactly this title.
find_window() {  # find_window TITLE SECONDS
  local tenths=$(($2 * 10)) id
  while [ "$tenths" -gt 0 ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    tenths=$((tenths - 1))
    sleep 0.1
  done
  return 1
}

# There is no window manager to give a window the keyboard: do it here.
focus_window() {  # focus_window XID
  xdotool windowfocus --sync "$1" 2>/dev/null
  sleep 0.3
}

keys() {  # keys XID KEY...
  local id=$1
  shift
  focus_window "$id"
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.2
  done
}

screenshot() {  # screenshot FILE
  import -window root "$1" 2>/dev/null
}

SETTINGS_KEY='HKCU\Software\mofu\setting'

# Replaces whatever is stored with these two texts, "-" leaving a value out;
# one Wine process for all of it.
set_settings() {  # set_settings BLK SSPEED
  local file
  file=$(mktemp --suffix=.reg)
  {
    printf 'REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\mofu\\setting]\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\mofu\\setting]\r\n'
    [ "$1" = "-" ] || printf '"blk"="%s"\r\n' "$1"
    [ "$2" = "-" ] || printf '"sspeed"="%s"\r\n' "$2"
  } >"$file"
  wine regedit /s "Z:${file//\//\\}" >/dev/null 2>&1
  rm -f "$file"
}

clear_settings() { wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1; return 0; }

# Prints "BLK|SSPEED" as stored, "-" for a value that is absent or not text.
stored_settings() {
  wine reg query "$SETTINGS_KEY" 2>/dev/null | tr -d '\r' | awk '
    $2 == "REG_SZ" { value[$1] = $3 }
    END { printf "%s|%s\n", ("blk" in value) ? value["blk"] : "-", ("sspeed" in value) ? value["sspeed"] : "-" }'
}

pass() {  # pass NAME: a case written out as if/else
  passed=$((passed + 1))
  echo "ok - $1"
}

# Inside a case run by check: fail MESSAGE fails that case, whatever runs
# after it. Elsewhere: fail NAME MESSAGE, a case written out as if/else.
fail() {
  if [ -n "${CASE_FAILURES:-}" ]; then
    echo "    $*" >&2
    printf '%s\n' "$*" >>"$CASE_FAILURES"
    return 1
  fi
  failed=$((failed + 1))
  echo "FAIL - $1: ${*:2}"
}

# Runs a case in a subshell. Every fail in it, even in a pipeline or a
# command substitution, is written to the case's own file, so a cleanup
# after it cannot hide it; a case also fails when it returns non-zero.
check() {  # check NAME COMMAND...
  local name=$1 status
  shift
  CASE_FAILURES=$(mktemp)
  ( "$@" )
  status=$?
  if [ "$status" -eq 0 ] && [ ! -s "$CASE_FAILURES" ]; then
    passed=$((passed + 1))
    echo "ok - $name"
  else
    failed=$((failed + 1))
    echo "FAIL - $name"
  fi
  rm -f "$CASE_FAILURES"
  CASE_FAILURES=
}

# The last line of every test script: run_all.sh adds these up.
finish() {
  echo "$(basename "$0" .sh): $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}
