#!/usr/bin/env bash
# The real program in a real X server: its window appears with its caption and
# size, the kite moves, a second copy is refused, and a close request ends it.
# Usage: e2e_startup.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

start_x 1024x768x24
start_program "$program"
main_pid=$E2E_LAST_PID
id=$(wait_window Aelorin 30) || fail "no window captioned Aelorin"
[[ "$(xdotool getwindowname "$id")" == "Aelorin" ]] || fail "caption is not exactly Aelorin"

read -r x y w h < <(placed_geometry "$id")
[[ "$w" == 630 ]] || fail "client width $w, expected 630"
menu=$((h - 370))
((menu > 0 && menu < 60)) || fail "client height $h leaves no room for a menu bar above 370"

# The display's drawing area: inside the 2-pixel border of the box at (10, 10).
# Its first frame shows the kite somewhere on the background; a later one
# differs from it.
dx=$((x + 12)); dy=$((y + menu + 12))
display_background "$program" "$E2E_TMP/back.png"
for _ in $(seq 1 150); do
  shoot "$E2E_TMP/a.png" "$dx" "$dy" 376 346
  read -r x0 y0 x1 y1 < <(img changed-box "$E2E_TMP/back.png" "$E2E_TMP/a.png")
  [[ "$x0" != none ]] && ((x1 - x0 < 30 && y1 - y0 < 60)) && break
  sleep 0.1
done
for _ in $(seq 1 150); do
  sleep 0.1
  shoot "$E2E_TMP/b.png" "$dx" "$dy" 376 346
  moved=$(img changed "$E2E_TMP/a.png" "$E2E_TMP/b.png")
  ((moved > 50)) && break
done
((moved > 50)) || fail "the display did not change for 15 s ($moved pixels)"
box=$(img changed-box "$E2E_TMP/a.png" "$E2E_TMP/b.png")
read -r x0 y0 x1 y1 <<<"$box"
# Only the kite's neighbourhood changes: a small region, not the whole display.
((x1 - x0 < 80 && y1 - y0 < 130)) || fail "the change ($box) is larger than a moving kite"

# A second copy shows only the warning and ends; the first goes on.
start_program "$program"
second_pid=$E2E_LAST_PID
warn=$(wait_window 警告 20) || fail "the second copy showed no warning"
press_in "$warn" Return
wait_exit "$second_pid" 10 || fail "the refused copy did not end"
[[ "$E2E_STATUS" == 0 ]] || fail "the refused copy ended with status $E2E_STATUS"
n=$(count_windows Aelorin)
((n == 1)) || fail "expected exactly one Aelorin window, found $n"
kill -0 "$main_pid" || fail "the first copy ended"

# A close request runs the closing sequence and the program ends.
wmctrl -c Aelorin
wait_exit "$main_pid" 15 || fail "the program did not end after the close request"
[[ "$E2E_STATUS" == 0 ]] || fail "the program ended with status $E2E_STATUS"

# The next start after a crash is not blocked.
expect_no_window Aelorin "the closed copy's window stayed"
start_program "$program"
crash_pid=$E2E_LAST_PID
expect_main_window "restart"
kill -9 "$crash_pid"
wait_exit "$crash_pid" 5 || true
expect_no_window Aelorin "the killed copy's window stayed"
start_program "$program"
expect_main_window "the start after a crash"

echo "e2e_startup: passed"
