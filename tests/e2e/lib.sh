# Shared helpers for the end-to-end tests: a private X server with a light window
# manager, the real program started in it, and ways to look at what it shows.
# Source it from a test script; it cleans up after itself on exit.

set -euo pipefail

E2E_TMP=$(mktemp -d /tmp/aelorin-e2e.XXXXXX)

# Debian's own interpreter, which has the accessibility bindings: a python3
# found earlier on the PATH (a version manager's shim) can take over a second
# to start on a busy machine, and the tests start it often.
python3() {
  /usr/bin/python3 "$@"
}
E2E_PIDS=()

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    kill -9 "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts Xvfb on a free display (it picks one and tells us), then openbox.
start_x() {
  local size=${1:-1024x768x24}
  exec 7>"$E2E_TMP/display"
  Xvfb -displayfd 7 -screen 0 "$size" -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  local i
  for i in $(seq 1 100); do
    [[ -s "$E2E_TMP/display" ]] && break
    sleep 0.05
  done
  [[ -s "$E2E_TMP/display" ]] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  export QT_QPA_PLATFORM=xcb
  if [[ "${E2E_NO_WM:-0}" != 1 ]]; then
    # On a busy machine openbox now and then fails to open the fresh display and
    # ends at once, while later clients connect; a test must not go on without
    # its window manager, so it is started again and its absence is a failure.
    local starts=0 wm=""
    for i in $(seq 1 200); do
      if [[ -z "$wm" ]] || ! kill -0 "$wm" 2>/dev/null; then
        ((starts++ < 3)) || break
        openbox >"$E2E_TMP/openbox.log" 2>&1 &
        wm=$!
        E2E_PIDS+=("$wm")
      fi
      wmctrl -m >/dev/null 2>&1 && return 0
      sleep 0.05
    done
    fail "the window manager did not start: $(head -n1 "$E2E_TMP/openbox.log")"
  fi
}

# Starts a program in the background; its pid is in E2E_LAST_PID.
E2E_STARTS=0
start_program() {
  E2E_STARTS=$((E2E_STARTS + 1))
  "$@" >"$E2E_TMP/program.$E2E_STARTS.log" 2>&1 &
  E2E_LAST_PID=$!
  E2E_PIDS+=("$E2E_LAST_PID")
}

# Waits until a window with exactly this caption is mapped; prints its id.
wait_window() {
  local caption=$1 timeout=${2:-20} i id
  for i in $(seq 1 $((timeout * 10))); do
    id=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n1 || true)
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# How many visible windows carry exactly this caption, once two complete looks
# 0.1 s apart agree. xdotool walks the whole window tree; a window destroyed
# during the walk (the window manager tears down a closed box's frame a moment
# after its program has ended) makes it die of an X error having listed nothing,
# which must not read as "no such window". Prints nothing and fails when the
# screen never settles.
count_windows() {
  local caption=$1 i out err status last=""
  for i in $(seq 1 100); do
    status=0
    out=$(xdotool search --onlyvisible --name "^${caption}\$" 2>"$E2E_TMP/xdotool.err") || status=$?
    if [[ -s "$E2E_TMP/xdotool.err" ]] || ((status > 1)); then
      last=""  # an interrupted walk: look again
    else
      # Status 1 with nothing on stderr is a complete walk that found nothing.
      out=$(grep -c . <<<"$out" || true)
      [[ "$out" == "$last" ]] && { echo "$out"; return 0; }
      last=$out
    fi
    sleep 0.1
  done
  err=$(head -n1 "$E2E_TMP/xdotool.err")
  echo "FAIL: could not count the windows captioned $caption${err:+ ($err)}" >&2
  return 1
}

# Waits until no visible window carries this caption: an ended copy's window
# may stay a moment, and a new one must not be taken for it. Fails with the
# message given otherwise.
expect_no_window() {
  local caption=$1 what=$2 i
  for i in $(seq 1 50); do
    (($(count_windows "$caption") == 0)) && return 0
    sleep 0.1
  done
  fail "$what"
}

# Waits for a process started here to end and puts its exit status in
# E2E_STATUS; fails (returns 1) after the timeout. Not for use in $(...): only
# this shell can collect its own children.
wait_exit() {
  local pid=$1 timeout=${2:-20} i
  for i in $(seq 1 $((timeout * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      E2E_STATUS=0
      wait "$pid" || E2E_STATUS=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Absolute position of a window's client area: prints "X Y W H".
window_geometry() {
  local id=$1
  xwininfo -id "$id" | awk '
    /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF}
    END {print x, y, w, h}'
}

# The same for a main window once it has reached its place: the program centres
# it again when the window manager publishes its frame, which on a busy machine
# can come well after the window first appears. Waits (up to 30 s) until the
# outer frame is centred on the screen; a window that never gets there is
# e2e_centred's to fail on, so its place as it is then is printed, with a line
# on stderr that says so for whoever reads a later failure's log.
placed_geometry() {
  local id=$1 i extents left right top bottom x y w h sw sh dx dy
  read -r sw sh < <(xwininfo -root | awk '/Width:/ {w=$NF} /Height:/ {h=$NF} END {print w, h}')
  for i in $(seq 1 300); do
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -o '[0-9].*' || true)
    if [[ -n "$extents" ]]; then
      IFS=', ' read -r left right top bottom <<<"$extents"
      read -r x y w h < <(window_geometry "$id")
      dx=$((2 * (x - left) + w + left + right - sw)) dy=$((2 * (y - top) + h + top + bottom - sh))
      if ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2)); then
        echo "$x $y $w $h"
        return 0
      fi
    fi
    sleep 0.1
  done
  echo "note: window $id not centred after 30 s (frame extents '${extents:-none}')" >&2
  window_geometry "$id"
}

# The background as the display's drawing area (the 376 x 346 inside its
# border) shows it, written to a PNG: where a screenshot differs, the kite is.
display_background() {
  local program=$1 out=$2
  convert "$(dirname "$program")/images/back.bmp" -crop 376x346+0+0 +repage "$out"
}

# The screen position of the main window's drawing area, below the menu bar and
# inside the 2-pixel border of the display at (10, 10), once the window has
# reached its place: prints "X Y".
display_origin() {
  local x y w h
  read -r x y w h < <(placed_geometry "$1")
  echo "$((x + 12)) $((y + h - 370 + 12))"
}

# Grabs a region of the screen to a PNG.
shoot() {
  local out=$1 x=$2 y=$3 w=$4 h=$5
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
}

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
img() {
  python3 "$E2E_DIR/img.py" "$@"
}

# Gives a window the focus and types keys into it, as a person would.
press_in() {
  local id=$1
  shift
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  sleep 0.2
  xdotool key --clearmodifiers "$@"
}

# Grabs a region once it has stopped changing (two grabs 0.2 s apart agree), so
# a slow machine's late repaint is not mistaken for the result.
shoot_settled() {
  local out=$1 i
  shift
  shoot "$out" "$@"
  for i in $(seq 1 25); do
    sleep 0.2
    shoot "$out.next.png" "$@"
    if [[ "$(img changed "$out" "$out.next.png")" == 0 ]]; then
      return 0
    fi
    mv "$out.next.png" "$out"
  done
  return 0
}

# Lays a copy of the built program and its pictures and sounds into a directory.
copy_program() {
  local build=$1 dir=$2
  mkdir -p "$dir"
  cp "$build/aelorin" "$dir/"
  cp -r "$build/images" "$build/sounds" "$dir/"
}

# Waits for the main window (caption Aelorin, 630 px wide: not an error box with
# the same caption); fails with the message given otherwise.
expect_main_window() {
  local what=$1 id w
  id=$(wait_window Aelorin 30) || fail "$what: no window appeared"
  read -r _ _ w _ < <(window_geometry "$id")
  [[ "$w" == 630 ]] || fail "$what: the window that appeared is not the main window"
}

# Sends a close request to the main window and expects a prompt, clean end.
close_and_expect_exit() {
  local pid=$1 what=$2
  wmctrl -c Aelorin
  wait_exit "$pid" 15 || fail "$what: the program did not end after the close request"
  [[ "$E2E_STATUS" == 0 ]] || fail "$what: the program ended with status $E2E_STATUS"
}

# Starts a session bus and the accessibility bus on it, and has Qt programs
# started afterwards publish their widgets there, as a screen reader sees them.
# Read the tree with the Debian interpreter, /usr/bin/python3: pyatspi comes
# from its packages.
start_accessibility_bus() {
  local launcher bus _
  eval "$(dbus-launch --sh-syntax)"
  E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/atspi.log" 2>&1 &
  launcher=$!
  E2E_PIDS+=("$launcher")
  # The launcher's own bus outlives it unless it is ended too.
  for _ in $(seq 1 100); do
    bus=$(pgrep -P "$launcher" || true)
    [[ -n "$bus" ]] && break
    sleep 0.05
  done
  [[ -n "$bus" ]] || fail "the accessibility bus did not start"
  E2E_PIDS+=($bus)
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# Starts a private sound server on a null sink named nul (a desktop's sound
# server without a sound card), or again after it was killed; programs started
# afterwards find it through PULSE_SERVER. E2E_SOUND_SERVER says which:
#   pulse     PulseAudio, in its own runtime directory, with no session bus;
#             E2E_PULSE_PROTOCOL_ARGS go to its protocol module
#   pipewire  PipeWire with its PulseAudio interface, as Debian's desktops run
#             it, on a session bus of its own (its session manager needs one);
#             the sink is PipeWire's own, so it stays while the PulseAudio
#             interface is killed and started again.
# The process that speaks to the programs (pulseaudio, pipewire-pulse) is in
# E2E_PULSE_PID, all the server's processes in E2E_SOUND_PIDS.
start_pulse() {
  unset SDL_AUDIODRIVER AELORIN_SOUND
  case ${E2E_SOUND_SERVER:-pulse} in
    pulse) start_pulseaudio ;;
    pipewire) start_pipewire ;;
    *) fail "no such sound server: $E2E_SOUND_SERVER" ;;
  esac
  local i
  for i in $(seq 1 100); do
    # Up, and with its sink: a stream made before the sink would go nowhere.
    pactl list short sinks 2>/dev/null | grep -q $'\tnul\t' && return 0
    sleep 0.05
  done
  fail "the sound server did not start: $(tail -n1 "$E2E_TMP/pulse.log")"
}

start_pulseaudio() {
  local rt=$E2E_TMP/pulse
  mkdir -p "$rt/pulse"
  chmod 700 "$rt"
  XDG_RUNTIME_DIR=$rt HOME=$rt pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no \
    --disallow-exit=yes --disallow-module-loading=no \
    -L "module-null-sink sink_name=nul rate=44100" \
    -L "module-native-protocol-unix auth-anonymous=1 ${E2E_PULSE_PROTOCOL_ARGS:-} socket=$rt/pulse/native" \
    -L module-always-sink >>"$E2E_TMP/pulse.log" 2>&1 &
  E2E_PULSE_PID=$!
  E2E_PIDS+=("$E2E_PULSE_PID")
  E2E_SOUND_PIDS=("$E2E_PULSE_PID")
  export PULSE_SERVER=unix:$rt/pulse/native
}

E2E_PIPEWIRE_PIDS=()
start_pipewire() {
  local rt=$E2E_TMP/pipewire i
  local env=(XDG_RUNTIME_DIR="$rt" HOME="$rt" XDG_CONFIG_HOME="$rt/config" XDG_STATE_HOME="$rt/state")
  if ((${#E2E_PIPEWIRE_PIDS[@]} == 0)); then
    mkdir -p "$rt/config/pipewire/pipewire.conf.d"
    chmod 700 "$rt"
    cat >"$rt/config/pipewire/pipewire.conf.d/nul.conf" <<'CONF'
context.objects = [
  { factory = adapter
    args = { factory.name = support.null-audio-sink node.name = nul media.class = Audio/Sink
             audio.position = [ FL FR ] audio.rate = 44100 monitor.channel-volumes = true } }
]
CONF
    eval "$(dbus-launch --sh-syntax)"
    E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
    env "${env[@]}" pipewire >>"$E2E_TMP/pipewire.log" 2>&1 &
    E2E_PIPEWIRE_PIDS+=($!)
    for i in $(seq 1 100); do
      [[ -S "$rt/pipewire-0" ]] && break
      sleep 0.05
    done
    env "${env[@]}" wireplumber >>"$E2E_TMP/pipewire.log" 2>&1 &
    E2E_PIPEWIRE_PIDS+=($!)
    E2E_PIDS+=("${E2E_PIPEWIRE_PIDS[@]}")
  fi
  env "${env[@]}" pipewire-pulse >>"$E2E_TMP/pulse.log" 2>&1 &
  E2E_PULSE_PID=$!
  E2E_PIDS+=("$E2E_PULSE_PID")
  E2E_SOUND_PIDS=("${E2E_PIPEWIRE_PIDS[0]}" "$E2E_PULSE_PID")
  export PULSE_SERVER=unix:$rt/pulse/native
}

# Kills the sound server as a crash would (PipeWire's PulseAudio interface, the
# part the programs speak to).
kill_pulse() {
  kill -9 "$E2E_PULSE_PID"
  wait "$E2E_PULSE_PID" 2>/dev/null || true
}

# Records what the server plays, 44.1 kHz 16-bit stereo, into a file; the
# recorder's pid is in E2E_RECORDER_PID.
record_pulse() {
  parec --device=nul.monitor --raw --format=s16le --rate=44100 --channels=2 --latency-msec=10 >"$1" &
  E2E_RECORDER_PID=$!
  E2E_PIDS+=("$E2E_RECORDER_PID")
}

# The same, returning once the recording keeps time from this moment on. While
# nothing asks it for less, PulseAudio's null sink renders two seconds ahead,
# and a recorder that comes meanwhile hears nothing until they have passed;
# suspended and resumed, the sink starts again at once at the recorder's pace.
record_pulse_now() {
  local i
  record_pulse "$1"
  [[ ${E2E_SOUND_SERVER:-pulse} == pulse ]] || return 0
  for i in $(seq 1 100); do
    [[ -n "$(pactl list short source-outputs 2>/dev/null)" ]] && break
    sleep 0.05
  done
  pactl suspend-sink nul 1 && pactl suspend-sink nul 0
}

# Runs of sound and silence in raw 16-bit samples (mono at RATE, or stereo at
# 44.1 kHz), in milliseconds: "sound:1200 silence:850 ...". A run of silence is
# one of 5 ms or more with no sample beyond 64; shorter quiet belongs to the
# sound around it.
sound_runs_ms() {
  python3 - "$@" <<'PY'
import struct, sys, wave
path = sys.argv[1]
if path.endswith(".wav"):
    w = wave.open(path)
    rate, channels = w.getframerate(), w.getnchannels()
    data = w.readframes(w.getnframes())
else:
    rate, channels = 44100, 2
    data = open(path, "rb").read()
samples = struct.unpack(f"<{len(data) // 2}h", data[: len(data) // 2 * 2])
step = rate * channels // 200  # 5 ms
runs = []
for i in range(0, len(samples), step):
    kind = "sound" if max(map(abs, samples[i:i + step]), default=0) > 64 else "silence"
    if runs and runs[-1][0] == kind:
        runs[-1][1] += 5
    else:
        runs.append([kind, 5])
print(" ".join(f"{k}:{n}" for k, n in runs))
PY
}
