#!/usr/bin/env bash
# The saver on Wayland beside the saver on X11, in the same run: a headless
# sway with two outputs (1280x720 and 1024x768) against an Xvfb of the same
# width and height, taking turns. For each: the saver's processor time (the
# scheduler's nanoseconds), its wake-ups (voluntary context switches), its
# resident peak, the display server's processor time, and how long a key
# takes to end it. Prints a markdown table; then a second one of the Wayland
# saver alone, on these two outputs and on one 3840x2160 output, and under
# Weston's GL renderer (two 1024x768 outputs in the Xvfb): its resident peak
# against 4 MiB and 4 bytes an output pixel, and its wake-ups against its
# presents (counted in a run of their own, from the protocol log, as
# moments with a surface commit more than 2 ms apart). Sway's headless
# pixman renderer reads a buffer until the next one replaces it, so there
# the saver keeps two; Weston copies it and gives it back, so one.
#
# Usage: bash bench/wayland.sh [PREFIX [VPOINTER]]   (run as root: sway runs
#   as an unprivileged user of its own)
#   PREFIX    an installed tree (default: build/default/stage)
#   VPOINTER  the suite's virtual pointer (default: build/default/bin/mofu_vpointer)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PREFIX=$(realpath "${1:-$ROOT/build/default/stage}")
# shellcheck disable=SC2034  # sway_bed.sh's
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

# The saver HOLD seconds with the protocol logged: presents a second.
presents() {
  local saver log=$XDG_CONFIG_HOME/protocol.log
  WAYLAND_DEBUG=client "$MOFU" /s 2>"$log" &
  saver=$!
  sleep $((HOLD + 1))
  kill "$saver"
  wait "$saver" 2>/dev/null
  awk -v h="$HOLD" -F'[][]' '/ -> wl_surface@[0-9]+\.commit\(\)/ { t = $2 + 0
      if (first == "") first = t
      if (t - first >= 1000 && t - first < 1000 * (h + 1) && t - last > 2) n++
      last = t }
    END { printf "%.1f\n", n / h }' "$log"
}

# One row of the second table: "| OUTPUTS | RSS | TARGET | WAKE-UPS | PRESENTS | RATIO |".
KEY=(wtype a)
lean_row() {  # lean_row NAME PIXELS
  local measured per_s
  measured=$(DISPLAY='' round "$SWAY_PID" "${KEY[@]}")
  per_s=$(presents)
  awk -v name="$1" -v px="$2" -v p="$per_s" '{ printf "| %s | %.2f | %.2f | %.1f | %.1f | %.2f |\n",
      name, $3, 4 + px * 4 / 1048576, $2, p, (p > 0 ? $2 / p : 0) }' <<<"$measured"
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
: >"$XDG_CONFIG_HOME/wayland"
: >"$XDG_CONFIG_HOME/x11"
for _ in $(seq "$ROUNDS"); do
  WAYLAND_DISPLAY=$WAYLAND DISPLAY='' round "$SWAY_PID" wtype a >>"$XDG_CONFIG_HOME/wayland"
  WAYLAND_DISPLAY='' DISPLAY=$X11 round "$XVFB_PID" xdotool key a >>"$XDG_CONFIG_HOME/x11"
done

echo "| Saver ($ROUNDS rounds of $HOLD s, means) | CPU % of one core | Wake-ups/s | RSS peak MiB | Display server CPU % | Key dismissal ms |"
echo "|---|---|---|---|---|---|"
for side in wayland x11; do
  awk -v name="$side" '{ for (i = 1; i <= 5; ++i) sum[i] += $i; ++n }
    END { printf "| %s | %.2f | %.1f | %.2f | %.2f | %.1f |\n", name == "x11" ? "X11 (Xvfb 2304x768)" : "Wayland (sway, 1280x720 + 1024x768)",
          sum[1] / n, sum[2] / n, sum[3] / n, sum[4] / n, sum[5] / n }' "$XDG_CONFIG_HOME/$side"
done

echo
echo "| Wayland saver ($HOLD s) | RSS peak MiB | Target MiB | Wake-ups/s | Presents/s | Wake-ups per present |"
echo "|---|---|---|---|---|---|"
WAYLAND_DISPLAY=$WAYLAND lean_row "sway (pixman), 1280x720 + 1024x768" $((1280 * 720 + 1024 * 768))
stop_sway
start_sway "output HEADLESS-1 resolution 3840x2160
output HEADLESS-2 disable" || exit 1
lean_row "sway (pixman), 3840x2160" $((3840 * 2160))
stop_sway
DISPLAY=$X11 weston --backend=x11-backend.so --width=1024 --height=768 --output-count=2 \
  --socket=wayland-weston --idle-time=0 >/dev/null 2>&1 &
WESTON_PID=$!
at_exit "kill $WESTON_PID"
for _ in $(seq 50); do
  [ -S "$XDG_RUNTIME_DIR/wayland-weston" ] && break
  sleep 0.1
done
# Weston has no virtual keyboard: the round's key is a signal to the saver
# the round started (its local variable).
end_round_saver() { kill -TERM "$saver"; }
KEY=(end_round_saver)
WAYLAND_DISPLAY=wayland-weston SWAY_PID=$WESTON_PID lean_row "Weston GL, 2 x 1024x768" $((2 * 1024 * 768))
