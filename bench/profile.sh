#!/usr/bin/env bash
# Load-independent figures for the saver and its paced floor at default
# settings: instructions a second (callgrind, over a fixed window after a
# settling second) and system calls a second (strace -c). A busy machine
# changes the processor percentages of bench/run.sh, not these; they guide
# cost cuts. Needs the default and bench builds (cmake --preset ...).
#
# Usage: bash bench/profile.sh [SECONDS]   (default 10)
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
SECONDS_HELD=${1:-10}
bash "$ROOT/scripts/deps.sh" bench >/dev/null

WORK=$(mktemp -d /tmp/mofu-profile.XXXXXX)
XVFB_PID=
cleanup() {
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$XDG_CONFIG_HOME/mofu" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
mkfifo "$WORK/x-ready"
for n in $(seq 300 340); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -br -noreset 3>"$WORK/x-ready" \
    >/dev/null 2>&1 &
  XVFB_PID=$!
  ready=
  read -r -t 10 ready <"$WORK/x-ready" || true
  if [ "$ready" = "$n" ]; then export DISPLAY=":$n"; break; fi
  kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
done
[ -n "$XVFB_PID" ] || { echo "could not start a private Xvfb" >&2; exit 1; }

echo "| Build | Instructions/s (callgrind) | System calls/s (strace) |"
echo "|---|---|---|"
for preset in default floor; do
  binary="$ROOT/build/default/bin/mofu"
  [ "$preset" = floor ] && binary="$ROOT/build/bench/bin/mofu-floor"
  [ -x "$binary" ] || { echo "| $preset | not built | |"; continue; }
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$WORK/cg.out" \
    "$binary" /s 2>/dev/null &
  pid=$!
  sleep 3
  callgrind_control -i on "$pid" >/dev/null 2>&1
  sleep "$SECONDS_HELD"
  callgrind_control -i off "$pid" >/dev/null 2>&1
  xdotool key x
  wait "$pid" || true
  instructions=$(callgrind_annotate "$WORK/cg.out" 2>/dev/null | sed -n 's/^\([0-9,]*\) .*PROGRAM TOTALS.*/\1/p' | tr -d ,)

  "$binary" /s &
  pid=$!
  sleep 2
  timeout "$SECONDS_HELD" strace -c -p "$pid" -o "$WORK/strace.txt" 2>/dev/null || true
  xdotool key x
  wait "$pid" || true
  calls=$(awk '$NF == "total" { print $(NF - 2) }' "$WORK/strace.txt")
  echo "| $preset | $((instructions / SECONDS_HELD)) | $((calls / SECONDS_HELD)) |"
done
