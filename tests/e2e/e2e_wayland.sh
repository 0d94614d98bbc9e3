#!/usr/bin/env bash
# On a Wayland desktop (a headless compositor): with XWayland there, the program
# opens its window on XWayland's X server, where it can be centred and its frame
# read, even though the session says Wayland; without it, it starts on Wayland
# itself, and a second copy is refused there too.
# Usage: e2e_wayland.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy XDG_SESSION_TYPE=wayland
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM DISPLAY

# Starts a headless compositor on a socket of its own; with "xwayland", also
# its X server, whose display is then in DISPLAY.
start_weston() {
  local name=aelorin-$1 log=$E2E_TMP/weston-$1.log _
  weston --backend=headless-backend.so --socket="$name" --idle-time=0 ${2:+--xwayland} >"$log" 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 1 100); do
    [[ -S "$XDG_RUNTIME_DIR/$name" ]] && break
    sleep 0.05
  done
  [[ -S "$XDG_RUNTIME_DIR/$name" ]] || fail "the compositor did not start: $(tail -n1 "$log")"
  export WAYLAND_DISPLAY=$name
  unset DISPLAY
  if [[ -n "${2:-}" ]]; then
    for _ in $(seq 1 100); do
      grep -q 'listening on display' "$log" && break
      sleep 0.05
    done
    DISPLAY=:$(grep -o 'listening on display :[0-9]*' "$log" | grep -o '[0-9]*$') || fail "no XWayland"
    export DISPLAY
  fi
}

# XWayland there: the main window is an X11 window on its display.
start_weston x xwayland
start_program "$program"
pid=$E2E_LAST_PID
found=""
for _ in $(seq 1 150); do
  found=$(xwininfo -root -tree 2>/dev/null | grep -E '"Aelorin": \("aelorin"' || true)
  [[ -n "$found" ]] && break
  kill -0 "$pid" 2>/dev/null || fail "with XWayland: the program ended ($(head -n2 "$E2E_TMP/program.$E2E_STARTS.log"))"
  sleep 0.1
done
[[ -n "$found" ]] || fail "with XWayland: no X11 window on $DISPLAY; the program runs on Wayland itself"
echo "with XWayland: $(echo "$found" | xargs)"
kill "$pid"

# Wayland alone: the program starts there; of two copies started back to back,
# one shows the main window and the other only the refusal, read over the
# accessibility bus. Either may be the one that reaches the claim first.
start_weston w
start_accessibility_bus
start_program "$program"
first=$E2E_LAST_PID
start_program "$program"
second=$E2E_LAST_PID
/usr/bin/python3 - "$first" "$second" <<'PY' || fail "Wayland alone: $(tail -n2 "$E2E_TMP"/program.*.log)"
import sys, time
import pyatspi

copies = (int(sys.argv[1]), int(sys.argv[2]))

def texts(node, depth=0):
    if node is None or depth > 30:
        return []
    out = [(node.getRoleName(), node.name)]
    for i in range(node.childCount):
        out += texts(node.getChildAtIndex(i), depth + 1)
    return out

def shows_main_window(seen):
    return any(r == "frame" and n == "Aelorin" for r, n in seen)

def refuses(seen):
    return any("二重起動" in n for _, n in seen)

seen = {}
for _ in range(300):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() in copies:
            seen[app.get_process_id()] = texts(app)
    winners = [p for p in copies if shows_main_window(seen.get(p, []))]
    refused = [p for p in copies if refuses(seen.get(p, []))]
    if len(winners) > 1 or set(winners) & set(refused):
        break
    if winners and refused:
        print(f"Wayland alone: copy {winners[0]} shows the main window, copy {refused[0]} the refusal")
        sys.exit(0)
    time.sleep(0.1)
print(f"one main window and one refusal expected; what the bus shows: {seen}", file=sys.stderr)
sys.exit(1)
PY
echo "e2e_wayland: passed"
