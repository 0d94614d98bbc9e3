#!/usr/bin/env bash
# On a 192-dpi desktop, a press on the display's sunken border is not a press on
# the picture: it takes no hold of a kite pushed under the border by the arrow
# keys, and dragging from there leaves the kite where it is.
# Usage: e2e_border.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export SDL_AUDIODRIVER=dummy

start_x 1600x1000x24
echo "Xft.dpi: 192" | xrdb -merge
start_program "$program"
main_pid=$E2E_LAST_PID
id=$(wait_window Aelorin 30) || fail "no window on the 192-dpi desktop"
read -r x y w h < <(window_geometry "$id")
[[ "$w" == 1260 ]] || fail "client width $w on a 192-dpi desktop, expected twice 630"
menu=$((h - 740))
# Screen position of the display's drawing-area pixel (0, 0); each of its
# pixels is two screen pixels a side, and its border two of them wide.
ax=$((x + 24)) ay=$((y + menu + 24))

# The first and last columns of its 30-pixel cell the kite paints: those its
# mask uncovers, in the picture file the program draws.
kite_file="$(dirname "$program")/images/kite.bmp"
read -r inset right_inset < <(python3 -c '
import sys
sys.path.insert(0, sys.argv[1])
import img
w, h, rows = img.load(sys.argv[2])
cols = {tuple(f(x for y in range(h // 2, h) for x in range(30) if rows[y][c * 30 + x] != rows[h // 2][c * 30])
              for f in (min, max))
        for c in range(w // 30)}
print(*cols.pop() if len(cols) == 1 else "frames differ")
' "$E2E_DIR" "$kite_file")
[[ "$inset $right_inset" =~ ^[0-9]+\ [0-9]+$ ]] || fail "kite picture: $inset $right_inset"

# The background as the display shows it at this resolution.
convert "$(dirname "$program")/images/back.bmp" -crop 376x346+0+0 +repage -scale 200% "$E2E_TMP/back.png"

# The kite's corner (in display pixels) as seen in a screenshot of the band of
# rows it flies in: from the right edge of what differs from the background,
# which stays in view when the kite is pushed past the left edge.
kite_x() {
  local shot=$E2E_TMP/band.png box
  shoot_settled "$shot" "$ax" $((ay + band_top)) 752 "$band_h"
  convert "$E2E_TMP/back.png" -crop "752x${band_h}+0+${band_top}" +repage "$E2E_TMP/back-band.png"
  box=$(img changed-box "$E2E_TMP/back-band.png" "$shot")
  [[ "$box" != none ]] || fail "no kite in view"
  read -r _ _ x1 _ <<<"$box"
  echo $((x1 / 2 - right_inset))
}

# Stop the flight. The display then shows the frame drawn before the last
# tick; a click on its far corner gives it the focus back from the button, and
# a letter redraws the kite where it is. Then find it once in the whole display.
sleep 1
xdotool mousemove --sync $((x + 2 * (530 + 35))) $((y + menu + 2 * (135 + 15))) click 1
sleep 0.3
xdotool mousemove --sync $((ax + 740)) $((ay + 680)) click 1
press_in "$id" a
shoot_settled "$E2E_TMP/display.png" "$ax" "$ay" 752 692
read -r bx0 by0 bx1 by1 < <(img changed-box "$E2E_TMP/back.png" "$E2E_TMP/display.png")
band_top=$((by0 > 8 ? by0 - 8 : 0)) band_h=$((by1 - by0 + 16))
((band_top + band_h <= 692)) || band_h=$((692 - band_top))
kite0=$((bx0 / 2 - inset))

# Take hold in the middle of what is seen of the kite, on a whole pixel.
hold_x=$(((bx0 + bx1) / 4)) hold_y=$(((by0 + by1) / 4))
grip=$((hold_x - kite0))
xdotool mousemove --sync $((ax + 2 * hold_x)) $((ay + 2 * hold_y)) mousedown 1

# Bring the kite's corner to x = 1 and let go; one Left then puts it at -4,
# its painted part starting under the border.
xdotool mousemove --sync $((ax + 2 * (grip + 1))) $((ay + 2 * hold_y)) mouseup 1
got=$(kite_x)
((got == 1)) || fail "the kite was not dragged to x = 1 (it is at $got)"
press_in "$id" Left
got=$(kite_x)
((got == -4)) || fail "Left from x = 1 left the kite at $got, not -4"

# Press on the border, on the kite's rows, and drag into the display.
xdotool mousemove --sync $((ax - 2)) $((ay + 2 * hold_y)) mousedown 1
xdotool mousemove --sync $((ax + 200)) $((ay + 2 * hold_y))
got=$(kite_x)
xdotool mouseup 1
((got == -4)) || fail "a press on the border took hold of the kite: it followed to $got"

wmctrl -c Aelorin
wait_exit "$main_pid" 15 || fail "the program did not end after the close request"
echo "e2e_border: passed"
