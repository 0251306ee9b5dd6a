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

start_scr /c
dialog=$(find_window "$DIALOG_TITLE" 15)
if [ -z "$dialog" ]; then
  fail "the dialog opens" "no window"
  stop_scr
  summary
fi
sleep 1
eval "$(xdotool getwindowgeometry --shell "$dialog")"
screen=$(mktemp --suffix=.png)
screenshot "$screen"
convert "$screen" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$SHOT"
rm -f "$screen"
keys "$dialog" alt+F4
wait_exit 10 || stop_scr

if [ $((2 * X + WIDTH - SCREEN_WIDTH)) -le 1 ] && [ $((2 * X + WIDTH - SCREEN_WIDTH)) -ge -1 ] &&
  [ $((2 * Y + HEIGHT - SCREEN_HEIGHT)) -le 1 ] && [ $((2 * Y + HEIGHT - SCREEN_HEIGHT)) -ge -1 ]; then
  pass "centred on the screen"
else
  fail "centred on the screen" "at ${X},${Y}, ${WIDTH}x${HEIGHT}"
fi

# The client area sits at the bottom of the frame, the borders even.
border=$(((WIDTH - CLIENT_WIDTH) / 2))
client_x=$border
client_y=$((HEIGHT - border - CLIENT_HEIGHT))

count_colour() {  # count_colour X Y W H R,G,B
  convert "$SHOT" -crop "${3}x${4}+$((client_x + $1))+$((client_y + $2))" +repage \
    -format %c histogram:info:- | awk -v rgb="($5)" '$2 == rgb { n += $1 } END { print n + 0 }'
}

for row in "${checks[@]}"; do
  IFS='|' read -r name rect colour least <<<"$row"
  # shellcheck disable=SC2086
  n=$(count_colour $rect "$colour")
  if [ "$n" -ge "$least" ]; then pass "$name"; else fail "$name" "$n pixels of ($colour)"; fi
done

# Picture1: the icon on its black box covers the 32x32 pixels there; the
# dialog's own grey does not show through.
background=$(convert "$SHOT" -crop "1x1+$((client_x + 2))+$((client_y + 2))" +repage \
  -format '%[pixel:p{0,0}]' info:)
showing=$(convert "$SHOT" -crop "32x32+$((client_x + 111))+$((client_y + 27))" +repage \
  -format %c histogram:info:- | awk -v bg="${background#srgb}" '$2 == bg { n += $1 } END { print n + 0 }')
if [ "$showing" -le 10 ]; then
  pass "Picture1 shows the icon"
else
  fail "Picture1 shows the icon" "$showing pixels of the dialog's grey in its box"
fi

# At 144 DPI the client area grows by half: 4125 x 2490 twips are 413 x 249
# pixels there, and the frame around it stays as it was.
DESKTOP='HKCU\Control Panel\Desktop'
wine reg add "$DESKTOP" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
width_at_96=$WIDTH
height_at_96=$HEIGHT
start_scr /c
dialog=$(find_window "$DIALOG_TITLE" 15)
if [ -n "$dialog" ]; then
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  keys "$dialog" alt+F4
  wait_exit 10
  grown=$((WIDTH - width_at_96))
  if [ "$grown" -ge 137 ] && [ "$grown" -le 139 ] && [ "$HEIGHT" -ge $((height_at_96 + 83)) ]; then
    pass "scaled for 144 DPI"
  else
    fail "scaled for 144 DPI" "${WIDTH}x${HEIGHT}, against ${width_at_96}x${height_at_96} at 96 DPI"
  fi
else
  fail "scaled for 144 DPI" "no dialog"
fi
stop_scr
wine reg delete "$DESKTOP" /v LogPixels /f >/dev/null 2>&1

summary
