#!/usr/bin/env bash
# A 120-dpi desktop, set up as such desktops are (the X resource Xft.dpi): the
# window keeps its 630 x 370 client area in screen pixels, and the texts are
# drawn at the sizes the resolution calls for: the title at 20 points, the
# rescaled controls at 7, the interval entry at its default 9. Each text's
# width on a screenshot is compared with the same text rendered apart, by
# ImageMagick, at 120 dpi in the same face.
# Usage: e2e_dpi120.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

start_x 1280x1024x24
echo "Xft.dpi: 120" | xrdb -merge
xrdb -query | grep -q "^Xft.dpi:\s*120$" || fail "the X resource Xft.dpi did not take"
start_program "$program"
id=$(wait_window Aelorin 30) || fail "no window on a 120-dpi desktop"
read -r x y w h < <(placed_geometry "$id")
[[ "$w" == 630 ]] || fail "client width $w on a 120-dpi desktop, expected 630"
menu=$((h - 370))
((menu > 0 && menu < 60)) || fail "client height $h does not hold 370 below a menu bar"
xdotool mousemove 0 0
# Ink sizes "WxH" of three texts right of the display: the blue title, the
# white status text in its black box, and the digits of the widest-filled
# white entry (the interval's " 100" beside the steps' " 1"). A slow first
# paint is given a few more looks.
measure() {
  python3 - "$E2E_DIR" "$1" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import img
from collections import Counter
w, h, rows = img.load(sys.argv[2])
bg = Counter(rows[y][x] for y in range(h) for x in range(w)).most_common(1)[0][0]
# The display: the columns that are picture from top to bottom nearly all the way.
cols = [x for x in range(w) if sum(1 for y in range(h) if rows[y][x] != bg) > 0.8 * h]
right = max(cols) + 1 if cols else 0
def bbox(pred, x0=right, x1=w, y0=0, y1=h):
    xs = []; ys = []
    for y in range(y0, y1):
        for x in range(x0, x1):
            if pred(rows[y][x]):
                xs.append(x); ys.append(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs), max(ys)
def runs(pred, minlen):
    """Rows holding a run of at least minlen pixels matching pred: {y: (x0, x1)}."""
    out = {}
    for y in range(h):
        x = right
        while x < w:
            if pred(rows[y][x]):
                s = x
                while x < w and pred(rows[y][x]):
                    x += 1
                if x - s >= minlen:
                    out.setdefault(y, []).append((s, x))
            else:
                x += 1
    return out
def size(b):
    return f"{b[2] - b[0] + 1}x{b[3] - b[1] + 1}" if b else "none"
title = bbox(lambda c: c[2] > 200 and c[0] < 100 and c[1] < 100)
black = runs(lambda c: c == (0, 0, 0), 40)
ys = sorted(black)
status = None
if ys:
    x0, x1 = black[ys[0]][0]
    status = bbox(lambda c: min(c) > 128, x0, x1, ys[0], ys[-1] + 1)
# White fields: rows with a long white run, merged where they touch; in the
# field whose ink is widest, that ink.
white = runs(lambda c: c == (255, 255, 255), 20)
groups = []
for y in sorted(white):
    for s0, s1 in white[y]:
        for g in groups:
            if y - g[3] <= 2 and s0 < g[2] and s1 > g[0]:
                g[0], g[2], g[3] = min(g[0], s0), max(g[2], s1), y
                break
        else:
            groups.append([s0, y, s1, y])
best = None
for x0, y0, x1, y1 in groups:
    if y1 - y0 < 8:
        continue
    b = bbox(lambda c: sum(c) < 3 * 128, x0, x1, y0, y1 + 1)
    if b and (best is None or b[2] - b[0] > best[2] - best[0]):
        best = b
print(size(title), size(status), size(best))
PY
}
# A slow first paint is given more looks, for up to 15 s.
for _ in $(seq 1 15); do
  sleep 1
  shoot "$E2E_TMP/client.png" "$x" "$y" "$w" "$h"
  read -r title status entry < <(measure "$E2E_TMP/client.png")
  [[ "$title $status $entry" != *none* ]] && break
done
echo "seen: title $title, status $status, interval entry $entry"

# Ink width of a text rendered at 120 dpi in the proportional Gothic.
reference_width() {
  convert -density 120 -font IPAPGothic -pointsize "$1" "label:$2" -trim +repage -format %w info:
}
checks=("title|$title|20|Aelorin|4"
        "status text|$status|7|作動中|4"
        "interval entry|$entry|9|100|3")
for check in "${checks[@]}"; do
  IFS='|' read -r what seen points text tolerance <<<"$check"
  want=$(reference_width "$points" "$text")
  got=${seen%x*}
  ((got >= want - tolerance && got <= want + tolerance)) \
    || fail "$what is $got px wide, $text at $points points is $want px at 120 dpi"
done
echo "e2e_dpi120: passed"
