#!/usr/bin/env bash
# The MSI, as an administrator deploys it: a silent install into a fresh
# 64-bit prefix, the files and the installed-programs entry, the installed
# saver running (statically linked: it finds no DLL of ours), and a silent
# uninstall that leaves nothing behind. First, what the settings page reads
# from the file itself: the icon, the manifest and the name.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
SCR=$(realpath "${1:?usage: $0 path/to/mofu.scr [path/to/mofu.msi]}")
start_xvfb "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" || exit 2
MSI=${2:-$(ls "$(dirname "$SCR")"/../mofu-*-x64.msi 2>/dev/null | head -n1)}
[ -f "$MSI" ] || { echo "no MSI next to $SCR: cmake --build --preset windows --target installer" >&2; exit 2; }
MSI=$(realpath "$MSI")
VERSION=$(basename "$MSI" | sed -n 's/^mofu-\(.*\)-x64\.msi$/\1/p')
command -v wrestool >/dev/null || { echo "wrestool not found: install the Debian package icoutils" >&2; exit 2; }

resources() {
  wrestool -x --type=group_icon --name=1 "$SCR" 2>/dev/null | icotool -l - 2>/dev/null |
    grep -qF -- "--width=32 --height=32 --bit-depth=8 --palette-size=256" || fail "icon 1 is not 32x32 with 256 colours"
  wrestool -l "$SCR" | grep -qF -- "--type=24 --name=1 " || fail "no manifest"
  # Windows' screen-saver settings list a saver by string 1: block 1, the
  # second string, after the empty string 0.
  [ "$(wrestool -x --raw --type=6 --name=1 "$SCR" 2>/dev/null | tail -c +5 | head -c 20 | iconv -f UTF-16LE -t UTF-8)" = \
    "Mofu Saver" ] || fail "string 1 is not the name"
}

WORK=$(mktemp -d)
export WINEPREFIX=$WORK/prefix WINEARCH=win64
at_exit 'wineserver -k 2>/dev/null; rm -rf "$WORK"'
wineboot -i >/dev/null 2>&1
wineserver -w
WINDOWS=$WINEPREFIX/drive_c/windows
PLACED=("$WINDOWS/system32/mofu.scr" "$WINDOWS/neko1.gif" "$WINDOWS/neko2.gif")
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
PRODUCTS='HKLM\Software\Classes\Installer\Products'

msiexec_quietly() {  # msiexec_quietly /i|/x MSI
  wine msiexec "$1" "$(winepath -w "$2")" /qn >/dev/null 2>&1
  local status=$?
  wineserver -w
  return $status
}

# "Name=Value" lines of every installed-programs entry named Mofu Saver.
programs_entries() {
  wine reg query "$UNINSTALL" /s 2>/dev/null | tr -d '\r' | awk '
    /^HKEY_/ { key = $0; next }
    NF >= 3 { name = $1; $1 = ""; $2 = ""; sub(/^ +/, ""); value[key, name] = $0; keys[key] = 1 }
    END { for (k in keys) if (value[k, "DisplayName"] == "Mofu Saver")
            printf "DisplayName=%s Publisher=%s DisplayVersion=%s UninstallString=%s\n",
              value[k, "DisplayName"], value[k, "Publisher"], value[k, "DisplayVersion"], value[k, "UninstallString"] }'
}

# The product as Windows Installer registered it for the whole machine
# (a per-user install lands under HKCU instead): prints its icon's path, or
# "none" when it has no icon, or nothing when it is not registered.
machine_product_icon() {
  wine reg query "$PRODUCTS" /s 2>/dev/null | tr -d '\r' | awk '
    function report() { if (name == "Mofu Saver") { print (icon == "" ? "none" : icon) } }
    /^HKEY_/ { report(); name = ""; icon = "" }
    $1 == "ProductName" { $1 = ""; $2 = ""; sub(/^ +/, ""); name = $0 }
    $1 == "ProductIcon" { icon = $3 }
    END { report() }' | head -n1
}

installed() {  # installed VERSION: the state after an install
  local missing="" file entries icon
  for file in "${PLACED[@]}"; do [ -f "$file" ] || missing+=" ${file#$WINEPREFIX/}"; done
  [ -z "$missing" ] || fail "missing:$missing"
  cmp -s "$SCR" "$WINDOWS/system32/mofu.scr" && cmp -s "$REPO_DIR/assets/neko1.gif" "$WINDOWS/neko1.gif" &&
    cmp -s "$REPO_DIR/assets/neko2.gif" "$WINDOWS/neko2.gif" || fail "files differ from the build's"
  entries=$(programs_entries)
  [ "$entries" = "DisplayName=Mofu Saver Publisher=Mofu Saver project DisplayVersion=$1 UninstallString=${entries##*UninstallString=}" ] &&
    [[ $entries == *"UninstallString=MsiExec.exe /X{"* ]] || fail "installed-programs entries: ${entries:-none}"
  icon=$(machine_product_icon)
  [ -n "$icon" ] || fail "not registered for the machine"
  [ -n "$icon" ] && [ "$icon" != none ] && [ -f "$(winepath -u "$icon" 2>/dev/null)" ] || fail "icon '$icon'"
}

# The cat walks in only if the pictures are where the saver looks; a key
# ends it.
installed_saver_runs() {
  # Wine waits two seconds for a window manager to see a window go, and this
  # display has none.
  # shellcheck disable=SC2034  # read by ends_on
  local ENDS_WITHIN=4
  local SCR='C:\windows\system32\mofu.scr' cat=0
  start_wine_saver || return 1
  for _ in $(seq 10); do
    sleep 2
    cat=$(pixels '#F2A65A')
    [ "$cat" -ge 100 ] && break
  done
  [ "$cat" -ge 100 ] || fail "no cat within 20 s: $cat orange pixels"
  ends_on keys "$SAVER_WINDOW" a
}

uninstall_leaves_nothing() {
  msiexec_quietly /x "$MSI" || { fail "msiexec failed"; return 1; }
  local file
  for file in "${PLACED[@]}"; do [ ! -e "$file" ] || fail "left: ${file#$WINEPREFIX/}"; done
  [ -z "$(programs_entries)" ] || fail "the installed-programs entry is left"
  [ -z "$(machine_product_icon)" ] || fail "the product's registration is left"
}

silent_install() { msiexec_quietly /i "$MSI" || { fail "msiexec failed"; return 1; }; installed "$VERSION"; }

check "icon, manifest, the name as string 1" resources
check "silent install: the files, one entry with publisher, version and icon, for every user" silent_install
check "the installed saver shows its cat, and a key ends it" installed_saver_runs
check "a silent uninstall leaves nothing" uninstall_leaves_nothing
summary
