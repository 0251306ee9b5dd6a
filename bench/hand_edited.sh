#!/usr/bin/env bash
# What hand-edited settings cost: the saver's benchmark build on a private
# 1920x1080 Xvfb with eraser widths far beyond the screen and speed levels
# of zero or below (no pace delay at all), beside the defaults.
#
# Usage: bash bench/hand_edited.sh [SECONDS per row, default 20] [BUILD_DIR]
#   BUILD_DIR: a tree already built with -DMOFU_PROBE=counting
#   (default: configures and builds the "bench" preset).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
HOLD_S=${1:-20}
BUILD_DIR=${2:-}
WORK=$(mktemp -d /tmp/mofu-hand-edited.XXXXXX)
XVFB_PID=
cleanup() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

if [ -z "$BUILD_DIR" ]; then
  (cd "$ROOT" && cmake --preset bench >/dev/null && cmake --build --preset bench >/dev/null)
  BUILD_DIR="$ROOT/build/bench"
fi
cmake --install "$BUILD_DIR" --prefix "$WORK/tree" >/dev/null
MOFU="$WORK/tree/bin/mofu"

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
DISPLAY=":$(head -n 1 "$WORK/display")"
export DISPLAY

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }  # user + system, in clock ticks
HZ=$(getconf CLK_TCK)

row() {  # row BLK SSPEED
  export XDG_CONFIG_HOME="$WORK/config-$1-$2" XDG_RUNTIME_DIR="$WORK/run-$1-$2"
  mkdir -p "$XDG_CONFIG_HOME/mofu" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  printf '[setting]\nblk=%s\nsspeed=%s\n' "$1" "$2" >"$XDG_CONFIG_HOME/mofu/settings.ini"
  "$MOFU" /s 2>"$WORK/err" &
  local pid=$!
  sleep 2  # past start-up
  local t0 x0 s0 t1 x1 s1 rss
  t0=$(ticks "$pid"); x0=$(ticks "$XVFB_PID"); s0=$(date +%s%N)
  sleep "$HOLD_S"
  t1=$(ticks "$pid"); x1=$(ticks "$XVFB_PID"); s1=$(date +%s%N)
  rss=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
  xdotool key x
  wait "$pid" || true
  local passes
  passes=$(sed -n 's/.*passes=\([0-9]*\).*/\1/p' "$WORK/err")
  awk -v blk="$1" -v sspeed="$2" -v t="$((t1 - t0))" -v x="$((x1 - x0))" -v hz="$HZ" \
    -v ns="$((s1 - s0))" -v passes="${passes:-0}" -v total="$((s1 - s0 + 2000000000))" -v rss="$rss" \
    'BEGIN { s = ns / 1e9
      printf "| %s | %s | %.0f | %.1f | %.1f | %.2f |\n", blk, sspeed, passes / (total / 1e9),
        100 * t / hz / s, 100 * x / hz / s, rss / 1024 }'
}

echo "| blk | sspeed | passes/s | saver CPU % of one core | X server CPU % | VmHWM MiB |"
echo "|---|---|---|---|---|---|"
row 40 2
row 40 0
row 40 -5
row 32767 2
row 32767 0
row -32768 0
