#!/usr/bin/env bash
# The program's resources and imports, read from the file itself (icoutils
# and MinGW's objdump; no Wine needed).
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
SCR=${1:?usage: $0 path/to/mofu.scr}

command -v wrestool >/dev/null || { echo "wrestool not found: install the Debian package icoutils" >&2; exit 2; }

listing=$(wrestool -l "$SCR")
icon_dir=$(mktemp -d)
at_exit 'rm -rf "$icon_dir"'
wrestool -x --type=group_icon --name=1 -o "$icon_dir/mofu.ico" "$SCR" 2>/dev/null
icons=$(icotool -l "$icon_dir/mofu.ico" 2>/dev/null)

# The version record as UTF-16 text, and its fixed part as hex.
version_text=$(wrestool -x --raw --type=version --language=1041 "$SCR" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -c '[:print:]' '\n' | grep -v '^$')
version_hex=$(wrestool -x --raw --type=version --language=1041 "$SCR" | od -An -tx1 -v | tr -d ' \n')
fixed=${version_hex#*bd04effe}  # what follows the fixed part's signature

has_line() { grep -qxF -- "$2" <<<"$1"; }
has_text() { grep -qF -- "$2" <<<"$1"; }
# Version string "Name" followed by its value on the next line.
has_value() { grep -A1 -xF -- "$1" <<<"$version_text" | tail -n1 | grep -qxF -- "$2"; }

icon_version_and_manifest() {
  has_text "$listing" "--type=14 --name=1 " || fail "no icon resource 1"
  has_text "$icons" "--width=32 --height=32 --bit-depth=8 --palette-size=256" ||
    fail "the icon is not 32x32 with 256 colours: $icons"
  has_text "$listing" "--type=16 --name=1 --language=1041 " || fail "no Japanese version record"
  has_line "$version_text" "041104B0" || fail "no string table 041104B0"
  local pair
  for pair in FileVersion=1.01.0028 ProductVersion=1.01.0028 ProductName="Mofu Saver"; do
    has_value "${pair%%=*}" "${pair#*=}" || fail "no version string $pair"
  done
  # FILEVERSION and PRODUCTVERSION 1,1,0,28: after the signature and the
  # structure version come four little-endian words, file then product.
  [ "${fixed:8:32}" = 010001001c000000010001001c000000 ] || fail "fixed versions ${fixed:8:32}"
  has_text "$listing" "--type=24 --name=1 " || fail "no manifest"
}

# String ID of the string table: block ID/16+1 holds sixteen strings, each a
# 16-bit length and that many UTF-16 units.
string_resource() {  # string_resource ID
  local id=$1 hex pos=0 i len
  hex=$(wrestool -x --raw --type=6 --name=$((id / 16 + 1)) "$SCR" 2>/dev/null | od -An -tx1 -v | tr -d ' \n')
  for ((i = 0; i <= id % 16; i++)); do
    [ $((pos + 4)) -le ${#hex} ] || return 1
    len=$((16#${hex:pos+2:2}${hex:pos:2}))
    [ "$i" -lt $((id % 16)) ] && pos=$((pos + 4 + len * 4))
  done
  printf "$(sed 's/../\\x&/g' <<<"${hex:pos+4:len*4}")" | iconv -f UTF-16LE -t UTF-8
}
# Windows' screen-saver settings list a saver by string 1.
name_string() { [ "$(string_resource 1)" = "Mofu Saver" ] || fail "string 1: '$(string_resource 1)'"; }

# Statically linked: nothing but Windows' own libraries.
system_imports_only() {
  local foreign
  foreign=$(x86_64-w64-mingw32-objdump -p "$SCR" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' |
    grep -vxE 'ADVAPI32.DLL|COMCTL32.DLL|GDI32.DLL|KERNEL32.DLL|MSVCRT.DLL|USER32.DLL|WINMM.DLL|SHCORE.DLL|UXTHEME.DLL')
  [ -z "$foreign" ] || fail "imports $(echo $foreign)"
}

check "icon, Japanese version record 1.01.0028, manifest" icon_version_and_manifest
check "string 1 is the name" name_string
check "imports only system DLLs" system_imports_only
summary
