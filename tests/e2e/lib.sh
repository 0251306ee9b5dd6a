# Shared helpers for the end-to-end scripts: a private X server, a private
# settings folder and lock folder, and pass/fail bookkeeping.

PASSED=0
FAILED=0
FAILURES=()

start_xvfb() {  # start_xvfb WIDTHxHEIGHT
  local size=${1:-1920x1080}
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}

fresh_home() {  # a new, empty settings and lock folder
  SANDBOX=$(mktemp -d)
  export XDG_CONFIG_HOME="$SANDBOX/config"
  export XDG_RUNTIME_DIR="$SANDBOX/run"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}

store() {  # store KEY VALUE: hand-edit the settings file
  mkdir -p "$XDG_CONFIG_HOME/mofu"
  local f="$XDG_CONFIG_HOME/mofu/settings.ini"
  [ -f "$f" ] || printf '[setting]\n' >"$f"
  printf '%s=%s\n' "$1" "$2" >>"$f"
}

stored() {  # stored KEY: the value in the settings file, or "-" when absent
  local f="$XDG_CONFIG_HOME/mofu/settings.ini"
  [ -f "$f" ] || { echo -; return; }
  local v
  v=$(sed -n "s/^$1=//p" "$f" | tail -n 1)
  echo "${v:--}"
}

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

# the number of pixels on screen that are not black, optionally only in the
# left WIDTH pixels (where the cat, walking in from the right, has not been)
lit_pixels() {  # lit_pixels [WIDTH]
  import -window root "$SANDBOX/shot.png" 2>/dev/null
  local crop=()
  [ -n "${1:-}" ] && crop=(-crop "${1}x100000+0+0" +repage)
  convert "$SANDBOX/shot.png" "${crop[@]}" -fill white +opaque black \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}

window_named() {  # window_named NAME: ids of mapped windows with that name
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null
}

# A case runs in a subshell. Every `fail` in it, even in a pipeline, a
# command substitution or a loop, leaves its message in the case's own file,
# so the case fails whatever runs after it (a cleanup, `return 0`); a case
# also fails when it returns non-zero.
check() {  # check NAME COMMAND...: runs a test case function
  local name=$1 status
  shift
  CASE_FAILURES=$(mktemp)
  ( "$@" )
  status=$?
  if [ "$status" -eq 0 ] && [ ! -s "$CASE_FAILURES" ]; then
    PASSED=$((PASSED + 1))
    echo "ok   - $name"
  else
    FAILED=$((FAILED + 1))
    FAILURES+=("$name")
    echo "FAIL - $name"
  fi
  rm -f "$CASE_FAILURES"
  CASE_FAILURES=
}

fail() {  # fail MESSAGE: fails the running case (outside one: the suite)
  echo "    $*" >&2
  if [ -n "${CASE_FAILURES:-}" ]; then
    printf '%s\n' "$*" >>"$CASE_FAILURES"
  else
    FAILED=$((FAILED + 1))
    FAILURES+=("$*")
  fi
  return 1
}

summary() {  # summary LABEL
  echo "$1: $PASSED passed, $FAILED failed"
  [ "$FAILED" -eq 0 ]
}
