#!/usr/bin/env bash
# The Debian package end to end: builds it with CPack, looks at its control
# fields and contents, runs lintian, and runs the saver and the dialog
# from the unpacked tree on a private 800x600 X server.
# Usage: package_e2e.sh [PREFIX TOOLS]   (ignored: the package is built from build/default)
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BUILD="$ROOT/build/default"
. "$HERE/../lib.sh"

WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
DEB="$BUILD/mofu_1.1.28_amd64.deb"
TREE="$WORK/tree"

builds_the_package() {
  rm -f "$DEB"
  cmake --build "$BUILD" --target package >"$WORK/cpack.log" 2>&1 ||
    { tail -n 20 "$WORK/cpack.log" >&2; fail "cmake --target package failed"; return 1; }
  [ -f "$DEB" ] || { fail "no $(basename "$DEB") in build/default"; return 1; }
  dpkg-deb -x "$DEB" "$TREE" || fail "dpkg-deb cannot unpack it"
}

field() { dpkg-deb -f "$DEB" "$1"; }

# What lintian cannot know: the names, the words, the real dependencies.
# (It does judge the form: stripped binaries, gzip time stamps, the
# copyright and changelog files, the maintainer's address, the description's
# shape.)
control_fields() {
  local want
  [ "$(field Package) $(field Version) $(field Architecture)" = "mofu 1.1.28 amd64" ] ||
    fail "$(field Package) $(field Version) $(field Architecture)"
  [ "$(field Recommends)" = "fonts-ipafont-gothic, fonts-liberation" ] || fail "Recommends: $(field Recommends)"
  # the libraries the program and its module really link, found by dpkg-shlibdeps
  for want in libc6 libx11-6 libxss1 libgtk-3-0 libglib2.0-0; do
    field Depends | grep -Eq "(^|, )$want( |,|$)" || fail "Depends lacks $want: $(field Depends)"
  done
  [ "$(field Description | head -n 1)" = "night-sky screen saver with a walking cat" ] ||
    fail "synopsis: $(field Description | head -n 1)"
  # the requested name of the dependencies must be installable here
  apt-get -s -q install "$DEB" >"$WORK/apt.log" 2>&1 ||
    { tail -n 5 "$WORK/apt.log" >&2; fail "apt cannot install it"; }
}

# The manual page, the desktop entries, the XScreenSaver description and the
# icons as they say (the program, its module and the pictures are run).
contents() {
  local size
  zcat "$TREE/usr/share/man/man6/mofu.6.gz" | grep -q '^\.TH MOFU 6' || fail "no manual page"
  zcat "$TREE/usr/share/doc/mofu/changelog.gz" | head -n 1 | grep -q '^mofu (1.1.28) ' ||
    fail "the changelog does not start with this version"
  grep -qx 'Exec=mofu /c' "$TREE/usr/share/applications/mofu.desktop" && grep -qx 'Icon=mofu' "$TREE/usr/share/applications/mofu.desktop" &&
    grep -q '^Name\[ja\]=' "$TREE/usr/share/applications/mofu.desktop" || fail "the desktop entry is wrong"
  # MATE's and Xfce's savers: their entry, and the program in their hack folder
  local saver="$TREE/usr/share/applications/screensavers/mofu.desktop"
  grep -qx 'Exec=/usr/libexec/xscreensaver/mofu --root' "$saver" && grep -qx 'Categories=Screensaver;' "$saver" &&
    grep -q '^Comment\[ja\]=' "$saver" || fail "the screen-saver entry is wrong"
  [ "$(readlink "$TREE/usr/libexec/xscreensaver/mofu")" = ../../bin/mofu ] || fail "no link to the program in /usr/libexec/xscreensaver"
  python3 - "$TREE/usr/share/xscreensaver/config/mofu.xml" <<'PY' || fail "mofu.xml is wrong"
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
assert root.tag == "screensaver" and root.get("name") == "mofu" and root.get("_label") == "Mofu Saver"
assert root.find("command").get("arg") == "--root" and "mofu /c" in root.find("_description").text
PY
  for size in 32 64 128 256; do
    [ "$(identify -format '%wx%h' "$TREE/usr/share/icons/hicolor/${size}x${size}/apps/mofu.png")" = "${size}x${size}" ] ||
      fail "no ${size}x${size} icon"
  done
}

lintian_is_clean() {
  lintian --pedantic "$DEB" >"$WORK/lintian.log" 2>&1
  grep -v 'running with root privileges' "$WORK/lintian.log" | sed 's/^/    /'
  ! grep -q '^E: ' "$WORK/lintian.log" || fail "lintian reports errors"
  ! grep -q '^W: ' "$WORK/lintian.log" || fail "lintian reports warnings"
}

runs_from_the_unpacked_tree() {
  fresh_home
  store sspeed 1
  local MOFU="$TREE/usr/bin/mofu" cat
  [ "$("$MOFU" --version)" = "Mofu Saver 1.01.0028" ] || fail "--version: $("$MOFU" --version)"
  # the saver finds its pictures beside it: the cat walks in
  start_saver
  for _ in $(seq 16); do
    sleep 0.5
    cat=$(pixels '#F2A65A')
    [ "$cat" -ge 100 ] && break
  done
  [ "$cat" -ge 100 ] || fail "no cat on the screen: the pictures were not found"
  ends_on xdotool key x
  # the dialog's module is found beside it too
  start_saver /c
  find_window "設定" 5 >/dev/null || fail "mofu /c showed no dialog"
}

start_xvfb 800x600 || exit 1
check "the package builds as build/default/mofu_1.1.28_amd64.deb" builds_the_package
if [ -f "$DEB" ]; then
  check "control fields: name, version, real Depends, Recommends, description" control_fields
  check "contents: manual page, changelog, desktop files, icons" contents
  check "lintian: no errors or warnings" lintian_is_clean
  check "saver and dialog run from the unpacked tree" runs_from_the_unpacked_tree
fi
summary
