#!/usr/bin/env bash
# CPU time of the program, the X server and the sound server while the program
# flies at its default 100 ms with the music on, through a desktop's sound server
# (a private PulseAudio on a null sink, or PipeWire with its PulseAudio
# interface), for two builds side by side, and of `paplay` playing the same tune
# on the same server for comparison.
# Usage: bench/sound_cpu.sh new-build-dir old-build-dir [seconds per figure] [pulse|pipewire]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
new=$(cd "${1:?new build dir}" && pwd)
old=$(cd "${2:?old build dir}" && pwd)
seconds=${3:-30}
server=${4:-pulse}
source "$root/tests/e2e/lib.sh"
start_x 1280x1024x24
xvfb=${E2E_PIDS[0]}
hz=$(getconf CLK_TCK)
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

ticks() { local t=0 p; for p in "$@"; do t=$((t + $(awk '{print $14 + $15}' "/proc/$p/stat"))); done; echo "$t"; }

E2E_SOUND_SERVER=$server start_pulse
servers=${E2E_SOUND_PIDS[*]}

# Prints "program% xserver% server%" of one core for what runs in $1 (a pid).
measure_pid() {
  local pid=$1 p0 x0 v0 s0 p1 x1 v1 s1
  p0=$(ticks "$pid"); x0=$(ticks "$xvfb"); v0=$(ticks $servers); s0=$(date +%s%N)
  sleep "$seconds"
  p1=$(ticks "$pid"); x1=$(ticks "$xvfb"); v1=$(ticks $servers); s1=$(date +%s%N)
  awk -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v v=$((v1 - v0)) -v hz="$hz" -v ns=$((s1 - s0)) \
    'BEGIN {s = ns / 1e9; printf "%.3f %.3f %.3f\n", 100 * p / hz / s, 100 * x / hz / s, 100 * v / hz / s}'
}

measure_build() {
  start_program "$1/aelorin"
  local pid=$E2E_LAST_PID
  wait_window Aelorin 30 >/dev/null || fail "no window from $1"
  sleep 3
  measure_pid "$pid"
  kill -9 "$pid"
  wait_exit "$pid" 5 || true
}

# paplay with its default buffer, playing the tune three times over (one process
# for the whole measurement).
measure_paplay() {
  sox "$new/sounds/Over.wav" "$new/sounds/Over.wav" "$new/sounds/Over.wav" "$E2E_TMP/tune3.wav"
  paplay "$E2E_TMP/tune3.wav" &
  local pid=$!
  E2E_PIDS+=("$pid")
  sleep 2
  measure_pid "$pid"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

printf '%-8s %-8s %9s %9s %9s\n' server what program xserver sound
for what in old new paplay new old paplay; do
  case $what in
    new) read -r p x v < <(measure_build "$new") ;;
    old) read -r p x v < <(measure_build "$old") ;;
    paplay) read -r p x v < <(measure_paplay) ;;
  esac
  printf '%-8s %-8s %8s%% %8s%% %8s%%  total %s%%\n' "$server" "$what" "$p" "$x" "$v" \
    "$(awk -v a="$p" -v b="$x" -v c="$v" 'BEGIN {printf "%.3f", a + b + c}')"
done
