#!/usr/bin/env bash
# Soak: the release build's saver runs for a long time at the densest and at
# the sparsest, slowest settings, each on its own 1920x1080 Xvfb, side by
# side, and its resident memory is sampled every 10 s. Memory should stay
# flat. Not part of the tests: run it by hand and copy the summary into
# bench/results.md.
# Usage: bench/soak.sh [MINUTES, default 30]
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
MINUTES=${1:-30}
[[ $MINUTES =~ ^[1-9][0-9]*$ ]] || { echo "usage: bench/soak.sh [MINUTES, a whole number]" >&2; exit 2; }
INTERVAL=10
OUT="$ROOT/build/soak"
WORK=$(mktemp -d /tmp/mofu-soak.XXXXXX)
mkdir -p "$OUT"

# The runs go on in subshells: each writes down what it started.
cleanup() {
  local p
  for p in $(cat "$WORK/pids" 2>/dev/null); do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# The tree is installed into a private folder so a rebuild meanwhile cannot
# swap the binary under the run.
(cd "$ROOT" && cmake --preset default >/dev/null && cmake --build --preset default -j2 >/dev/null) ||
  { echo "build failed" >&2; exit 1; }
cmake --install "$ROOT/build/default" --prefix "$WORK/tree" >/dev/null || exit 1
MOFU="$WORK/tree/bin/mofu"

start_display() {  # start_display NAME: prints the display number
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$WORK/$1.display" >/dev/null 2>&1 &
  echo $! >>"$WORK/pids"
  for _ in $(seq 100); do
    [ -s "$WORK/$1.display" ] && { head -n 1 "$WORK/$1.display"; return 0; }
    sleep 0.05
  done
  return 1
}

# soak NAME BLK SSPEED: runs one saver and writes "seconds rss_kib" lines
soak() {
  local name=$1 display home samples=$((MINUTES * 60 / INTERVAL)) pid i rss
  display=$(start_display "$name") || { echo "$name: no X server" >&2; return 1; }
  home="$WORK/$name"
  mkdir -p "$home/config/mofu" "$home/run"
  chmod 700 "$home/run"
  printf '[setting]\nblk=%s\nsspeed=%s\n' "$2" "$3" >"$home/config/mofu/settings.ini"
  DISPLAY=":$display" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" \
    nice -n 10 "$MOFU" /s &
  pid=$!
  echo "$pid" >>"$WORK/pids"
  : >"$OUT/$name.tsv"
  for ((i = 1; i <= samples; i++)); do
    sleep "$INTERVAL"
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
    [ -n "$rss" ] || { echo "$name: the saver ended after $((i * INTERVAL)) s" >&2; return 1; }
    echo "$((i * INTERVAL)) $rss" >>"$OUT/$name.tsv"
  done
  # Still a working saver at the end: a sky with stars, and a key ends it.
  DISPLAY=":$display" import -window root "$WORK/$name.png" 2>/dev/null
  convert "$WORK/$name.png" -fill white +opaque black -format '%[fx:int(mean*w*h+0.5)]' info: \
    >"$OUT/$name.lit" 2>/dev/null
  DISPLAY=":$display" xdotool key x
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "$name: did not end on a key after the soak" >&2
    kill "$pid"
    return 1
  fi
  wait "$pid"
}

# First, last, lowest and highest sample, and the least-squares slope over
# everything after the first minute, in KiB per hour.
summarise() {  # summarise NAME BLK SSPEED
  awk -v name="$1" -v blk="$2" -v sspeed="$3" -v lit="$(cat "$OUT/$1.lit" 2>/dev/null)" '
    NR == 1 { first = $2; lo = $2; hi = $2 }
    { last = $2; if ($2 < lo) lo = $2; if ($2 > hi) hi = $2; n_all++ }
    $1 > 60 { n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2 }
    END {
      slope = (n > 1 && n * sxx - sx * sx != 0) ? (n * sxy - sx * sy) / (n * sxx - sx * sx) * 3600 : 0
      flat = (hi - lo <= 256 && slope < 64 && slope > -64) ? "flat" : "NOT flat"
      printf "| blk=%s sspeed=%s | %d | %d | %d | %d | %d | %+.1f | %s | %s |\n",
        blk, sspeed, n_all, first, last, lo, hi, slope, flat, lit
    }' "$OUT/$1.tsv"
}

echo "soaking for $MINUTES min, samples every $INTERVAL s, in $OUT" >&2
soak dense 10 1 &
dense=$!
soak sparse 120 11 &
sparse=$!
status=0
wait "$dense" || status=1
wait "$sparse" || status=1

echo "| settings | samples | first KiB | last KiB | lowest KiB | highest KiB | slope KiB/h | | lit pixels at the end |"
echo "|---|---|---|---|---|---|---|---|---|"
summarise dense 10 1
summarise sparse 120 11
exit "$status"
