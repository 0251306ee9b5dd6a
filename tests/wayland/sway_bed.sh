# shellcheck shell=bash
# A headless sway to test against, sourced by the Wayland suite (after
# tests/lib.sh). Sway refuses to run as root, so it runs as an
# unprivileged user with a runtime folder of its own; root's clients reach
# its socket through a link in their own runtime folder.

SWAY_USER=${SWAY_USER:-65534}

# start_sway [CONFIG_LINES]: two headless outputs of different sizes side by
# side; sets SWAY_PID, SWAY_RUN, WAYLAND_DISPLAY and SWAYSOCK.
start_sway() {
  SWAY_RUN=$(mktemp -d)
  chmod 755 "$SWAY_RUN"
  mkdir -m 700 "$SWAY_RUN/run"
  chown "$SWAY_USER:$SWAY_USER" "$SWAY_RUN/run"
  cat >"$SWAY_RUN/config" <<CONF
output HEADLESS-1 resolution 1280x720 position 0 0
output HEADLESS-2 resolution 1024x768 position 1280 0
output * background #336699 solid_color
default_border none
${1:-}
CONF
  chmod 644 "$SWAY_RUN/config"
  (cd / && exec setpriv --reuid="$SWAY_USER" --regid="$SWAY_USER" --clear-groups \
    env -i PATH=/usr/bin:/bin HOME=/nonexistent XDG_RUNTIME_DIR="$SWAY_RUN/run" \
    WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$SWAY_RUN/config" >"$SWAY_RUN/sway.log" 2>&1) &
  SWAY_PID=$!
  local socket=
  for _ in $(seq 100); do
    socket=$(find "$SWAY_RUN/run" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' 2>/dev/null | head -n 1)
    local ipc
    ipc=$(find "$SWAY_RUN/run" -maxdepth 1 -name 'sway-ipc.*' 2>/dev/null | head -n 1)
    [ -n "$socket" ] && [ -n "$ipc" ] && break
    sleep 0.1
  done
  if [ -z "$socket" ]; then
    echo "sway did not start:" >&2
    cat "$SWAY_RUN/sway.log" >&2
    return 1
  fi
  # Root's own runtime folder, with a link to the compositor's socket.
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
  chmod 700 "$XDG_RUNTIME_DIR"
  ln -sf "$socket" "$XDG_RUNTIME_DIR/wayland-sway"
  export WAYLAND_DISPLAY=wayland-sway
  export SWAYSOCK=$ipc
  unset DISPLAY
  # Until a keyboard and a pointer join, the seat has neither and the first
  # key is lost: both stay connected all along.
  wtype -s 86400000 >/dev/null 2>&1 &
  WTYPE_PID=$!
  "$VPOINTER" serve "$SWAY_RUN/pointer.fifo" >/dev/null 2>"$SWAY_RUN/vpointer.log" &
  VPOINTER_PID=$!
  for _ in $(seq 50); do
    [ -p "$SWAY_RUN/pointer.fifo" ] && break
    sleep 0.1
  done
  sleep 0.3
}

stop_sway() {
  [ -n "${VPOINTER_PID:-}" ] && kill "$VPOINTER_PID" 2>/dev/null
  [ -n "${WTYPE_PID:-}" ] && kill "$WTYPE_PID" 2>/dev/null
  [ -n "${SWAY_PID:-}" ] && kill "$SWAY_PID" 2>/dev/null
  wait "$SWAY_PID" "${VPOINTER_PID:-}" "${WTYPE_PID:-}" 2>/dev/null
  rm -rf "$SWAY_RUN"
  SWAY_PID='' VPOINTER_PID='' WTYPE_PID=''
}

# pointer COMMAND...: "move DX DY", "click", "press", "release", "wheel",
# "warp X Y W H" (absolute, in the layout's pixels)
pointer() { echo "$*" >"$SWAY_RUN/pointer.fifo"; }
