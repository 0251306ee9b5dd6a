#!/usr/bin/env bash
# The saver on Wayland end to end, against a headless sway with two outputs
# of different sizes (1280x720 at 0,0 and 1024x768 at 1280,0), and the
# fullscreen fallback against Weston, which has no layer shell. Which input
# ends it when is unit-tested; this is the compositor's part of it.
# Usage: wayland_e2e.sh PREFIX [VPOINTER]
#   PREFIX: an installed tree (PREFIX/bin/mofu); VPOINTER: the built
#   mofu_vpointer (default: build/default/bin beside PREFIX).
set -u
PREFIX=$(cd "$1" && pwd)
# shellcheck disable=SC2034  # lib.sh's and sway_bed.sh's
MOFU="$PREFIX/bin/mofu" ENDS_WITHIN=2
# shellcheck disable=SC2034
VPOINTER=$(realpath "${2:-$PREFIX/../default/bin/mofu_vpointer}")
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../lib.sh"
. "$HERE/sway_bed.sh"

# Sway runs as an unprivileged user of its own, which only root can start.
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: run as root, to start sway as an unprivileged user of its own"
  exit 77
fi

at_exit 'stop_sway 2>/dev/null'

# The compositor's background colour, which the saver must cover entirely.
readonly BACKGROUND="#336699"

# A fresh settings folder for the case, the compositor's socket linked in.
wayland_home() {
  fresh_home
  [ -z "${SWAY_SOCKET:-}" ] || ln -s "$SWAY_SOCKET" "$XDG_RUNTIME_DIR/wayland-sway"
}

# The saver on the case's compositor, with these variables, a second and a
# half after it started.
saver_up() {  # saver_up [VAR=VALUE...]
  [[ ${XDG_RUNTIME_DIR:-} == "$CASE_DIR"/* ]] || wayland_home
  local var
  for var in "$@"; do export "${var?}"; done
  start_saver
  sleep 1.5
  running "$SAVER" || fail "the saver is not running"
}

ends_with_status() {  # ends_with_status STATUS: within 2 s
  ends_within 2 "$SAVER" || { fail "still running 2 s later"; return 1; }
  wait "$SAVER"
  local status=$?
  [ "$status" -eq "$1" ] || fail "exit status $status, not $1"
}

term_saver() { kill -TERM "$SAVER"; }

ends_after() {  # ends_after COMMAND...: the saver up, then the one check of an ending
  saver_up
  ends_on "$@"
}

keeps_running_on() {  # keeps_running_on COMMAND...: 1.5 s later it still runs
  saver_up
  "$@"
  sleep 1.5
  running "$SAVER" || fail "it ended"
}

# Pixels in the sky's palette colours, which the cat's fur does not use.
star_pixels() {  # star_pixels PNG
  convert "$1" -format %c histogram:info:- |
    sed -n 's/^ *\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' |
    awk '{ ok = 0; for (i = 2; i <= 4; i++) ok += $i == 0 || $i == 128 || $i == 192 || $i == 255 }
      ok == 3 && $2 + $3 + $4 > 0 { n += $1 } END { print n + 0 }'
}

# lit pixels with no lit neighbour left, right, above or below: stars of one
# device pixel
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

# The cat's height in a picture, worn down by two pixels on every side as
# cat_left does (stars wear away): nothing while it is off the picture.
cat_height() {  # cat_height PNG
  local box
  box=$(convert "$1" -fill white +opaque black -morphology Erode Square:2 -format '%@' info:)
  [[ $box =~ ^[1-9][0-9]*x([0-9]+)\+ ]] && echo "${BASH_REMATCH[1]}"
}

# --- under sway -------------------------------------------------------------

stars_on_every_output() {
  saver_up
  sleep 1.5
  local name size shot lit
  for pair in HEADLESS-1:1280x720 HEADLESS-2:1024x768; do
    name=${pair%%:*} size=${pair#*:} shot="$CASE_DIR/$name.png"
    grim -o "$name" "$shot"
    [ "$(size_of "$shot")" = "$size" ] || fail "$name is $(size_of "$shot"), not $size"
    lit=$(count_pixels "$shot" lit)
    [ "$lit" -ge 60 ] || fail "$name: only $lit lit pixels after 3 s"
    [ "$(count_pixels "$shot" "$BACKGROUND")" -eq 0 ] || fail "$name: the background shows"
  done
}

pointer_not_drawn() {
  wayland_home
  pointer warp 640 360 2304 768
  sleep 0.3
  # The same spot before the saver shows the pointer: the check can see one.
  grim -g "620,340 48x48" "$CASE_DIR/before.png"
  local before after
  before=$(count_pixels "$CASE_DIR/before.png" white)
  [ "$before" -ge 20 ] || fail "no pointer to see before the saver ($before white pixels)"
  saver_up
  grim -g "620,340 48x48" "$CASE_DIR/after.png"
  after=$(count_pixels "$CASE_DIR/after.png" lit)
  [ "$after" -le 6 ] || fail "$after lit pixels where the pointer is"
}

# A laptop at scale 2 left of a monitor at scale 1: each output at its own
# device pixels. On the scale-2 one a star is one device pixel; on the
# scale-1 one the cat has its picture's height and the stars are as many
# as the sky's density gives (a buffer scaled down loses three in four).
mixed_scales() {
  swaymsg -q 'output HEADLESS-1 scale 2; output HEADLESS-2 position 640 0'
  saver_up
  sleep 4.5
  grim -o HEADLESS-1 "$CASE_DIR/two.png"
  grim -o HEADLESS-2 "$CASE_DIR/one.png"
  local lit lone height stars
  stars=$(star_pixels "$CASE_DIR/one.png")
  # The cat walks in on the scale-1 output about 4 s in (later on a busy machine).
  for _ in $(seq 16); do
    height=$(cat_height "$CASE_DIR/one.png")
    [ -n "$height" ] && break
    sleep 0.5
    grim -o HEADLESS-2 "$CASE_DIR/one.png"
  done
  swaymsg -q 'output HEADLESS-1 scale 1; output HEADLESS-2 position 1280 0'
  [ "$(size_of "$CASE_DIR/two.png")" = "1280x720" ] || fail "the scale-2 picture is $(size_of "$CASE_DIR/two.png")"
  [ "$(count_pixels "$CASE_DIR/two.png" "$BACKGROUND")" -eq 0 ] || fail "the scale-2 output is not covered"
  lit=$(count_pixels "$CASE_DIR/two.png" lit)
  lone=$(lone_pixels "$CASE_DIR/two.png")
  [ "$lit" -ge 8 ] || fail "only $lit lit pixels on the scale-2 output"
  [ $((lone * 10)) -ge $((lit * 6)) ] || fail "$lone of $lit lit pixels are lone device pixels"
  [ "${height:-0}" -ge 24 ] || fail "the cat is ${height:-not} worn-down pixels high on the scale-1 output"
  [ "$stars" -ge 175 ] || fail "only $stars star pixels on the scale-1 output after 6 s"
}

# Sway answers every change with a pointer leave and enter at the same spot.
output_changes() {
  local change
  for change in 'HEADLESS-1 scale 2' 'HEADLESS-1 scale 1' 'HEADLESS-2 resolution 800x600' \
    'HEADLESS-2 resolution 1024x768'; do
    # shellcheck disable=SC2086
    swaymsg -q output $change
    sleep 0.5
  done
}

new_output_covered() {
  saver_up
  swaymsg -q create_output
  local name
  name=$(swaymsg -t get_outputs | grep -o '"name": "HEADLESS-[0-9]*"' | tail -n 1 | cut -d'"' -f4)
  sleep 2.5
  running "$SAVER" || fail "the saver ended when an output came"
  grim -o "$name" "$CASE_DIR/new.png"
  [ "$(count_pixels "$CASE_DIR/new.png" "$BACKGROUND")" -eq 0 ] || fail "the new output $name is not covered"
  [ "$(count_pixels "$CASE_DIR/new.png" lit)" -ge 10 ] || fail "no stars on the new output $name"
  grim -o HEADLESS-1 "$CASE_DIR/old.png"
  [ "$(count_pixels "$CASE_DIR/old.png" "$BACKGROUND")" -eq 0 ] || fail "HEADLESS-1 is no longer covered"
  # Sway 1.7 cannot remove an output; disabled, it stays out of the way.
  swaymsg -q output "$name" disable
}

compositor_gone() {
  saver_up
  kill "$SWAY_PID"
  ends_with_status 1
  grep -q "lost the Wayland display" "$CASE_DIR/stderr" || fail "no report of the lost display"
}

# --- without a layer shell, and without a compositor -----------------------

# Weston's outputs are X windows (one over the other at 0,0, without a window
# manager): the one on top shows the sky, not Weston's panel and background.
# The pointer enters an output, then moves.
fullscreen_under_weston() {
  wayland_home
  weston --backend=x11-backend.so --width=800 --height=600 --output-count=2 --use-pixman \
    --socket=wayland-weston --idle-time=0 >"$CASE_DIR/weston.log" 2>&1 &
  STARTED+=($!)
  for _ in $(seq 50); do
    [ -S "$XDG_RUNTIME_DIR/wayland-weston" ] && break
    sleep 0.1
  done
  saver_up WAYLAND_DISPLAY=wayland-weston WAYLAND_DEBUG=1
  local lit requests
  lit=$(pixels lit 0 0 800 600)
  [ "$lit" -le 10000 ] || fail "$lit of 480000 pixels are lit: Weston's desktop shows"
  xdotool mousemove 100 100
  sleep 0.3
  xdotool mousemove 140 120
  ends_with_status 0
  requests=$(grep -o 'xdg_toplevel@[0-9]*\.set_fullscreen(wl_output@[0-9]*)' "$CASE_DIR/stderr")
  [ "$(grep -o 'wl_output@[0-9]*' <<<"$requests" | sort -u | wc -l)" -eq 2 ] ||
    fail "fullscreen requests: $requests"
  grep -q 'layer_surface' "$CASE_DIR/stderr" && fail "a layer surface was asked for"
  grep -q "fullscreen windows" "$CASE_DIR/stderr" || fail "no line saying it runs as fullscreen windows"
}

x11_when_no_compositor_answers() {
  saver_up WAYLAND_DISPLAY=wayland-nobody
  [ -n "$(window_named 'Mofu Saver')" ] || fail "no X11 saver window"
  ends_on xdotool key x
}

start_sway "" || exit 1
SWAY_SOCKET=$(readlink "$XDG_RUNTIME_DIR/wayland-sway")
check "stars on each output and none of the background" stars_on_every_output
check "the pointer is not drawn over the sky" pointer_not_drawn
while read -r input; do
  # shellcheck disable=SC2086
  check "'$input' ends it with status 0 within 2 s" ends_after $input
done <<'TABLE'
wtype a
pointer move 6 0
pointer click
pointer wheel
term_saver
TABLE
while read -r input; do
  # shellcheck disable=SC2086
  check "'$input' leaves it running" keeps_running_on $input
done <<'TABLE'
pointer press
output_changes
TABLE
pointer release
check "mixed scales: every output at its own device pixels" mixed_scales
check "an output added while it runs is covered" new_output_covered
check "the compositor killed ends it with a lost display's status" compositor_gone
stop_sway
SWAY_SOCKET=

start_xvfb 1920x1080 || exit 1
check "without layer shell: a fullscreen window per output, ended by a move (Weston)" fullscreen_under_weston
check "a compositor that does not answer leaves it to X11" x11_when_no_compositor_answers
summary
