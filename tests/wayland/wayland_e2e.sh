#!/usr/bin/env bash
# The saver on Wayland end to end, against a headless sway with two outputs
# of different sizes (1280x720 at 0,0 and 1024x768 at 1280,0), and the
# fullscreen fallback against Weston, which has no layer shell.
# Usage: wayland_e2e.sh PREFIX [VPOINTER]
#   PREFIX: an installed tree (PREFIX/bin/mofu); VPOINTER: the built
#   mofu_vpointer (default: build/default/bin beside PREFIX).
set -u
PREFIX=$(cd "$1" && pwd)
MOFU="$PREFIX/bin/mofu"
VPOINTER=$(realpath "${2:-$PREFIX/../default/bin/mofu_vpointer}")
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../lib.sh"
. "$HERE/sway_bed.sh"

# Sway runs as an unprivileged user of its own, which only root can start.
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: run as root, to start sway as an unprivileged user of its own"
  exit 77
fi

WORK=$(mktemp -d)
at_exit 'stop_sway 2>/dev/null; rm -rf "$WORK"'

# The compositor's background colour, which the saver must cover entirely.
readonly BACKGROUND="#336699"

start_saver() {  # start_saver [ARG...]: sets SAVER; its stderr goes to $WORK/saver.err
  "$MOFU" "${@:-/s}" 2>"$WORK/saver.err" &
  SAVER=$!
}

stop_saver() {
  kill "$SAVER" 2>/dev/null
  wait "$SAVER" 2>/dev/null
  return 0
}

# lit pixels with no lit neighbour left, right, above or below: the size of a
# star in device pixels shows as whether any exist
lone_pixels() {  # lone_pixels PNG
  convert "$1" -fill white +opaque black -colorspace gray -depth 8 txt:- |
    awk -F'[,: ]+' 'NR > 1 && $0 !~ /#000000/ { lit[$1 "," $2] = 1 }
      END { n = 0
        for (p in lit) { split(p, c, ",")
          if (!(((c[1]-1) "," c[2]) in lit) && !(((c[1]+1) "," c[2]) in lit) &&
              !((c[1] "," (c[2]-1)) in lit) && !((c[1] "," (c[2]+1)) in lit)) n++ }
        print n }'
}

size_of() { identify -format '%wx%h' "$1"; }

# A fresh settings and runtime folder, the compositor's socket linked in.
fresh_wayland_home() {
  fresh_home
  ln -s "$SWAY_SOCKET" "$XDG_RUNTIME_DIR/wayland-sway"
}

term_saver() { kill -TERM "$SAVER"; }

ends_with_status() {  # ends_with_status SECONDS STATUS
  if ! ends_within "$1" "$SAVER"; then
    stop_saver
    fail "still running $1 s later"
    return 1
  fi
  wait "$SAVER"
  local status=$?
  [ "$status" -eq "$2" ] || fail "exit status $status, not $2"
}

# --- under sway -------------------------------------------------------------

stars_on_every_output() {
  fresh_wayland_home
  start_saver /s
  sleep 3
  running "$SAVER" || { fail "the saver is not running"; return 1; }
  local name size shot lit bg
  for pair in HEADLESS-1:1280x720 HEADLESS-2:1024x768; do
    name=${pair%%:*} size=${pair#*:}
    shot="$WORK/$name.png"
    grim -o "$name" "$shot"
    [ "$(size_of "$shot")" = "$size" ] || fail "$name is $(size_of "$shot"), not $size"
    lit=$(count_pixels "$shot" lit)
    bg=$(count_pixels "$shot" "$BACKGROUND")
    [ "$lit" -ge 60 ] || fail "$name: only $lit lit pixels after 3 s"
    [ "$bg" -eq 0 ] || fail "$name: $bg pixels of the background show"
  done
  stop_saver
}

pointer_not_drawn() {
  fresh_wayland_home
  pointer warp 640 360 2304 768
  sleep 0.3
  # The same spot before the saver shows the pointer: the check can see one.
  grim -g "620,340 48x48" "$WORK/before.png"
  local before after
  before=$(count_pixels "$WORK/before.png" white)
  [ "$before" -ge 20 ] || fail "no pointer to see before the saver ($before white pixels)"
  start_saver /s
  sleep 2
  grim -g "620,340 48x48" "$WORK/after.png"
  after=$(count_pixels "$WORK/after.png" lit)
  stop_saver
  [ "$after" -le 6 ] || fail "$after lit pixels where the pointer is"
}

ends_on() {  # ends_on COMMAND...: the saver ends with status 0 within 2 s
  fresh_wayland_home
  start_saver /s
  sleep 1.5
  running "$SAVER" || { fail "the saver was not running"; return 1; }
  "$@"
  ends_with_status 2 0
}

started_by_swayidle() {
  fresh_wayland_home
  swayidle -w timeout 2 "$MOFU /s" >/dev/null 2>&1 &
  local idle=$! pid=
  sleep 1
  pgrep -f "^$MOFU /s" >/dev/null && fail "running before the idle time"
  for _ in $(seq 40); do
    pid=$(pgrep -f "^$MOFU /s" | head -n 1)
    [ -n "$pid" ] && break
    sleep 0.1
  done
  if [ -z "$pid" ]; then
    kill "$idle"
    fail "swayidle did not start it within 5 s"
    return 1
  fi
  sleep 1
  grim -o HEADLESS-1 "$WORK/idle.png"
  [ "$(count_pixels "$WORK/idle.png" "$BACKGROUND")" -eq 0 ] || fail "the output is not covered"
  wtype x
  ends_within 2 "$pid" || fail "a key did not end it within 2 s"
  kill "$idle" 2>/dev/null
  wait "$idle" 2>/dev/null
  return 0
}

new_output_covered() {
  fresh_wayland_home
  start_saver /s
  sleep 1.5
  swaymsg -q create_output
  local name
  name=$(swaymsg -t get_outputs | grep -o '"name": "HEADLESS-[0-9]*"' | tail -n 1 | cut -d'"' -f4)
  sleep 2.5
  running "$SAVER" || fail "the saver ended when an output came"
  grim -o "$name" "$WORK/new.png"
  [ "$(count_pixels "$WORK/new.png" "$BACKGROUND")" -eq 0 ] || fail "the new output $name is not covered"
  [ "$(count_pixels "$WORK/new.png" lit)" -ge 10 ] || fail "no stars on the new output $name"
  grim -o HEADLESS-1 "$WORK/old.png"
  [ "$(count_pixels "$WORK/old.png" "$BACKGROUND")" -eq 0 ] || fail "HEADLESS-1 is no longer covered"
  stop_saver
  # Sway 1.7 cannot remove an output (no "unplug"); disabled, it stays out
  # of the later rows' way.
  swaymsg -q output "$name" disable
}

# Sway 1.7 has no session-lock protocol: swaylock is a layer surface on the
# overlay layer like the saver's, and sway stacks a layer's older surfaces
# above its newer ones, so the lock is engaged under the saver. The first
# key then ends the saver and the lock is what shows. Where the lock does
# show above the saver at once, so much the better: the row notes it.
swaylock_above() {
  command -v swaylock >/dev/null || { echo "    (no swaylock: skipped)"; return 0; }
  fresh_wayland_home
  start_saver /s
  sleep 1.5
  swaylock -c ff0000 >/dev/null 2>&1 &
  local lock=$! red
  sleep 1.5
  grim -o HEADLESS-1 "$WORK/lock.png"
  red=$(count_pixels "$WORK/lock.png" "#ff0000")
  [ "$red" -ge 800000 ] && echo "    (the lock shows above the running saver)"
  running "$lock" || fail "swaylock did not stay up"
  wtype x
  ends_with_status 2 0
  sleep 0.5
  grim -o HEADLESS-1 "$WORK/lock.png"
  red=$(count_pixels "$WORK/lock.png" "#ff0000")
  kill "$lock" 2>/dev/null
  wait "$lock" 2>/dev/null
  [ "$red" -ge 800000 ] || fail "no lock screen once the saver ended: $red red pixels of 921600"
}

scale_two_device_pixels() {
  fresh_wayland_home
  swaymsg -q output HEADLESS-2 scale 2
  sleep 0.5
  start_saver /s
  sleep 7
  grim -o HEADLESS-2 "$WORK/scaled.png"
  stop_saver
  swaymsg -q output HEADLESS-2 scale 1
  local size lit lone
  size=$(size_of "$WORK/scaled.png")
  [ "$size" = "1024x768" ] || fail "the scale-2 output's picture is $size"
  [ "$(count_pixels "$WORK/scaled.png" "$BACKGROUND")" -eq 0 ] || fail "the scale-2 output is not covered"
  # The left half only: the cat, walking in from the right, is no star.
  convert "$WORK/scaled.png" -crop 512x768+0+0 +repage "$WORK/left.png"
  lit=$(count_pixels "$WORK/left.png" lit)
  lone=$(lone_pixels "$WORK/left.png")
  # Stars drawn at 2x2 leave no lone pixel at all.
  [ "$lit" -ge 8 ] || fail "only $lit lit pixels on the scale-2 output"
  [ $((lone * 10)) -ge $((lit * 6)) ] || fail "$lone of $lit lit pixels are lone device pixels"
}

# The dialog's client area, as sway places it: "X,Y WIDTHxHEIGHT".
dialog_geometry() {
  swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("name") == "設定" and node.get("app_id") is not None:
        r, w = node["rect"], node["window_rect"]
        print("%d,%d %dx%d" % (r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"]))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))' | head -n 1
}

# Laid out as on X11: the same client area, and the same picture but for the
# text's smoothing (compared softened; a layout one pixel off differs ten
# times as much).
dialog_under_wayland() {
  fresh_wayland_home
  start_saver /c
  local geometry=
  for _ in $(seq 40); do
    geometry=$(dialog_geometry)
    [ -n "$geometry" ] && break
    sleep 0.1
  done
  [ -n "$geometry" ] || { stop_saver; fail "no window titled 設定 within 4 s"; return 1; }
  sleep 0.5
  grim -g "$geometry" "$WORK/dialog-wayland.png"
  stop_saver
  [ "${geometry#* }" = "275x166" ] || fail "the dialog's client area is ${geometry#* }, not 275x166 as on X11"
  grep -iq 'warning\|critical' "$WORK/saver.err" && fail "it warned: $(grep -i -m1 'warning\|critical' "$WORK/saver.err")"
  # The same dialog on X11, centred on a 1280x1024 screen without a window
  # manager, as the X11 dialog suite sees it.
  start_xvfb 1280x1024 || { fail "no Xvfb"; return 1; }
  env -u WAYLAND_DISPLAY "$MOFU" /c 2>/dev/null &
  SAVER=$!
  sleep 2
  import -window root -crop 275x166+502+429 +repage "$WORK/dialog-x11.png"
  stop_saver
  stop_xvfb
  local differ
  convert "$WORK/dialog-wayland.png" -blur 0x1 "$WORK/soft-wayland.png"
  convert "$WORK/dialog-x11.png" -blur 0x1 "$WORK/soft-x11.png"
  differ=$(compare -metric AE -fuzz 10% "$WORK/soft-wayland.png" "$WORK/soft-x11.png" null: 2>&1)
  [ "${differ%%.*}" -le 1000 ] 2>/dev/null || fail "the dialog differs from X11's in $differ pixels"
}

compositor_gone() {
  fresh_wayland_home
  start_saver /s
  sleep 1.5
  kill "$SWAY_PID"
  ends_with_status 2 1
  grep -q "lost the Wayland display" "$WORK/saver.err" || fail "no report of the lost display"
}

# --- without a layer shell, and without a compositor -----------------------

fullscreen_under_weston() {
  fresh_home
  weston --backend=x11-backend.so --width=800 --height=600 --output-count=2 --use-pixman \
    --socket=wayland-weston --idle-time=0 >"$WORK/weston.log" 2>&1 &
  local weston=$!
  for _ in $(seq 50); do
    [ -S "$XDG_RUNTIME_DIR/wayland-weston" ] && break
    sleep 0.1
  done
  WAYLAND_DISPLAY=wayland-weston WAYLAND_DEBUG=1 "$MOFU" /s 2>"$WORK/saver.err" &
  SAVER=$!
  sleep 2
  # Weston's outputs are X windows (one over the other at 0,0, without a
  # window manager): the one on top shows the sky, not Weston's panel and
  # background.
  import -window root -crop 800x600+0+0 +repage "$WORK/weston.png"
  local lit
  lit=$(count_pixels "$WORK/weston.png" lit)
  [ "$lit" -le 10000 ] || fail "$lit of 480000 pixels are lit: Weston's desktop shows"
  # The pointer enters an output, then moves.
  xdotool mousemove 100 100
  sleep 0.3
  xdotool mousemove 140 120
  ends_with_status 2 0
  kill "$weston"
  wait "$weston" 2>/dev/null
  local fullscreen outputs
  fullscreen=$(grep -c 'xdg_toplevel@[0-9]*\.set_fullscreen(wl_output@' "$WORK/saver.err")
  outputs=$(grep -o 'xdg_toplevel@[0-9]*\.set_fullscreen(wl_output@[0-9]*)' "$WORK/saver.err" |
    sed 's/.*wl_output/wl_output/' | sort -u | wc -l)
  [ "$fullscreen" -eq 2 ] || fail "$fullscreen fullscreen requests for 2 outputs"
  [ "$outputs" -eq 2 ] || fail "fullscreen on $outputs distinct outputs"
  grep -q 'layer_surface' "$WORK/saver.err" && fail "a layer surface was asked for"
  grep -q "fullscreen windows" "$WORK/saver.err" || fail "no line saying it runs as fullscreen windows"
  return 0
}

x11_when_no_compositor_answers() {
  fresh_home
  WAYLAND_DISPLAY=wayland-nobody "$MOFU" /s 2>"$WORK/saver.err" &
  SAVER=$!
  sleep 1.5
  [ -n "$(window_named 'Mofu Saver')" ] || fail "no X11 saver window"
  xdotool key x
  ends_with_status 2 0
}

start_sway || exit 1
SWAY_SOCKET=$(readlink "$XDG_RUNTIME_DIR/wayland-sway")
check "stars on each output and none of the background" stars_on_every_output
check "the pointer is not drawn over the sky" pointer_not_drawn
check "a key ends it with status 0 within 2 s" ends_on wtype a
check "a pointer motion ends it with status 0 within 2 s" ends_on pointer move 6 0
check "a click ends it with status 0 within 2 s" ends_on pointer click
check "a wheel step ends it with status 0 within 2 s" ends_on pointer wheel
check "SIGTERM ends it with status 0 within 2 s" ends_on term_saver
check "swayidle starts it after the idle time, a key ends it" started_by_swayidle
check "an output added while it runs is covered" new_output_covered
check "swaylock started while it runs is on screen by the first key" swaylock_above
check "a scale-2 output gets stars of one device pixel" scale_two_device_pixels
check "/c shows the dialog natively, laid out as on X11, without warnings" dialog_under_wayland
check "the compositor killed ends it with a lost display's status" compositor_gone
stop_sway

start_xvfb 1920x1080 || exit 1
check "without layer shell: a fullscreen window per output, ended by a move (Weston)" fullscreen_under_weston
check "a compositor that does not answer leaves it to X11" x11_when_no_compositor_answers
summary
