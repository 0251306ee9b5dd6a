#!/usr/bin/env bash
# The MSI, as an administrator deploys it: a silent install into a fresh
# 64-bit prefix, the files and the installed-programs entry, the installed
# saver running, a newer MSI replacing it, and a silent uninstall that
# leaves nothing behind.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
SCR=$(realpath "${1:?usage: $0 path/to/mofu.scr [path/to/mofu.msi]}")
start_xvfb "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" || exit 2
MSI=${2:-$(ls "$(dirname "$SCR")"/../mofu-*-x64.msi 2>/dev/null | head -n1)}
[ -f "$MSI" ] || { echo "no MSI next to $SCR: cmake --build --preset windows --target installer" >&2; exit 2; }
MSI=$(realpath "$MSI")
VERSION=$(basename "$MSI" | sed -n 's/^mofu-\(.*\)-x64\.msi$/\1/p')
command -v wixl >/dev/null || { echo "wixl not found: run scripts/deps.sh windows" >&2; exit 2; }

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

check_installed() {  # check_installed VERSION: the state after an install
  local missing="" file entries icon
  for file in "${PLACED[@]}"; do [ -f "$file" ] || missing+=" ${file#$WINEPREFIX/}"; done
  if [ -z "$missing" ] && cmp -s "$SCR" "$WINDOWS/system32/mofu.scr" &&
    cmp -s "$REPO_DIR/assets/neko1.gif" "$WINDOWS/neko1.gif" &&
    cmp -s "$REPO_DIR/assets/neko2.gif" "$WINDOWS/neko2.gif"; then
    pass "$1: mofu.scr in System32, the pictures in the Windows folder"
  else
    fail "$1: mofu.scr in System32, the pictures in the Windows folder" "missing or different:$missing"
  fi
  entries=$(programs_entries)
  if [ "$entries" = "DisplayName=Mofu Saver Publisher=Mofu Saver project DisplayVersion=$1 UninstallString=${entries##*UninstallString=}" ] &&
    [[ $entries == *"UninstallString=MsiExec.exe /X{"* ]]; then
    pass "$1: one installed-programs entry with publisher and version"
  else
    fail "$1: one installed-programs entry with publisher and version" "${entries:-none}"
  fi
  icon=$(machine_product_icon)
  if [ -n "$icon" ]; then pass "$1: installed for every user"; else fail "$1: installed for every user" "not registered for the machine"; fi
  if [ -n "$icon" ] && [ "$icon" != none ] && [ -f "$(winepath -u "$icon" 2>/dev/null)" ]; then
    pass "$1: the entry has the program's icon"
  else
    fail "$1: the entry has the program's icon" "'$icon'"
  fi
}

# A black sky with stars, the cat walking in, and a key ending it.
check_installed_saver() {
  local SCR='C:\windows\system32\mofu.scr'
  start_scr /s
  local saver shot stars cat="" tries=0
  saver=$(find_window "$PROGRAM_TITLE" 15)
  if [ -z "$saver" ]; then
    fail "the installed saver runs" "no window"
    stop_scr
    return
  fi
  shot=$WORK/shot.png
  sleep 3
  screenshot "$shot"
  stars=$(convert "$shot" -fill black -opaque '#000000' -format %c histogram:info:- |
    awk '$2 ~ /^\((0|128|192|255),(0|128|192|255),(0|128|192|255)\)$/ && $2 != "(0,0,0)" { n += $1 } END { print n + 0 }')
  if [ "$stars" -ge 50 ]; then pass "the installed saver shows stars ($stars)"; else fail "the installed saver shows stars" "$stars star pixels"; fi
  # The cat is the only shape thicker than a dot: it comes only if the
  # pictures are where the saver looks.
  while [ -z "$cat" ] && [ "$tries" -lt 10 ]; do
    screenshot "$shot"
    cat=$(convert "$shot" -fill white +opaque black -morphology Erode Square:2 -format '%@' info: 2>/dev/null)
    [[ $cat =~ ^[1-9][0-9]*x[0-9]+\+ ]] || cat=""
    tries=$((tries + 1))
    [ -z "$cat" ] && sleep 2
  done
  if [ -n "$cat" ]; then pass "the installed saver finds its cat"; else fail "the installed saver finds its cat" "not seen in 20 s"; fi
  keys "$saver" a
  if wait_exit 10 && [ "$SCR_STATUS" -eq 0 ]; then pass "a key ends the installed saver"; else fail "a key ends the installed saver" "still running or failed"; fi
  stop_scr
}

if msiexec_quietly /i "$MSI"; then pass "silent install"; else fail "silent install" "msiexec failed"; fi
check_installed "$VERSION"
check_installed_saver

# A newer build of the same package: it replaces the old one, which leaves
# no second entry behind.
newer_version=${VERSION%.*}.$(printf '%04d' $((10#${VERSION##*.} + 1)))
mkdir "$WORK/newer"
cp "$SCR" "$REPO_DIR/assets/neko1.gif" "$REPO_DIR/assets/neko2.gif" "$REPO_DIR/assets/mofu.ico" "$WORK/newer/"
(cd "$WORK/newer" && wixl --arch x64 -D Version="$newer_version" -o newer.msi "$REPO_DIR/packaging/mofu.wxs" 2>/dev/null)
if msiexec_quietly /i "$WORK/newer/newer.msi"; then pass "a newer MSI installs over it"; else fail "a newer MSI installs over it" "msiexec failed"; fi
check_installed "$newer_version"

if msiexec_quietly /x "$WORK/newer/newer.msi"; then pass "silent uninstall"; else fail "silent uninstall" "msiexec failed"; fi
left=""
for file in "${PLACED[@]}"; do [ -e "$file" ] && left+=" ${file#$WINEPREFIX/}"; done
[ -n "$(programs_entries)" ] && left+=" the installed-programs entry"
[ -n "$(machine_product_icon)" ] && left+=" the product's registration"
if [ -z "$left" ]; then pass "nothing is left after uninstalling"; else fail "nothing is left after uninstalling" "$left"; fi

summary
