# shellcheck shell=bash disable=SC2034  # the suites read what is set here
# The shell suites' one library, sourced by every *_e2e.sh and *_test.sh:
# cases and their count, private X servers, a private settings folder, and
# the Wine helpers. A suite ends with `summary`, whose status is the suite's.

REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PASSED=0
FAILED=0

# --- cases -----------------------------------------------------------------

# A case runs in a subshell. Every `fail` in it, even in a pipeline, a
# command substitution or a loop, leaves its message in the case's own file,
# so the case fails whatever runs after it (a cleanup, `return 0`); a case
# also fails when it returns non-zero. What it started is stopped as it ends.
check() {  # check NAME COMMAND...
  local name=$1
  shift
  CASE_FAILURES=$(mktemp)
  if ( begin_case; "$@" ) && [ ! -s "$CASE_FAILURES" ]; then
    PASSED=$((PASSED + 1)) && echo "ok   - $name"
  else
    FAILED=$((FAILED + 1)) && echo "FAIL - $name"
  fi
  rm -f "$CASE_FAILURES"
  CASE_FAILURES=
}

# Inside a case: fails it. Outside one it is a failed case of its own, so a
# suite that cannot even set up does not pass by running nothing.
fail() {  # fail MESSAGE...
  if [ -n "${CASE_FAILURES:-}" ]; then
    echo "    $*" >&2
    printf '%s\n' "$*" >>"$CASE_FAILURES"
  else
    FAILED=$((FAILED + 1))
    echo "FAIL - $*"
  fi
  return 1
}

# The suite's last line and its exit status.
summary() {
  echo "$(basename "$0" .sh): $PASSED passed, $FAILED failed"
  exit $((FAILED > 0))
}

# Everything a suite starts is stopped however it ends; cleanups run last
# added, first run.
AT_EXIT=()
at_exit() { AT_EXIT=("$1" "${AT_EXIT[@]}"); }  # at_exit COMMAND
# shellcheck disable=SC2154  # the loop's own variable
trap 'for command in "${AT_EXIT[@]}"; do eval "$command"; done' EXIT

# Everything a case starts (`STARTED+=(PID)`) is stopped when the case
# ends, pass or fail, and its scratch folder CASE_DIR removed.
STARTED=()
end_case() {
  [ ${#STARTED[@]} -eq 0 ] || { kill "${STARTED[@]}" 2>/dev/null; wait "${STARTED[@]}" 2>/dev/null; }
  rm -rf "$CASE_DIR"
  return 0
}
begin_case() {
  STARTED=()
  CASE_DIR=$(mktemp -d)
  trap end_case EXIT
}

PROGRAM_TITLE="Mofu Saver"

# --- X servers ---------------------------------------------------------------

# The server picks a free display itself and reports it, so suites side by
# side never share one. Without -noreset it resets whenever its last client
# leaves, and a program starting just then cannot connect.
start_server() {  # start_server Xvfb|Xephyr ARGS...: sets SERVER_PID, SERVER_DISPLAY
  local fd number='' log
  log=$(mktemp)
  exec {fd}<> <(:)
  "$@" -displayfd "$fd" -noreset >"$log" 2>&1 &
  SERVER_PID=$!
  at_exit "kill $SERVER_PID 2>/dev/null; wait $SERVER_PID 2>/dev/null; rm -f $log"
  read -r -t 10 -u "$fd" number
  exec {fd}<&-
  [ -n "$number" ] || { echo "$1 did not start: $(cat "$log")" >&2; return 1; }
  SERVER_DISPLAY=:$number
}

start_xvfb() {  # start_xvfb WIDTHxHEIGHT: DISPLAY becomes a private Xvfb, XVFB_PID
  start_server Xvfb -screen 0 "${1}x24" -nolisten tcp || return 1
  XVFB_PID=$SERVER_PID
  export DISPLAY=$SERVER_DISPLAY
}

stop_xvfb() { kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; return 0; }  # ended by its case

running() {  # running PID: alive and not a zombie waiting to be reaped
  [ -r "/proc/$1/stat" ] && ! grep -q '^[0-9]* (.*) Z' "/proc/$1/stat" 2>/dev/null
}

ends_within() {  # ends_within SECONDS PID: 0 when PID ended in time
  local limit_ms start
  limit_ms=$(awk "BEGIN { print int($1 * 1000) }")
  start=$(date +%s%3N)
  while running "$2"; do
    [ $(($(date +%s%3N) - start)) -gt "$limit_ms" ] && return 1
    sleep 0.02
  done
  return 0
}

window_named() {  # window_named NAME: ids of mapped windows with that name
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null
}

# Waits for a mapped window with exactly this name and prints its id.
find_window() {  # find_window NAME SECONDS
  local id
  for _ in $(seq $(($2 * 10))); do
    id=$(window_named "$1" | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Pixels on the screen now that are not black, or only those of COLOUR,
# in the whole screen or in W x H + X + Y.
pixels() {  # pixels lit|COLOUR [X Y W H]: of the screen, as count_pixels counts
  local shot
  shot=$(mktemp --suffix=.png) && screenshot "$shot"
  count_pixels "$shot" "$@"
  rm -f "$shot"
}

count_pixels() {  # count_pixels PNG lit|COLOUR [X Y W H]: not black, or of COLOUR
  local crop=() pick=(-fill white +opaque black)
  [ $# -ge 6 ] && crop=(-crop "${5}x${6}+${3}+${4}" +repage)
  [ "$2" = lit ] || pick=(-alpha off -fill black +opaque "$2" -fill white -opaque "$2")
  convert "$1" "${crop[@]}" "${pick[@]}" -format '%[fx:int(mean*w*h+0.5)]' info:
}

# --- the Linux program --------------------------------------------------------

# A suite about the Linux program is given an installed tree and the folder
# of the helper programs (build/<preset>/tools).
linux_setup() {  # linux_setup PREFIX TOOLS
  MOFU="$(cd "${1:?usage: $0 PREFIX TOOLS}" && pwd)/bin/mofu"
  TOOLS=$(cd "${2:?usage: $0 PREFIX TOOLS}" && pwd)
}

fresh_home() {  # a new, empty settings and lock folder for the case
  SANDBOX=${CASE_DIR:-$(mktemp -d)}
  export XDG_CONFIG_HOME="$SANDBOX/config" XDG_RUNTIME_DIR="$SANDBOX/run"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

store() {  # store KEY VALUE: hand-edit the settings file
  mkdir -p "$XDG_CONFIG_HOME/mofu"
  local f="$XDG_CONFIG_HOME/mofu/settings.ini"
  [ -f "$f" ] || printf '[setting]\n' >"$f"
  printf '%s=%s\n' "$1" "$2" >>"$f"
}

stored() {  # stored KEY: the value in the settings file, or "-" when absent
  local f="$XDG_CONFIG_HOME/mofu/settings.ini" v
  [ -f "$f" ] || { echo -; return; }
  v=$(sed -n "s/^$1=//p" "$f" | tail -n 1)
  echo "${v:--}"
}

# The one way to start the saver in each place; each sets SAVER (stopped
# when the case ends), and its standard error goes to $CASE_DIR/stderr.
start_saver() {  # start_saver [ARG...]: $MOFU on DISPLAY or WAYLAND_DISPLAY, /s unless told
  "$MOFU" "${@:-/s}" 2>"$CASE_DIR/stderr" &
  SAVER=$!
  STARTED+=("$SAVER")
}

# A window of the helper's at X Y W H, the way a daemon hands one over
# (WINDOW, WINDOW_PID), and the saver drawing into it.
start_in_window() {  # start_in_window X Y W H
  "$TOOLS/child_window" "$@" >"$CASE_DIR/window" &
  WINDOW_PID=$!
  STARTED+=("$WINDOW_PID")
  WINDOW=
  for _ in $(seq 100); do WINDOW=$(head -n 1 "$CASE_DIR/window") && [ -n "$WINDOW" ] && break; sleep 0.02; done
  [ -n "$WINDOW" ] || { fail "the helper made no window"; return 1; }
  start_saver --window-id "$WINDOW"
}

# The one way to see that an input ends it: the saver runs, COMMAND...
# happens, and within ENDS_WITHIN seconds (1 unless a suite says) it has
# ended with status 0 and left no window of its own.
ENDS_WITHIN=1
ends_on() {  # ends_on COMMAND...
  running "$SAVER" || { fail "the saver was not running before: $*"; return 1; }
  "$@"
  ends_within "$ENDS_WITHIN" "$SAVER" || { fail "still running $ENDS_WITHIN s after: $*"; return 1; }
  wait "$SAVER" || fail "exit status $? after: $*"
  [ -z "$(window_named "$PROGRAM_TITLE")" ] || fail "a window was left after: $*"
}

# --- Wine --------------------------------------------------------------------

SCREEN_WIDTH=1280
SCREEN_HEIGHT=1024
DIALOG_TITLE="設定"
SETTINGS_KEY='HKCU\Software\mofu\setting'
export WINEDEBUG=-all
# No Mono or Gecko install prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

# A private X server and Wine prefix for a suite about mofu.scr; the
# Windows build's helper programs are in its tools/ folder (TOOLS).
wine_setup() {  # wine_setup PATH/TO/mofu.scr
  SCR=$(realpath "${1:?usage: $0 path/to/mofu.scr}")
  [ -f "$SCR" ] || { echo "no such file: $SCR" >&2; exit 2; }
  TOOLS=$(dirname "$SCR")/../tools
  start_xvfb "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" || exit 2
  make_prefix || exit 2
}

make_prefix() {
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d /tmp/mofu-wine.XXXXXX)
  at_exit "WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null; rm -rf $WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  cp "$REPO_DIR/assets/neko1.gif" "$REPO_DIR/assets/neko2.gif" "$WINEPREFIX/drive_c/windows/"
  # No window manager on the test display: Wine draws the frames itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
}

start_scr() {  # start_scr ARGS...: SCR_PID is the program, stopped when the case ends
  wine "$SCR" "$@" >/dev/null 2>&1 &
  SCR_PID=$!
  STARTED+=("$SCR_PID")
}

wait_exit() {  # wait_exit SECONDS: the program ended in time
  ends_within "$1" "$SCR_PID" && { wait "$SCR_PID" || true; }
}

# The saver under Wine: SAVER is the program, SAVER_WINDOW its window.
start_wine_saver() {
  start_scr /s
  SAVER=$SCR_PID
  SAVER_WINDOW=$(find_window "$PROGRAM_TITLE" 15) || { fail "no saver window"; return 1; }
}

# There is no window manager to give a window the keyboard: do it here.
keys() {  # keys XID KEY...
  local id=$1 key
  shift
  xdotool windowfocus --sync "$id" 2>/dev/null
  sleep 0.3
  for key in "$@"; do xdotool key "$key" && sleep 0.2; done
}

# Replaces whatever is stored with these two texts, "-" leaving a value out;
# one Wine process for all of it.
set_settings() {  # set_settings BLK SSPEED
  local file
  file=$(mktemp --suffix=.reg)
  { printf 'REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\mofu\\setting]\r\n\r\n[HKEY_CURRENT_USER\\Software\\mofu\\setting]\r\n'
    [ "$1" = "-" ] || printf '"blk"="%s"\r\n' "$1"
    [ "$2" = "-" ] || printf '"sspeed"="%s"\r\n' "$2"; } >"$file"
  wine regedit /s "Z:${file//\//\\}" >/dev/null 2>&1
  rm -f "$file"
}

# Prints "BLK|SSPEED" as stored, "-" for a value that is absent or not text.
stored_settings() {
  wine reg query "$SETTINGS_KEY" 2>/dev/null | tr -d '\r' | awk '
    $2 == "REG_SZ" { value[$1] = $3 }
    END { printf "%s|%s\n", ("blk" in value) ? value["blk"] : "-", ("sspeed" in value) ? value["sspeed"] : "-" }'
}

screenshot() { import -window root "$1" 2>/dev/null; }  # screenshot FILE
