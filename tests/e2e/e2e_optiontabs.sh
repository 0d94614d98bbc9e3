#!/usr/bin/env bash
# In both format dialogs, once an option is selected without the focus going to
# it (as a screen reader's or a switch user's "Toggle" does), Tab comes back into
# its frame at that option, not at the one selected before.
# Usage: e2e_optiontabs.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

start_x 1024x768x24
start_accessibility_bus
start_program "$program"
main_pid=$E2E_LAST_PID
expect_main_window "format dialogs"
main=$(wait_window Aelorin 5)

# shortcut | dialog caption | an option it does not select on opening
cases=("ctrl+t|タイトルの書式|赤" "ctrl+s|説明文の書式|１０")
for case in "${cases[@]}"; do
  IFS='|' read -r keys caption option <<<"$case"
  press_in "$main" "$keys"
  dialog=$(wait_window "$caption" 10) || fail "$keys opened no window $caption"
  xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  landed=$(/usr/bin/python3 - "$caption" "$option" <<'PY'
import subprocess, sys, time
import pyatspi

caption, option = sys.argv[1], sys.argv[2]

def nodes(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from nodes(child)

def dialog():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "Aelorin":
            for j in range(app.childCount):
                if app.getChildAtIndex(j).name == caption:
                    return app.getChildAtIndex(j)
    sys.exit(f"no {caption} on the accessibility bus")

def focused(root):
    return next((n for n in nodes(root) if n.getState().contains(pyatspi.STATE_FOCUSED)), None)

root = dialog()
target = next(n for n in nodes(root) if n.getRoleName() == "radio button" and n.name == option)
if target.getState().contains(pyatspi.STATE_CHECKED):
    sys.exit(f"{option} is already selected on opening: the case shows nothing")
action = target.queryAction()
action.doAction([action.getName(i) for i in range(action.nActions)].index("Toggle"))
time.sleep(0.3)
if not target.getState().contains(pyatspi.STATE_CHECKED):
    sys.exit(f"Toggle did not select {option}")
frame = target.parent.name

# Tab round until the focus, having been outside the frame, comes back into it.
left = False
for _ in range(30):
    subprocess.run(["xdotool", "key", "Tab"], check=True)
    time.sleep(0.15)
    at = focused(root)
    inside = at is not None and at.parent is not None and at.parent.name == frame
    if left and inside:
        print(at.name)
        sys.exit(0)
    left = left or not inside
print("(never)")
PY
) || fail "$caption: the dialog could not be driven over the accessibility bus"
  [[ "$landed" == "$option" ]] || fail "$caption: after $option was selected, Tab came back to $landed"
  wmctrl -i -c "$dialog"
done

close_and_expect_exit "$main_pid" "format dialogs"
echo "e2e_optiontabs: passed"
