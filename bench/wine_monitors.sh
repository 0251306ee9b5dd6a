#!/usr/bin/env bash
# The Windows build under Wine at default settings on one monitor and on two
# side by side: processor (mofu.scr plus wineserver), memory, and the nested
# X server's processor. Both run in Xephyr inside one private Xvfb, so the two
# rows differ only in the number of monitors.
#
# Usage: bash bench/wine_monitors.sh [--hold SECONDS] [--update] [path/to/mofu.scr]
#   --hold     seconds each run is measured (default 60)
#   --update   also write the table into bench/results.md, between its markers
# Processor figures are only as quiet as the machine: run it on an idle one.
set -euo pipefail
BENCH=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$BENCH/.." && pwd)
HOLD_S=60
UPDATE=0
SCR=$ROOT/build/windows/bin/mofu.scr
while [ $# -gt 0 ]; do
  case $1 in
    --hold) HOLD_S=$2; shift ;;
    --update) UPDATE=1 ;;
    -*) echo "usage: bash bench/wine_monitors.sh [--hold SECONDS] [--update] [mofu.scr]" >&2; exit 2 ;;
    *) SCR=$1 ;;
  esac
  shift
done
[ -f "$SCR" ] || { echo "no $SCR: cmake --build --preset windows" >&2; exit 2; }
SCR=$(realpath "$SCR")

WORK=$(mktemp -d)
PIDS=()
cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cc -O2 -Wall -Wextra -o "$WORK/probe" "$BENCH/probe.c" -lX11 -lXtst -lXdamage

# An X server that says its own display number once it listens.
start_server() {  # start_server VARIABLE COMMAND...: its number in VARIABLE, pid in SERVER_PID
  local into=$1 fd number
  shift
  exec {fd}<> <(:)
  "$@" -displayfd "$fd" >"$WORK/server-$into.log" 2>&1 &
  SERVER_PID=$!
  PIDS+=("$SERVER_PID")
  read -r -t 10 -u "$fd" number || { echo "$1 did not start" >&2; exit 1; }
  exec {fd}<&-
  printf -v "$into" '%s' "$number"
}

host=
start_server host Xvfb -screen 0 3840x1080x24 -nolisten tcp -br -noreset
export DISPLAY=:$host

# measure NAME SCREEN-OPTIONS...: one Xephyr, a fresh prefix, one held run.
measure() {
  local name=$1 nested
  shift
  DISPLAY=:$host start_server nested Xephyr "$@" +xinerama -ac -br -noreset
  local xephyr=$SERVER_PID
  export DISPLAY=:$nested WINEPREFIX=$WORK/prefix-$name
  wineboot -i >/dev/null 2>&1
  cp "$ROOT/assets/neko1.gif" "$ROOT/assets/neko2.gif" "$WINEPREFIX/drive_c/windows/"
  # Xephyr's RandR shows only its first screen; Xinerama shows them all.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
  # No window manager here: unmanaged windows, as bench/run.sh does.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
  wineserver -p
  local line
  line=$("$WORK/probe" --xserver "$xephyr" --hold $((HOLD_S * 1000)) --end key --timeout 60000 \
    --tree "WINEPREFIX=$WINEPREFIX" -- wine "$SCR" /s)
  echo "row=$name $line" | tee -a "$WORK/raw.txt" >&2
  wineserver -k 2>/dev/null || true
  kill "$xephyr" 2>/dev/null || true
  export DISPLAY=:$host
}

load_start=$(cut -d' ' -f1-3 /proc/loadavg)
measure one -screen 1920x1080
measure two -screen 1920x1080+0+0 -screen 1920x1080+1920+0
load_end=$(cut -d' ' -f1-3 /proc/loadavg)

table=$(awk -v hold="$HOLD_S" -v load_start="$load_start" -v load_end="$load_end" \
  -v commit="$(cd "$ROOT" && git rev-parse --short HEAD)" '
  function field(name,   i, kv) {
    for (i = 1; i <= NF; ++i) { split($i, kv, "="); if (kv[1] == name) return substr($i, length(name) + 2) }
    return ""
  }
  BEGIN {
    print "<!-- wine-monitors: written by bench/wine_monitors.sh -->"
    print "## Windows build under Wine: one and two monitors"
    print ""
    printf "%s s at default settings each, in Xephyr (1920x1080 heads, Xinerama) inside one Xvfb; commit %s; load average %s at the start, %s at the end. ", hold, commit, load_start, load_end
    print "Processor figures are noisy when anything else runs on the machine."
    print ""
    print "| Monitors | Desktop | CPU % of one core: mofu.scr + wineserver (other Wine processes) | RSS max / VmHWM MiB (mofu.scr) | Xephyr CPU % |"
    print "|---|---|---|---|---|"
  }
  {
    monitors = field("row") == "one" ? "one" : "two side by side"
    desktop = field("row") == "one" ? "1920x1080" : "3840x1080"
    if (field("exited_early") != "0" || field("cpu_s") < 0) {
      printf "| %s | %s | n/a: the saver ended on its own after %s s (status %s) | | |\n",
        monitors, desktop, field("held_s"), field("status")
      next
    }
    held = field("held_s"); scr = field("cpu_s") / held * 100
    n = split(field("tree"), parts, ","); server = 0
    for (i = 1; i <= n; ++i) { split(parts[i], p, ":"); if (p[1] ~ /^wineserver/) server += p[2] }
    server = server / held * 100
    rest = field("tree_cpu_s") / held * 100 - scr - server; if (rest < 0) rest = 0
    printf "| %s | %s | %.2f (mofu.scr %.2f + wineserver %.2f; others %.2f) | %.2f / %.2f | %.2f |\n",
      monitors, desktop, scr + server, scr, server, rest, field("rss_max_kb") / 1024, field("hwm_kb") / 1024,
      field("xserver_cpu_s") / held * 100
  }
  END { print "<!-- /wine-monitors -->" }' "$WORK/raw.txt")
echo "$table"

if [ "$UPDATE" = 1 ]; then
  results=$BENCH/results.md
  if grep -q '^<!-- wine-monitors' "$results"; then
    awk -v table="$table" '
      /^<!-- wine-monitors/ { print table; skip = 1; next }
      /^<!-- \/wine-monitors -->/ { skip = 0; next }
      !skip' "$results" >"$WORK/results.md"
    cp "$WORK/results.md" "$results"
  else
    printf '\n%s\n' "$table" >>"$results"
  fi
fi
