#!/usr/bin/env bash
# What the display shows is always one whole composed frame, background and kite,
# and nothing of the frames before it: after the window was covered and uncovered
# in flight, frame by frame as the arrow keys push the kite across each edge, and
# after a flight at 1 ms, faster than the screen refreshes, was stopped; then it
# is the last frame the flight composed, one step behind the kite, as a key that
# moves nothing shows.
# At a desktop resolution of 96 dpi (each frame pixel one screen pixel) and of
# 192 dpi (each a sharp 2 x 2 block). The expected frames are composed here from
# the program's own pictures.
# Usage: e2e_displayframes.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
images=$(dirname "$program")/images
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

# desktop dpi and the scale it gives
desktops=("96 1" "192 2")
# keys pressed one after the other, and where that leaves the kite's cell. A key
# moves the kite only from inside its limit, so a run ends up to 14 pixels
# beyond it, and presses past that move nothing: each run has enough presses to
# cross the display from wherever the flight stopped (at most 364 pixels, 25
# steps of 15). At the left and top edges a kite whose place is a multiple of 5
# ends on the edge itself. Three small steps always bring it back inside.
moves=(
  "shift+Right 26|x > 346|across the right edge"
  "shift+Down 26|y > 286|across the bottom edge"
  "shift+Left 26|x <= 0|at or across the left edge"
  "shift+Up 26|y <= 0|at or across the top edge"
  "Right 3 Down 3|x > 0 && y > 0|back inside by small steps"
)

start_x 1600x1000x24

# Checks the display shows one composed frame; sets kx, ky.
check_frame() {
  local what=$1 found
  xdotool mousemove 0 0
  shoot_settled "$E2E_TMP/shot.png" "$dx" "$dy" $((376 * s)) $((346 * s))
  found=$(img find-kite "$E2E_TMP/shot.png" "$images/back.bmp" "$images/kite.bmp" "$s" 2>&1) \
    || fail "at $dpi dpi, $what: $found"
  read -r kx ky kframe <<<"$found"
  echo "$dpi dpi, $what: kite at $kx, $ky"
}

for desktop in "${desktops[@]}"; do
  read -r dpi s <<<"$desktop"
  echo "Xft.dpi: $dpi" | xrdb -merge
  start_program "$program"
  pid=$E2E_LAST_PID
  id=$(wait_window Aelorin 30) || fail "no window at $dpi dpi"
  read -r x y w h < <(placed_geometry "$id")
  ((w == 630 * s)) || fail "client width $w at $dpi dpi, expected $((630 * s))"
  # Frames travel over the socket: no memory shared with the X server, whose
  # every paint would first wait for the server to be done with the last one.
  ! grep -E ' rw.s ' "/proc/$pid/maps" || fail "at $dpi dpi, the program shares memory with the X server"
  menu=$((h - 370 * s))
  dx=$((x + 12 * s)); dy=$((y + menu + 12 * s))

  # In flight, another window covers the display for a while and goes away.
  sleep 1
  xmessage -geometry $((300 * s))x$((300 * s))+$((dx + 20 * s))+$((dy + 20 * s)) cover 2>/dev/null &
  cover=$!
  E2E_PIDS+=("$cover")
  wait_window xmessage 10 >/dev/null || fail "the covering window did not appear"
  sleep 1
  kill "$cover"
  wait "$cover" 2>/dev/null || true
  sleep 0.5
  xdotool mousemove --sync $((x + (530 + 35) * s)) $((y + menu + (135 + 15) * s)) click 1
  check_frame "covered and uncovered in flight, then stopped"

  # A click on the display away from the kite gives it the keys.
  if ((ky > 173)); then cy=20; else cy=320; fi
  xdotool mousemove --sync $((dx + 188 * s)) $((dy + cy * s)) click 1
  for move in "${moves[@]}"; do
    IFS='|' read -r keys where what <<<"$move"
    read -ra keyrun <<<"$keys"
    presses=()
    for ((i = 0; i < ${#keyrun[@]}; i += 2)); do
      for ((n = 0; n < keyrun[i + 1]; n++)); do presses+=("${keyrun[i]}"); done
    done
    press_in "$id" "${presses[@]}"
    check_frame "$keys"
    (( $(awk -v x="$kx" -v y="$ky" "BEGIN {print ($where) ? 1 : 0}") )) \
      || fail "at $dpi dpi, $keys left the kite at $kx, $ky, not $what"
  done

  # The flight again at 1 ms, faster than the screen refreshes, then stopped:
  # the display shows the last frame the flight composed. Shift alone then
  # moves nothing and shows the kite where the last tick left it, one step of
  # (1, 1) and one sprite frame on.
  xdotool mousemove --sync $((x + (400 + 110 + 30) * s)) $((y + menu + (170 + 110 + 10) * s)) click 1
  xdotool key --clearmodifiers ctrl+a type 1
  xdotool mousemove --sync $((x + (400 + 80 + 25) * s)) $((y + menu + (170 + 150 + 15) * s)) click 1
  xdotool mousemove --sync $((x + (530 + 35) * s)) $((y + menu + (135 + 15) * s)) click 1
  sleep 1
  xdotool click 1
  check_frame "stopped at 1 ms"
  read -r stopx stopy stopframe <<<"$kx $ky $kframe"
  if ((ky > 173)); then cy=20; else cy=320; fi
  xdotool mousemove --sync $((dx + 188 * s)) $((dy + cy * s)) click 1
  press_in "$id" shift
  check_frame "Shift after the stop at 1 ms"
  dxk=$((kx - stopx)); dyk=$((ky - stopy))
  ((${dxk#-} == 1 && ${dyk#-} == 1 && kframe == stopframe % 6 + 1)) \
    || fail "at $dpi dpi, the stop showed frame $stopframe at $stopx, $stopy, not the one before frame $kframe at $kx, $ky"

  close_and_expect_exit "$pid" "at $dpi dpi"
done
echo "e2e_displayframes: passed"
