#!/usr/bin/env bash
# CPU time of the program and of the X server while the program runs under Xvfb,
# for two builds side by side in one run: flying at 1, 10 and 100 ms with the
# music on and off, and stopped with the music off. The settings are made as a
# person makes them: the interval typed into the window and OK clicked, the flight
# stopped with its button, the music switched off with its shortcut.
# Usage: [BENCH_SOUND=pulse] bench/desktop_cpu.sh new-build-dir old-build-dir [seconds per figure]
# Prints one line per case and build, then the old/new ratios.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
new=$(cd "${1:?new build dir}" && pwd)
old=$(cd "${2:?old build dir}" && pwd)
seconds=${3:-30}
source "$root/tests/e2e/lib.sh"
start_x 1280x1024x24
# Sound through SDL's dummy device by default; with BENCH_SOUND=pulse through a
# private PulseAudio server, as on a desktop.
if [[ "${BENCH_SOUND:-dummy}" == pulse ]]; then
  export XDG_RUNTIME_DIR=$E2E_TMP/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  start_pulse
else
  export SDL_AUDIODRIVER=dummy
fi
xvfb=${E2E_PIDS[0]}
hz=$(getconf CLK_TCK)

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# case: "<interval ms or stopped> <music on|off>"
cases=("1 on" "1 off" "10 on" "10 off" "100 on" "100 off" "stopped off")

# Runs one build in one case; prints "program% xserver%" of one core.
measure() {
  local build=$1 interval=$2 music=$3 pid id x y h menu
  start_program "$build/aelorin"
  pid=$E2E_LAST_PID
  id=$(wait_window Aelorin 30) || fail "no window from $build"
  read -r x y _ h < <(window_geometry "$id")
  menu=$((h - 370))
  sleep 2   # the opening chime has played and the music loop runs
  if [[ "$interval" == stopped ]]; then
    xdotool mousemove --sync $((x + 530 + 35)) $((y + menu + 135 + 15)) click 1
  elif [[ "$interval" != 100 ]]; then
    xdotool mousemove --sync $((x + 400 + 110 + 30)) $((y + menu + 170 + 110 + 10)) click 1
    xdotool key --clearmodifiers ctrl+a type "$interval"
    xdotool mousemove --sync $((x + 400 + 80 + 25)) $((y + menu + 170 + 150 + 15)) click 1
  fi
  [[ "$music" == off ]] && press_in "$id" ctrl+n
  xdotool mousemove 0 0
  sleep 7   # past the moment a silent sound device is let go
  local p0 x0 s0 p1 x1 s1
  p0=$(ticks "$pid"); x0=$(ticks "$xvfb"); s0=$(date +%s%N)
  sleep "$seconds"
  p1=$(ticks "$pid"); x1=$(ticks "$xvfb"); s1=$(date +%s%N)
  kill -9 "$pid"
  wait_exit "$pid" 5 || true
  awk -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v hz="$hz" -v ns=$((s1 - s0)) \
    'BEGIN {s = ns / 1e9; printf "%.3f %.3f\n", 100 * p / hz / s, 100 * x / hz / s}'
}

printf '%-12s %-5s %-4s %9s %9s\n' interval music build program xserver
: >"$E2E_TMP/results"
n=0
for c in "${cases[@]}"; do
  read -r interval music <<<"$c"
  # Alternate which build goes first, so neither always meets the same load.
  if ((n++ % 2)); then order=(new old); else order=(old new); fi
  for which in "${order[@]}"; do
    if [[ $which == new ]]; then dir=$new; else dir=$old; fi
    read -r prog xs < <(measure "$dir" "$interval" "$music")
    printf '%-12s %-5s %-4s %8s%% %8s%%\n' "$interval" "$music" "$which" "$prog" "$xs"
    echo "$interval $music $which $prog $xs" >>"$E2E_TMP/results"
  done
done

echo "== old / new, program + X server"
awk '{k = $1 " " $2; t[k " " $3] = $4 + $5; p[k " " $3] = $4; x[k " " $3] = $5; if (!(k in seen)) {seen[k] = 1; order[++n] = k}}
  END {for (i = 1; i <= n; i++) {k = order[i]; o = t[k " old"]; w = t[k " new"];
    printf "%-16s old %.3f%% new %.3f%% ratio %s\n", k, o, w, (w > 0 ? sprintf("%.1f", o / w) : "inf")}}' \
  "$E2E_TMP/results"
