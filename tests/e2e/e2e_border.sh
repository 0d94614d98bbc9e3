#!/usr/bin/env bash
# On a 192-dpi desktop, a press on the display's sunken border is not a press on
# the picture: it takes no hold of a kite pushed under the border by the arrow
# keys, and dragging from there leaves the kite where it is; for the right, the
# bottom and the left border.
# Usage: e2e_border.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

start_x 1600x1000x24
echo "Xft.dpi: 192" | xrdb -merge
start_program "$program"
main_pid=$E2E_LAST_PID
id=$(wait_window Aelorin 30) || fail "no window on the 192-dpi desktop"
read -r x y w h < <(placed_geometry "$id")
[[ "$w" == 1260 ]] || fail "client width $w on a 192-dpi desktop, expected twice 630"
menu=$((h - 740))
# Screen position of the display's drawing-area pixel (0, 0); each of its
# pixels is two screen pixels a side, and its border two of them wide.
ax=$((x + 24)) ay=$((y + menu + 24))

# The kite as the display shows it now ("x y frame", display pixels), once the
# display has stopped changing; sets kx, ky.
find_kite() {
  local found
  xdotool mousemove 0 0
  shoot_settled "$E2E_TMP/display.png" "$ax" "$ay" 752 692
  found=$(img find-kite "$E2E_TMP/display.png" "$images/back.bmp" "$images/kite.bmp" 2 2>&1) \
    || fail "$1: $found"
  read -r kx ky _ <<<"$found"
}

# Stop the flight. A click on the display's far corner gives it the keys back
# from the button (no kite reaches there while it flies), and a letter redraws
# the kite where it is, whether or not a tick drew it yet.
images=$(dirname "$program")/images
xdotool mousemove --sync $((x + 2 * (530 + 35))) $((y + menu + 2 * (135 + 15))) click 1
xdotool mousemove --sync $((ax + 740)) $((ay + 680)) click 1
press_in "$id" a
find_kite "stopped"

# Which border, the keys that push the kite under it (a key moves the kite only
# from inside its limit: 80 Rights end at x 350..354, its cell then reaching
# under the right border at 376, 80 Downs at y 290..294, under the bottom one at
# 346; Lefts down to 1..5, then one Shift+Left, end at -14..-10), and where on
# the border the press falls, beside the kite's middle (display pixels).
borders=(
  "right|Right*80|376.5|ky+30"
  "bottom|Down*80|kx+15|346.5"
  "left|Left*lefts shift+Left|-1.5|ky+30"
)
for border in "${borders[@]}"; do
  IFS='|' read -r name keys px py <<<"$border"
  lefts=$(((kx - 1) / 5))
  presses=()
  for key in $keys; do
    count=1
    if [[ "$key" == *'*'* ]]; then
      count=$((${key#*\*}))
      key=${key%%\**}
    fi
    for ((n = 0; n < count; n++)); do presses+=("$key"); done
  done
  press_in "$id" "${presses[@]}"
  find_kite "$name border: under it"
  read -r held_x held_y <<<"$kx $ky"
  # Press on the border over the kite, drag into the display and let go: the
  # kite must be where it was.
  read -r sx sy < <(awk -v x="$ax" -v y="$ay" -v kx="$kx" -v ky="$ky" \
    "BEGIN { print int(x + 2 * ($px)), int(y + 2 * ($py)) }")
  xdotool mousemove --sync "$sx" "$sy" mousedown 1
  xdotool mousemove --sync $((ax + 376)) $((ay + 346)) mouseup 1
  find_kite "$name border: after the drag"
  ((kx == held_x && ky == held_y)) \
    || fail "a press on the $name border took hold of the kite at $held_x, $held_y: it followed to $kx, $ky"
  echo "$name border: the kite at $kx, $ky stayed where it was"
done

wmctrl -c Aelorin
wait_exit "$main_pid" 15 || fail "the program did not end after the close request"
echo "e2e_border: passed"
