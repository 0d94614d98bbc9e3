#!/usr/bin/env bash
# Wake-ups of the program's threads while the desktop's sound server is away,
# with the music on: the server (a private PulseAudio on a null sink, or
# PipeWire's PulseAudio interface) is killed, and each thread's voluntary
# context switches are counted from /proc over a number of seconds, flying at
# the default 100 ms, with the flight stopped, and flying with the server's
# folder removed as well (a server that cleans up at exit), for two builds
# side by side.
# Usage: bench/sound_away.sh new-build-dir old-build-dir [seconds] [pulse|pipewire]
# Prints, per build and state, the switches of the main thread and of each other
# thread by name, then the ticks the animation timer asked for meanwhile.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
new=$(cd "${1:?new build dir}" && pwd)
old=$(cd "${2:?old build dir}" && pwd)
seconds=${3:-10}
export E2E_SOUND_SERVER=${4:-pulse}
source "$root/tests/e2e/lib.sh"
start_x 1280x1024x24
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# "tid name switches" for every thread of a process, the main thread first.
switches() {
  local pid=$1 task
  for task in "$pid" $(ls "/proc/$pid/task" | grep -vx "$pid"); do
    echo "$task $(cat "/proc/$pid/task/$task/comm") $(awk '/^voluntary_ctxt_switches/ {print $2}' \
      "/proc/$pid/task/$task/status")"
  done
}

measure() {
  local build=$1 state=$2 pid id x y h
  start_pulse
  start_program "$build/aelorin"
  pid=$E2E_LAST_PID
  id=$(wait_window Aelorin 30) || fail "no window from $build"
  if [[ $state == stopped ]]; then
    read -r x y _ h < <(window_geometry "$id")
    xdotool mousemove --sync $((x + 530 + 35)) $((y + h - 370 + 135 + 15)) click 1
    xdotool mousemove 0 0
  fi
  sleep 2
  kill_pulse
  [[ $state != gone ]] || rm -rf "$E2E_TMP/$E2E_SOUND_SERVER/pulse"
  sleep 2  # the loss noticed and whatever it starts settled
  switches "$pid" >"$E2E_TMP/before"
  sleep "$seconds"
  switches "$pid" >"$E2E_TMP/after"
  kill -9 "$pid"
  wait_exit "$pid" 5 || true
  # A thread that came or went meanwhile counts from 0 or up to its last count.
  awk 'NR == FNR { before[$1] = $3; next } { printf "%s:%d ", $2, $3 - before[$1] } END { print "" }' \
    "$E2E_TMP/before" "$E2E_TMP/after"
}

printf '%-8s %-5s %-8s %s\n' server build state "wake-ups in ${seconds} s per thread (main thread first)"
for state in flying stopped gone; do
  for which in old new; do
    if [[ $which == new ]]; then dir=$new; else dir=$old; fi
    # Not in a subshell: the sound server it starts must stay known to this shell.
    measure "$dir" "$state" >"$E2E_TMP/line"
    printf '%-8s %-5s %-8s %s\n' "$E2E_SOUND_SERVER" "$which" "$state" "$(cat "$E2E_TMP/line")"
  done
done
echo "ticks asked for while flying: $((seconds * 10)) (100 ms)"
