#!/usr/bin/env bash
# What the settings dialog looks like: centred, with the designer's colours
# where the layout puts each control. Leaves a picture of it behind.
set -uo pipefail
source "$(dirname "$0")/../lib.sh"
wine_setup "$@"
SHOT=${MOFU_DIALOG_SHOT:-/tmp/mofu-win-dialog.png}
CLIENT_WIDTH=275
CLIENT_HEIGHT=166

# What | client rectangle x y w h (layout twips / 15) | colour | at least
checks=(
  "Frame1 caption in grey|13 15 60 13|128,128,128|20"
  "Frame2 caption in grey|106 75 80 13|128,128,128|20"
  "Label1 in blue|147 34 130 31|0,0,255|60"
  "Label2 in grey|150 26 112 13|128,128,128|20"
  "Label4(0) +1 in red|124 108 13 11|255,0,0|5"
  "Label4(1) 0 in black|151 108 10 11|0,0,0|5"
  "Label4(2) -1 in blue|172 108 13 11|0,0,255|5"
  "Label4(4) -3 in blue|219 108 13 11|0,0,255|5"
)

# Opens the dialog, sets X Y WIDTH HEIGHT to its frame and closes it again.
dialog_frame() {  # dialog_frame [SHOT]
  start_scr /c
  local dialog screen
  dialog=$(find_window "$DIALOG_TITLE" 15) || { stop_scr; return 1; }
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  if [ -n "${1:-}" ]; then
    screen=$(mktemp --suffix=.png)
    screenshot "$screen"
    convert "$screen" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
    rm -f "$screen"
  fi
  keys "$dialog" alt+F4
  wait_exit 10 || stop_scr
}

count_colour() {  # count_colour X Y W H R,G,B: in the client area, which sits at the frame's bottom
  local border=$(((WIDTH - CLIENT_WIDTH) / 2))
  convert "$SHOT" -crop "${3}x${4}+$((border + $1))+$((HEIGHT - border - CLIENT_HEIGHT + $2))" +repage \
    -format %c histogram:info:- | awk -v rgb="($5)" '$2 == rgb { n += $1 } END { print n + 0 }'
}

looks() {
  dialog_frame "$SHOT" || { fail "no dialog"; return 1; }
  local dx=$((2 * X + WIDTH - SCREEN_WIDTH)) dy=$((2 * Y + HEIGHT - SCREEN_HEIGHT)) row name rect colour least n
  [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] || fail "not centred: at $X,$Y, ${WIDTH}x$HEIGHT"
  for row in "${checks[@]}"; do
    IFS='|' read -r name rect colour least <<<"$row"
    # shellcheck disable=SC2086
    n=$(count_colour $rect "$colour")
    [ "$n" -ge "$least" ] || fail "$name: $n pixels of ($colour)"
  done
  # Picture1: the icon on its black box covers the 32x32 pixels there; no
  # grey of the dialog shows through.
  local grey border=$(((WIDTH - CLIENT_WIDTH) / 2))
  grey=$(convert "$SHOT" -crop "1x1+$((border + 2))+$((HEIGHT - border - CLIENT_HEIGHT + 2))" +repage \
    -format '%[pixel:p{0,0}]' info:)
  grey=${grey#srgb}
  n=$(count_colour 111 27 32 32 "${grey//[()]/}")
  [ "$n" -le 10 ] || fail "Picture1: $n pixels of the dialog's grey in its box"
}

# At 144 DPI the client area grows by half: 4125 x 2490 twips are 413 x 249
# pixels there, and the frame around it stays as it was.
scaled_for_144_dpi() {
  dialog_frame || { fail "no dialog at 96 DPI"; return 1; }
  local width=$WIDTH height=$HEIGHT desktop='HKCU\Control Panel\Desktop'
  wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  dialog_frame || { fail "no dialog at 144 DPI"; return 1; }
  wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
  [ $((WIDTH - width)) -ge 137 ] && [ $((WIDTH - width)) -le 139 ] && [ "$HEIGHT" -ge $((height + 83)) ] ||
    fail "${WIDTH}x$HEIGHT, against ${width}x$height at 96 DPI"
}

check "centred, with the designer's colours where each control is" looks
check "scaled for 144 DPI" scaled_for_144_dpi
summary
