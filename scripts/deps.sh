#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs. Groups: build, run, test,
# windows, bench (default: all). Needs root, or sudo.
set -euo pipefail

declare -A GROUP=(
  [build]="cmake ninja-build g++ pkg-config libgtest-dev googletest libx11-dev libxss-dev libxrandr-dev libglib2.0-dev libgtk-3-dev libstb-dev libgif-dev dpkg-dev file libwayland-dev wayland-protocols"
  [run]="xvfb xauth x11-utils fonts-ipafont-gothic fonts-dejavu-core fonts-liberation"
  [test]="shellcheck clang-format xdotool imagemagick procps lintian man-db xscreensaver mate-screensaver dbus-daemon xserver-xephyr x11-xserver-utils xcompmgr picom sway grim wtype swayidle swaylock weston python3"
  [windows]="g++-mingw-w64-x86-64-posix wine wine64 icoutils xserver-xephyr wixl"
  [bench]="xscreensaver-data time python3 libxtst-dev libxdamage-dev valgrind strace"
)

groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(build run test windows bench)
packages=()
for g in "${groups[@]}"; do read -ra more <<<"${GROUP[$g]}"; packages+=("${more[@]}"); done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
