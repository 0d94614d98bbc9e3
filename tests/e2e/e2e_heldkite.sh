#!/usr/bin/env bash
# While the flight runs, a kite held down with the mouse stays under the hand,
# an arrow key pressed meanwhile included; the release lets it fly on. Each step
# waits for what it expects to show, so a slow machine only makes it slower.
# Usage: e2e_heldkite.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

display_background "$program" "$E2E_TMP/back.png"

start_x 1024x768x24
start_program "$program"
main_pid=$E2E_LAST_PID
id=$(wait_window Aelorin 30) || fail "no window captioned Aelorin"
read -r dx dy < <(display_origin "$id")

# The display's region, grabbed.
area() { shoot "$1" "$dx" "$dy" 376 346; }
# Waits until the display holds still for a whole second, ten ticks of the
# flight, and keeps that picture; fails (returns 1) after the given seconds.
wait_still() {
  local out=$1 seconds=$2 i
  area "$out"
  for i in $(seq 1 "$seconds"); do
    sleep 1
    area "$out.next.png"
    (($(img changed "$out" "$out.next.png") == 0)) && return 0
    mv "$out.next.png" "$out"
  done
  return 1
}
# Waits (up to 15 s) until the display differs from a picture; fails otherwise.
wait_changed() {
  local from=$1 out=$2 what=$3 i
  for i in $(seq 1 75); do
    area "$out"
    (($(img changed "$from" "$out") > 0)) && return 0
    sleep 0.2
  done
  fail "$what"
}

# Catch the flying kite in the middle of where it was last seen, once it is seen
# (a display not yet drawn shows no kite). On a slow machine it may have flown
# from under the pointer by then: let go and try again.
caught=0
for attempt in $(seq 1 10); do
  area "$E2E_TMP/flying.png"
  read -r x0 y0 x1 y1 < <(img changed-box "$E2E_TMP/back.png" "$E2E_TMP/flying.png")
  if [[ "$x0" == none ]] || ((x1 - x0 >= 30 || y1 - y0 >= 60)); then
    sleep 0.5
    continue
  fi
  xdotool mousemove --sync $((dx + (x0 + x1) / 2)) $((dy + (y0 + y1) / 2)) mousedown 1
  wait_still "$E2E_TMP/held.png" 3 && { caught=1; break; }
  xdotool mouseup 1
done
((caught)) || fail "the press did not take hold of the kite ($attempt tries)"

# Straight to the display, which the press gave the focus; clearing modifiers
# first would also let go of the button.
xdotool key Right
wait_changed "$E2E_TMP/held.png" "$E2E_TMP/nudged.png" "Right did not move the held kite"
wait_still "$E2E_TMP/nudged.png" 15 || fail "after an arrow key the held kite flew on under the hand"

xdotool mouseup 1
wait_changed "$E2E_TMP/nudged.png" "$E2E_TMP/released.png" "the flight did not go on after the release"

close_and_expect_exit "$main_pid" "held kite"
echo "e2e_heldkite: passed"
