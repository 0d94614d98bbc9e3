#!/usr/bin/env bash
# Through the accessibility bus, as a screen reader hears it: each entry of the
# motion panel, and the editor inside each combo box, is named by the caption
# written beside it, not by the number it holds.
# Usage: e2e_screenreader.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

start_x 1024x768x24
start_accessibility_bus
start_program "$program"
expect_main_window "with the accessibility bus"

# Every node of the program's tree as "role<TAB>name<TAB>parent's name".
/usr/bin/python3 - >"$E2E_TMP/tree.txt" <<'PY' || fail "the program's tree could not be read from the bus"
import sys, time
import pyatspi

def walk(node, parent, depth=0):
    if depth > 30:
        return
    print(f"{node.getRoleName()}\t{node.name}\t{parent}")
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, node.name, depth + 1)

for _ in range(100):
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
    apps = [a for a in apps if a is not None and a.name == "Aelorin"]
    if apps and apps[0].childCount:
        walk(apps[0], "")
        sys.exit(0)
    time.sleep(0.1)
sys.exit(1)
PY

# What a reader announces for each entry, and for what it finds inside it. The
# entries still hold their numbers, so a name equal to a number gives the
# fault away.
entries=("combo box|左右方向" "combo box|上下方向" "text|間隔")
for entry in "${entries[@]}"; do
  role=${entry%%|*} label=${entry#*|}
  grep -qP "^\Q$role\E\t\Q$label\E\t" "$E2E_TMP/tree.txt" \
    || fail "no $role named $label; the panel reads: $(grep -P '^(combo box|text)\t' "$E2E_TMP/tree.txt" | cut -f1,2 | tr '\t\n' ': ')"
done
for label in 左右方向 上下方向; do
  grep -qP "^text\t\Q$label\E\t\Q$label\E$" "$E2E_TMP/tree.txt" \
    || fail "the editor inside the combo box $label has no name $label"
done

close_and_expect_exit "$E2E_LAST_PID" "with the accessibility bus"
echo "e2e_screenreader: passed"
