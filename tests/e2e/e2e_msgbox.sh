#!/usr/bin/env bash
# The real message boxes under a real window manager: the interval box asks Yes
# or No and has no cancel, so Esc and a close request leave it waiting for an
# answer; a box with only OK closes on either and goes on as OK.
# Usage: e2e_msgbox.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy
interval_box=「間隔」入力エラー
horiz_box=「左右方向」入力エラー

start_x 1024x768x24
start_program "$program"
pid=$E2E_LAST_PID
main=$(wait_window Aelorin 30) || fail "no main window"

# The keyboard way from the display (focus at start): back to the interval
# entry, type, back to OK and press it.
press_in "$main" shift+Tab ctrl+a 5 0 0 0 shift+Tab space
box=$(wait_window "$interval_box" 10) || fail "no interval box after OK with 5000"

# Ways out that are not an answer: each must leave the box up, unanswered.
refusals=("xdotool key --clearmodifiers Escape"
          "wmctrl -i -c $box"
          "xdotool key --clearmodifiers alt+F4")
for refusal in "${refusals[@]}"; do
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  sleep 0.2
  $refusal
  sleep 1
  kill -0 "$pid" 2>/dev/null || fail "'$refusal' on the Yes/No box ended the program"
  (($(count_windows 怒) == 0)) || fail "'$refusal' on the Yes/No box was taken as No"
  (($(count_windows "$interval_box") == 1)) || fail "'$refusal' closed the Yes/No box"
done

# Yes: the box goes, the program goes on.
press_in "$box" Return
for _ in $(seq 1 50); do
  (($(count_windows "$interval_box") == 0)) && break
  sleep 0.2
done
(($(count_windows "$interval_box") == 0)) || fail "Yes did not close the interval box"
kill -0 "$pid" 2>/dev/null || fail "Yes ended the program"

# Now a bad horizontal step too: its OK-only box comes first and closes on a
# close request, then the interval box asks again, and No brings the angry box.
press_in "$main" shift+Tab shift+Tab ctrl+a 9 9 Tab Tab space
hbox=$(wait_window "$horiz_box" 10) || fail "no horizontal step box after OK with 99"
wmctrl -i -c "$hbox"
box=$(wait_window "$interval_box" 10) || fail "the close request did not end the OK-only box"
press_in "$box" n
angry=$(wait_window 怒 10) || fail "No on the interval box did not bring the 怒 box"
kill -0 "$pid" 2>/dev/null || fail "the program ended before the 怒 box was answered"
press_in "$angry" Escape
wait_exit "$pid" 10 || fail "Esc on the OK-only 怒 box did not answer it"
[[ "$E2E_STATUS" == 0 ]] || fail "the forced exit ended with status $E2E_STATUS"
echo "e2e_msgbox: passed"
