#!/usr/bin/env bash
# At a scale factor of 2 the layout keeps its proportions and the display shows
# each frame pixel as a sharp 2 x 2 block, with no blurring between them.
# Usage: [AELORIN_SCREENSHOT=screenshot.png] e2e_hidpi.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
keep=${AELORIN_SCREENSHOT:-}
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy QT_SCALE_FACTOR=2

start_x 1600x1000x24
start_program "$program"
id=$(wait_window Aelorin 30) || fail "no window at scale factor 2"
sleep 1
read -r x y w h < <(placed_geometry "$id")
[[ "$w" == 1260 ]] || fail "client width $w at scale 2, expected 1260"
menu=$((h - 740))
((menu > 0 && menu < 120)) || fail "client height $h at scale 2 does not hold 740 below a menu bar"

xdotool mousemove 0 0   # keep the pointer out of the picture
shoot "$E2E_TMP/display.png" $((x + 24)) $((y + menu + 24)) 752 692
[[ -n "$keep" ]] && import -window root "$keep"
blocks=$(python3 -c '
import sys
sys.path.insert(0, sys.argv[1])
import img
w, h, rows = img.load(sys.argv[2])
bad = 0
for y in range(0, h - 1, 2):
    for x in range(0, w - 1, 2):
        p = rows[y][x]
        if rows[y][x + 1] != p or rows[y + 1][x] != p or rows[y + 1][x + 1] != p:
            bad += 1
print(bad)
' "$E2E_DIR" "$E2E_TMP/display.png")
[[ "$blocks" == 0 ]] || fail "$blocks of the display's 2 x 2 blocks are not one colour: the frame is blurred"
echo "e2e_hidpi: passed"
