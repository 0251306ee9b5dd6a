#!/usr/bin/env bash
# The program's resources and imports, read from the file itself (icoutils
# and MinGW's objdump; no Wine needed).
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
SCR=${1:?usage: $0 path/to/mofu.scr}
command -v wrestool >/dev/null || { echo "wrestool not found: install the Debian package icoutils" >&2; exit 2; }

resources() {
  local listing icons
  listing=$(wrestool -l "$SCR")
  icons=$(wrestool -x --type=group_icon --name=1 "$SCR" 2>/dev/null | icotool -l - 2>/dev/null)
  grep -qF -- "--width=32 --height=32 --bit-depth=8 --palette-size=256" <<<"$icons" ||
    fail "icon 1 is not 32x32 with 256 colours: $icons"
  grep -qF -- "--type=24 --name=1 " <<<"$listing" || fail "no manifest"
  # Windows' screen-saver settings list a saver by string 1: block 1, the
  # second string, after the empty string 0.
  [ "$(wrestool -x --raw --type=6 --name=1 "$SCR" 2>/dev/null | tail -c +5 | head -c 20 | iconv -f UTF-16LE -t UTF-8)" = \
    "Mofu Saver" ] || fail "string 1 is not the name"
}

# Statically linked: nothing but Windows' own libraries.
system_imports_only() {
  local foreign
  foreign=$(x86_64-w64-mingw32-objdump -p "$SCR" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' |
    grep -vxE 'ADVAPI32.DLL|COMCTL32.DLL|GDI32.DLL|KERNEL32.DLL|MSVCRT.DLL|USER32.DLL|WINMM.DLL|SHCORE.DLL|UXTHEME.DLL')
  [ -z "$foreign" ] || fail "imports $(echo $foreign)"
}

check "icon, manifest, the name as string 1" resources
check "imports only system DLLs" system_imports_only
summary
