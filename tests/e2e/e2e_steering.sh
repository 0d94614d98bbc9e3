#!/usr/bin/env bash
# From outside the process: "開始/停止" stops the flight, then Right and
# Shift+Right on the display move the kite 5 and 15 pixels on screen.
# Usage: e2e_steering.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

display_background "$program" "$E2E_TMP/back.png"

start_x 1024x768x24
start_program "$program"
main_pid=$E2E_LAST_PID
id=$(wait_window Aelorin 30) || fail "no window captioned Aelorin"
read -r x y w h < <(placed_geometry "$id")
menu=$((h - 370))
read -r dx dy < <(display_origin "$id")

# Left edge, top, right edge and bottom of the kite in a screenshot of the display.
kite_box() {
  local box
  box=$(img changed-box "$E2E_TMP/back.png" "$1")
  [[ "$box" != none ]] || fail "no kite in $1"
  echo "$box"
}

# Let the first ticks draw the kite, then stop the flight with the button.
sleep 1
xdotool mousemove --sync $((x + 530 + 35)) $((y + menu + 135 + 15)) click 1
shoot_settled "$E2E_TMP/stopped1.png" "$dx" "$dy" 376 346
sleep 0.6
shoot "$E2E_TMP/stopped2.png" "$dx" "$dy" 376 346
still=$(img changed "$E2E_TMP/stopped1.png" "$E2E_TMP/stopped2.png")
((still == 0)) || fail "the display still changes after 開始/停止 ($still pixels)"

read -r ax0 ay0 ax1 ay1 < <(kite_box "$E2E_TMP/stopped2.png")
((ax1 - ax0 < 30 && ay1 - ay0 < 60)) || fail "the kite box ($ax0 $ay0 $ax1 $ay1) is larger than the kite"
((ax0 < 300)) || fail "the kite stopped too near the right edge ($ax0) to be moved 20 pixels in view"

# The button took the focus; a click on the display away from the kite gives it
# back without taking hold of the kite.
if ((ay0 > 173)); then cy=20; else cy=320; fi
xdotool mousemove --sync $((dx + 188)) $((dy + cy)) click 1
sleep 0.3

# The stopped display shows the frame drawn before the last tick moved the
# state on by one step. Any key redraws the current state; a letter moves nothing.
press_in "$id" a
shoot_settled "$E2E_TMP/redrawn.png" "$dx" "$dy" 376 346
read -r ax0 ay0 ax1 ay1 < <(kite_box "$E2E_TMP/redrawn.png")

press_in "$id" Right
shoot_settled "$E2E_TMP/right.png" "$dx" "$dy" 376 346
press_in "$id" shift+Right
shoot_settled "$E2E_TMP/shift.png" "$dx" "$dy" 376 346

read -r bx0 by0 bx1 by1 < <(kite_box "$E2E_TMP/right.png")
read -r cx0 cy0 cx1 cy1 < <(kite_box "$E2E_TMP/shift.png")
echo "kite left edge: $ax0 redrawn, $bx0 after Right, $cx0 after Shift+Right"
((bx0 - ax0 == 5 && bx1 - ax1 == 5)) || fail "Right moved the kite from $ax0..$ax1 to $bx0..$bx1, not by 5"
((cx0 - bx0 == 15 && cx1 - bx1 == 15)) || fail "Shift+Right moved the kite from $bx0..$bx1 to $cx0..$cx1, not by 15"
((ay0 == by0 && by0 == cy0 && ay1 == cy1)) || fail "the kite moved vertically ($ay0, $by0, $cy0)"

# Stopped means stopped: nothing moves after the keys either.
sleep 0.6
shoot "$E2E_TMP/later.png" "$dx" "$dy" 376 346
(($(img changed "$E2E_TMP/shift.png" "$E2E_TMP/later.png") == 0)) || fail "the stopped kite moved on by itself"

# The same button starts the flight again from where the keys left the kite.
xdotool mousemove --sync $((x + 530 + 35)) $((y + menu + 135 + 15)) click 1
for _ in $(seq 1 75); do
  sleep 0.2
  shoot "$E2E_TMP/restarted.png" "$dx" "$dy" 376 346
  (($(img changed "$E2E_TMP/shift.png" "$E2E_TMP/restarted.png") > 0)) && break
done
(($(img changed "$E2E_TMP/shift.png" "$E2E_TMP/restarted.png") > 0)) || fail "the flight did not start again"

wmctrl -c Aelorin
wait_exit "$main_pid" 15 || fail "the program did not end after the close request"
[[ "$E2E_STATUS" == 0 ]] || fail "the program ended with status $E2E_STATUS"
echo "e2e_steering: passed"
