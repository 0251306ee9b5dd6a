#!/usr/bin/env bash
# The saver on Wayland beside the saver on X11, in the same run: a headless
# sway with two outputs (1280x720 and 1024x768) against an Xvfb of the same
# width and height, taking turns. For each: the saver's processor time (the
# scheduler's nanoseconds), its wake-ups (voluntary context switches), its
# resident peak, the display server's processor time, and how long a key
# takes to end it. Prints a markdown table.
#
# Usage: bash bench/wayland.sh [PREFIX [VPOINTER]]   (run as root: sway runs
#   as an unprivileged user of its own)
#   PREFIX    an installed tree (default: build/default/stage)
#   VPOINTER  the suite's virtual pointer (default: build/default/bin/mofu_vpointer)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PREFIX=$(realpath "${1:-$ROOT/build/default/stage}")
VPOINTER=$(realpath "${2:-$ROOT/build/default/bin/mofu_vpointer}")
MOFU="$PREFIX/bin/mofu"
HOLD=${HOLD:-20}
ROUNDS=${ROUNDS:-3}
. "$ROOT/tests/lib.sh"
. "$ROOT/tests/wayland/sway_bed.sh"

cpu_ns() { awk '{ print $1 }' "/proc/$1/schedstat"; }
wakeups() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/status"; }
peak_kib() { awk '/^VmHWM/ { print $2 }' "/proc/$1/status"; }

# One round: the saver runs HOLD seconds after a second to settle, then a
# key ends it. Prints "CPU% WAKEUPS/s RSS_MiB SERVER_CPU% KEY_MS".
round() {  # round SERVER_PID KEY_COMMAND...
  local server=$1 saver c0 w0 s0 c1 w1 s1 rss start
  shift
  "$MOFU" /s 2>/dev/null &
  saver=$!
  sleep 1
  c0=$(cpu_ns "$saver") w0=$(wakeups "$saver") s0=$(cpu_ns "$server")
  sleep "$HOLD"
  c1=$(cpu_ns "$saver") w1=$(wakeups "$saver") s1=$(cpu_ns "$server") rss=$(peak_kib "$saver")
  start=$(date +%s%N)
  "$@"
  ends_within 5 "$saver" || kill "$saver"
  wait "$saver" 2>/dev/null
  awk -v c=$((c1 - c0)) -v w=$((w1 - w0)) -v s=$((s1 - s0)) -v r="$rss" -v h="$HOLD" \
    -v k=$((($(date +%s%N) - start) / 1000)) \
    'BEGIN { printf "%.3f %.1f %.2f %.3f %.1f\n", c / h / 1e7, w / h, r / 1024, s / h / 1e7, k / 1000 }'
}

export XDG_CONFIG_HOME XDG_RUNTIME_DIR
XDG_CONFIG_HOME=$(mktemp -d)
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
at_exit "rm -rf $XDG_CONFIG_HOME $XDG_RUNTIME_DIR"

start_sway || exit 1
at_exit stop_sway
WAYLAND=$WAYLAND_DISPLAY
start_xvfb 2304x768 || exit 1
X11=$DISPLAY
: >"$XDG_CONFIG_HOME/wayland" >"$XDG_CONFIG_HOME/x11"
for _ in $(seq "$ROUNDS"); do
  WAYLAND_DISPLAY=$WAYLAND DISPLAY= round "$SWAY_PID" wtype a >>"$XDG_CONFIG_HOME/wayland"
  WAYLAND_DISPLAY= DISPLAY=$X11 round "$XVFB_PID" xdotool key a >>"$XDG_CONFIG_HOME/x11"
done

echo "| Saver ($ROUNDS rounds of $HOLD s, means) | CPU % of one core | Wake-ups/s | RSS peak MiB | Display server CPU % | Key dismissal ms |"
echo "|---|---|---|---|---|---|"
for side in wayland x11; do
  awk -v name="$side" '{ for (i = 1; i <= 5; ++i) sum[i] += $i; ++n }
    END { printf "| %s | %.2f | %.1f | %.2f | %.2f | %.1f |\n", name == "x11" ? "X11 (Xvfb 2304x768)" : "Wayland (sway, 1280x720 + 1024x768)",
          sum[1] / n, sum[2] / n, sum[3] / n, sum[4] / n, sum[5] / n }' "$XDG_CONFIG_HOME/$side"
done
