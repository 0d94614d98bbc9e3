#!/usr/bin/env bash
# While the flight runs, a kite held down with the mouse stays under the hand,
# an arrow key pressed meanwhile included; the release lets it fly on.
# Usage: e2e_heldkite.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export SDL_AUDIODRIVER=dummy

display_background "$program" "$E2E_TMP/back.png"

start_x 1024x768x24
start_program "$program"
main_pid=$E2E_LAST_PID
id=$(wait_window Aelorin 30) || fail "no window captioned Aelorin"
read -r dx dy < <(display_origin "$id")

# Catch the flying kite in the middle of where it was last seen.
sleep 1
shoot "$E2E_TMP/flying.png" "$dx" "$dy" 376 346
read -r x0 y0 x1 y1 < <(img changed-box "$E2E_TMP/back.png" "$E2E_TMP/flying.png")
xdotool mousemove --sync $((dx + (x0 + x1) / 2)) $((dy + (y0 + y1) / 2)) mousedown 1
shoot_settled "$E2E_TMP/held.png" "$dx" "$dy" 376 346
sleep 0.6
shoot "$E2E_TMP/held-later.png" "$dx" "$dy" 376 346
(($(img changed "$E2E_TMP/held.png" "$E2E_TMP/held-later.png") == 0)) || fail "the press did not take hold of the kite"

# Straight to the display, which the press gave the focus; clearing modifiers
# first would also let go of the button.
xdotool key Right
shoot_settled "$E2E_TMP/nudged.png" "$dx" "$dy" 376 346
(($(img changed "$E2E_TMP/held.png" "$E2E_TMP/nudged.png") > 0)) || fail "Right did not move the held kite"
sleep 1
shoot "$E2E_TMP/nudged-later.png" "$dx" "$dy" 376 346
moved=$(img changed "$E2E_TMP/nudged.png" "$E2E_TMP/nudged-later.png")
((moved == 0)) || fail "after an arrow key the held kite flew on under the hand ($moved pixels changed)"

xdotool mouseup 1
sleep 0.6
shoot "$E2E_TMP/released.png" "$dx" "$dy" 376 346
(($(img changed "$E2E_TMP/nudged.png" "$E2E_TMP/released.png") > 0)) || fail "the flight did not go on after the release"

close_and_expect_exit "$main_pid" "held kite"
echo "e2e_heldkite: passed"
