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

# What lintian cannot know: the name and version, that apt can install it,
# and that what the desktops and the daemons look for is in it and says
# what they need. (Lintian judges the form, the real Depends included.)
control_and_contents() {
  [ "$(field Package) $(field Version) $(field Architecture)" = "mofu 1.1.28 amd64" ] ||
    fail "$(field Package) $(field Version) $(field Architecture)"
  apt-get -s -q install "$DEB" >"$WORK/apt.log" 2>&1 || { tail -n 5 "$WORK/apt.log" >&2; fail "apt cannot install it"; }
  zcat "$TREE/usr/share/man/man6/mofu.6.gz" | grep -q '^\.TH MOFU 6' || fail "no manual page"
  grep -qx 'Exec=mofu /c' "$TREE/usr/share/applications/mofu.desktop" || fail "the desktop entry is wrong"
  [ -f "$TREE/usr/share/icons/hicolor/256x256/apps/mofu.png" ] || fail "no icon"
  python3 - "$TREE/usr/share/xscreensaver/config/mofu.xml" <<'XML' || fail "mofu.xml is wrong"
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
assert root.tag == "screensaver" and root.get("name") == "mofu" and root.find("command").get("arg") == "--root"
XML
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
  check "name and version, installable; the manual page, desktop entry, icon and daemon entry" control_and_contents
  check "lintian: no errors or warnings" lintian_is_clean
  check "saver and dialog run from the unpacked tree" runs_from_the_unpacked_tree
fi
summary
