#!/usr/bin/env bash
# Every frame of every window, as drawn on screen, has its caption on its top
# line (the line broken only behind the caption's text), and no control inside
# crosses any of its four edges: a frame is found on the screenshot as two
# unbroken sides of one colour joined by an unbroken bottom line.
# Usage: e2e_frames.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

# Prints the number of frames found, then one line per fault.
frames_in() {
  python3 - "$E2E_DIR" "$1" <<'PY'
import sys
from collections import Counter
sys.path.insert(0, sys.argv[1])
import img
w, h, rows = img.load(sys.argv[2])
bg = Counter(c for r in rows for c in r).most_common(1)[0][0]
MIN = 40
# Vertical runs of one colour other than the background, as long as a frame's side.
runs = {}
for x in range(w):
    y = 0
    while y < h:
        c = rows[y][x]
        s = y
        while y < h and rows[y][x] == c:
            y += 1
        if c != bg and y - s >= MIN:
            runs.setdefault((s, y - 1, c), []).append(x)
frames = []
for (y0, y1, c), xs in runs.items():
    xs.sort()
    used = set()
    for i, left in enumerate(xs):
        if left in used:
            continue
        for right in xs[i + 1:]:
            if right - left >= MIN and right not in used and all(rows[y1][x] == c for x in range(left, right + 1)):
                frames.append((left, y0, right, y1, c))
                used.update((left, right))
                break
problems = []
for left, top, right, bottom, c in frames:
    gaps = []
    x = left
    while x <= right:
        if rows[top][x] != c:
            s = x
            while x <= right and rows[top][x] != c:
                x += 1
            gaps.append((s, x - 1))
        else:
            x += 1
    where = f"frame {left},{top}-{right},{bottom}"
    if len(gaps) != 1:
        problems.append(f"{where}: its top line is broken {len(gaps)} times, not once by its caption")
        continue
    g0, g1 = gaps[0]
    def ink(ys):
        return sum(1 for y in ys if 0 <= y < h for x in range(g0, g1 + 1) if rows[y][x] != bg)
    above, below = ink(range(top - 10, top)), ink(range(top + 1, top + 11))
    if not (above and below):
        problems.append(f"{where}: the caption in the gap {g0}-{g1} does not sit on the line")
print(len(frames))
for p in problems:
    print(p)
PY
}

start_x 1024x768x24
start_program "$program"
main=$(wait_window Aelorin 30) || fail "no main window"
# Caption, the keys that open it from the main window, frames a person sees.
windows=("Aelorin||1" "タイトルの書式|ctrl+t|3" "説明文の書式|ctrl+s|3")
for entry in "${windows[@]}"; do
  IFS='|' read -r caption keys count <<<"$entry"
  [[ -n "$keys" ]] && press_in "$main" "$keys"
  id=$(wait_window "$caption" 10) || fail "$caption: the window did not open"
  xdotool mousemove 0 0
  # A slow first paint is given more looks, for up to 15 s.
  for _ in $(seq 1 30); do
    sleep 0.5
    read -r x y w h < <(window_geometry "$id")
    shoot "$E2E_TMP/shot.png" "$x" "$y" "$w" "$h"
    mapfile -t found < <(frames_in "$E2E_TMP/shot.png")
    ((${#found[@]} == 1 && found[0] == count)) && break
  done
  ((${#found[@]} == 1)) || fail "$caption: ${found[1]}"
  ((found[0] == count)) || fail "$caption: $count frames drawn whole expected, ${found[0]} found"
done
echo "e2e_frames: passed"
