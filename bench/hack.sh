#!/usr/bin/env bash
# Hack mode under the real XScreenSaver daemon at default settings: processor
# and memory of mofu --root and of the daemon (xscreensaver and its
# xscreensaver-gfx), beside galaxy under the same daemon, and the standalone
# saver (mofu /s) on the same screen for comparison. The daemon will not run
# hacks as root, so it runs as a throwaway user, removed again at the end.
#
# Usage: sudo bash bench/hack.sh [--hold SECONDS] [--update] [PREFIX]
#   --hold     seconds each row is measured (default 60), after 3 s of start-up
#   --update   also write the table into bench/results.md, between its markers
#   PREFIX     an installed tree (default: build/default installed afresh)
# Processor figures are only as quiet as the machine: run it on an idle one.
set -euo pipefail
BENCH=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$BENCH/.." && pwd)
HOLD_S=60
UPDATE=0
PREFIX=
while [ $# -gt 0 ]; do
  case $1 in
    --hold) HOLD_S=$2; shift ;;
    --update) UPDATE=1 ;;
    -*) echo "usage: bash bench/hack.sh [--hold SECONDS] [--update] [PREFIX]" >&2; exit 2 ;;
    *) PREFIX=$1 ;;
  esac
  shift
done
[ "$(id -u)" -eq 0 ] || { echo "needs root: the daemon runs as a throwaway user" >&2; exit 2; }
GALAXY=/usr/libexec/xscreensaver/galaxy
[ -x "$GALAXY" ] || { echo "no $GALAXY: bash scripts/deps.sh bench" >&2; exit 2; }

WORK=$(mktemp -d)
chmod 755 "$WORK"
TESTER=mofubench$$
HOME_DIR=$WORK/home
PIDS=()
DAEMON=
cleanup() {
  stop_daemon
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  id "$TESTER" >/dev/null 2>&1 && userdel -r "$TESTER" >/dev/null 2>&1
  rm -rf "$WORK"
}
trap cleanup EXIT

if [ -z "$PREFIX" ]; then
  [ -x "$ROOT/build/default/bin/mofu" ] ||
    { echo "no build/default: cmake --preset default && cmake --build --preset default" >&2; exit 2; }
  cmake --install "$ROOT/build/default" --prefix "$WORK/prefix" >/dev/null
else
  cp -r "$PREFIX" "$WORK/prefix"
fi
chmod -R a+rX "$WORK/prefix"
MOFU=$WORK/prefix/bin/mofu
useradd -M -d "$HOME_DIR" -s /bin/sh "$TESTER"
mkdir -p "$HOME_DIR" && chown "$TESTER:" "$HOME_DIR"

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1920x1080x24 -nolisten tcp -br -noreset -ac >/dev/null 2>&1 &
XVFB=$!
PIDS+=("$XVFB")
read -r -t 10 -u "$fd" number || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$number

as_tester() {
  setpriv --reuid="$TESTER" --regid="$TESTER" --init-groups \
    env -i DISPLAY="$DISPLAY" HOME="$HOME_DIR" PATH=/usr/bin:/bin "$@"
}

stop_daemon() {
  [ -n "$DAEMON" ] || return 0
  kill "$DAEMON" 2>/dev/null || true
  wait "$DAEMON" 2>/dev/null || true
  DAEMON=
  local pid
  for pid in $(pgrep -u "$TESTER" || true); do kill "$pid" 2>/dev/null || true; done
  sleep 0.5
}

# Processor ticks (user + system) of a process; its comm may hold blanks.
ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
kib() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }

# hold PID...: watches the processes for HOLD_S seconds; prints, per process,
# "cpu% rss_max_mib vmhwm_mib".
hold() {
  local pid hz start=() rss=()
  hz=$(getconf CLK_TCK)
  for pid in "$@"; do start+=("$(ticks "$pid")"); rss+=(0); done
  local t0 i r
  t0=$(date +%s%N)
  for _ in $(seq "$HOLD_S"); do
    sleep 1
    i=0
    for pid in "$@"; do
      r=$(kib "$pid" VmRSS)
      [ "$r" -gt "${rss[$i]}" ] && rss[i]=$r
      i=$((i + 1))
    done
  done
  local wall_ns=$(($(date +%s%N) - t0))
  i=0
  for pid in "$@"; do
    awk -v d="$(($(ticks "$pid") - start[i]))" -v hz="$hz" -v ns="$wall_ns" \
      -v rss="${rss[$i]}" -v hwm="$(kib "$pid" VmHWM)" \
      'BEGIN { printf "%.2f %.2f %.2f\n", d / hz / (ns / 1e9) * 100, rss / 1024, hwm / 1024 }'
    i=$((i + 1))
  done
}

under_daemon() {  # under_daemon NAME COMMAND: one table row
  local name=$1 command=$2
  cat >"$HOME_DIR/.xscreensaver" <<EOF
timeout:	0:30:00
lock:		False
mode:		one
selected:	0
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
grabDesktopImages:	False
programs:	"$name" $command \\n
EOF
  chown "$TESTER:" "$HOME_DIR/.xscreensaver"
  as_tester xscreensaver -no-splash -verbose >"$WORK/daemon.log" 2>&1 &
  DAEMON=$!
  for _ in $(seq 50); do as_tester xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.1; done
  as_tester xscreensaver-command -activate >/dev/null
  sleep 3
  local hack gfx
  hack=$(pgrep -u "$TESTER" -x "$(basename "${command%% *}")" | head -n 1)
  gfx=$(pgrep -u "$TESTER" -f "^[^ ]*xscreensaver-gfx" | head -n 1)
  [ -n "$hack" ] && [ -n "$gfx" ] || { echo "$name did not start" >&2; tail "$WORK/daemon.log" >&2; exit 1; }
  local figures
  mapfile -t figures < <(hold "$hack" "$DAEMON" "$gfx" "$XVFB")
  local launches
  launches=$(grep -c "forked \".*$(basename "${command%% *}")" "$WORK/daemon.log" || true)
  read -r h_cpu h_rss h_hwm <<<"${figures[0]}"
  read -r d_cpu d_rss _ <<<"${figures[1]}"
  read -r g_cpu g_rss _ <<<"${figures[2]}"
  read -r x_cpu _ <<<"${figures[3]}"
  printf '| %s | %s | %s / %s | %s (xscreensaver %s + gfx %s) | %s + %s | %s | %s |\n' \
    "$name" "$h_cpu" "$h_rss" "$h_hwm" "$(awk -v a="$d_cpu" -v b="$g_cpu" 'BEGIN { printf "%.2f", a + b }')" \
    "$d_cpu" "$g_cpu" "$d_rss" "$g_rss" "$x_cpu" "$launches" >>"$WORK/table.md"
  tail -n 1 "$WORK/table.md" >&2
  stop_daemon
}

standalone() {
  XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run "$MOFU" /s &
  local pid=$!
  PIDS+=("$pid")
  sleep 3
  local figures
  mapfile -t figures < <(hold "$pid" "$XVFB")
  read -r h_cpu h_rss h_hwm <<<"${figures[0]}"
  read -r x_cpu _ <<<"${figures[1]}"
  printf '| mofu /s, standalone, no daemon | %s | %s / %s | n/a | n/a | %s | n/a |\n' \
    "$h_cpu" "$h_rss" "$h_hwm" "$x_cpu" >>"$WORK/table.md"
  tail -n 1 "$WORK/table.md" >&2
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

mkdir -p "$WORK/config" "$WORK/run" && chmod 700 "$WORK/run"
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
: >"$WORK/table.md"
under_daemon "Mofu Saver, mofu --root" "$MOFU --root"
under_daemon "galaxy -root" "$GALAXY -root"
standalone
load_end=$(cut -d' ' -f1-3 /proc/loadavg)

{
  echo "<!-- hack: written by bench/hack.sh -->"
  echo "## Hack mode under XScreenSaver"
  echo
  echo "XScreenSaver $(xscreensaver --version 2>&1 | awk '{ print $2; exit }'), mode one, no lock, one Xvfb 1920x1080x24; default settings; ${HOLD_S} s a row after 3 s of start-up; commit $(git -C "$ROOT" rev-parse --short HEAD 2>/dev/null || echo ?); load average $load_start at the start, $load_end at the end. Processor figures are noisy when anything else runs on the machine."
  echo
  echo "| Program | CPU % of one core | RSS max / VmHWM MiB | Daemon CPU % | Daemon RSS MiB (xscreensaver + gfx) | X server CPU % | Times the daemon started it |"
  echo "|---|---|---|---|---|---|---|"
  cat "$WORK/table.md"
  echo
  echo "CPU: /proc ticks (user + system) of each process over the hold, against the wall time; the daemon is xscreensaver and its xscreensaver-gfx, which sleep while a hack runs (0.00 is less than one 10 ms tick in the whole hold). Memory: VmRSS sampled each second, and VmHWM at the end. The last column counts the daemon's launches of the hack in its log: 1 means it was never restarted."
  echo "<!-- /hack -->"
} >"$WORK/section.md"
cat "$WORK/section.md"

if [ "$UPDATE" -eq 1 ]; then
  python3 - "$BENCH/results.md" "$WORK/section.md" <<'EOF'
import re, sys
results, section = sys.argv[1], open(sys.argv[2]).read().rstrip("\n")
text = open(results).read()
pattern = re.compile(r"<!-- hack: .*?<!-- /hack -->", re.S)
text = pattern.sub(lambda _: section, text) if pattern.search(text) else text.rstrip("\n") + "\n\n" + section + "\n"
open(results, "w").write(text)
EOF
fi
