#!/usr/bin/env bash
# Under a window manager the window's outer frame (border and caption
# included) is centred on the screen within one pixel, on screens of several
# sizes and desktop resolutions (the window manager's frame is in screen
# pixels; the window's own sizes grow with the resolution).
# Usage: e2e_centred.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

# screen, desktop dpi
screens=(
  "1280x1024 96"
  "1024x768 96"
  "1600x1000 192"
)
for row in "${screens[@]}"; do
  read -r screen dpi <<<"$row"
  start_x "${screen}x24"
  echo "Xft.dpi: $dpi" | xrdb -merge
  start_program "$program"
  pid=$E2E_LAST_PID
  id=$(wait_window Aelorin 30) || fail "$screen at $dpi dpi: no window"
  extents=""
  for _ in $(seq 1 50); do
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | grep -o '[0-9].*' || true)
    [[ -n "$extents" ]] && break
    sleep 0.1
  done
  [[ -n "$extents" ]] || fail "$screen at $dpi dpi: the window manager published no frame"
  IFS=', ' read -r left right top bottom <<<"$extents"
  sw=${screen%x*}; sh=${screen#*x}
  # The window may still be on its way to its place: look again, for up to 20 s.
  for _ in $(seq 1 100); do
    read -r x y w h < <(window_geometry "$id")
    outer_x=$((x - left)); outer_y=$((y - top))
    outer_w=$((w + left + right)); outer_h=$((h + top + bottom))
    dx=$((2 * outer_x + outer_w - sw)); dy=$((2 * outer_y + outer_h - sh))
    ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2)) && break
    sleep 0.2
  done
  # ...and it stays there.
  sleep 1
  read -r x2 y2 _ _ < <(window_geometry "$id")
  [[ "$x2 $y2" == "$x $y" ]] || fail "$screen at $dpi dpi: the window moved on from $x,$y to $x2,$y2"
  echo "$screen at $dpi dpi: outer frame ${outer_w}x${outer_h} at $outer_x,$outer_y"
  ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2)) \
    || fail "$screen at $dpi dpi: outer frame at $outer_x,$outer_y is not centred (${outer_w}x${outer_h})"
  close_and_expect_exit "$pid" "$screen at $dpi dpi"
  for p in "${E2E_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  E2E_PIDS=()
  wait 2>/dev/null || true
done
echo "e2e_centred: passed"
