#!/usr/bin/env bash
# CPU time of the program and of the X server while the program runs under Xvfb,
# for two builds side by side in one run, read against the floor: bench_floor,
# Qt alone doing the flight's work at the same pace (see bench_floor.cpp).
# Flying at 1, 10 and 100 ms with the music on and off, minimized at 1 and
# 100 ms with the music off, and stopped with the music off; the floor flies at
# each interval. The settings are made as a person makes them: the interval
# typed into the window and OK clicked, the flight stopped with its button, the
# music switched off with its shortcut, the window minimized through the window
# manager. Beside the CPU, the wake-ups: voluntary context switches of all the
# program's threads over the first 10 s of each figure.
# Usage: [BENCH_SOUND=pulse] [BENCH_CASES=...] bench/desktop_cpu.sh new-build-dir old-build-dir [seconds per figure, at least 10]
# Prints one line per case and build, then each build against the floor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
new=$(cd "${1:?new build dir}" && pwd)
old=$(cd "${2:?old build dir}" && pwd)
seconds=${3:-30}
((seconds >= 10)) || { echo "at least 10 seconds a figure" >&2; exit 2; }
floor=$new/bench/bench_floor
[[ -x "$floor" ]] || { echo "no $floor: build the benchmarks" >&2; exit 2; }
source "$root/tests/e2e/lib.sh"
start_x 1280x1024x24
# Sound through SDL's dummy device by default; with BENCH_SOUND=pulse through a
# private PulseAudio server, as on a desktop.
if [[ "${BENCH_SOUND:-dummy}" == pulse ]]; then
  export XDG_RUNTIME_DIR=$E2E_TMP/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  start_pulse
else
  export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy
fi
xvfb=${E2E_PIDS[0]}
hz=$(getconf CLK_TCK)

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Voluntary context switches of every thread of a process so far.
wakeups() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {n += $2} END {print n + 0}'; }

# case: "<interval ms or stopped> <music on|off|min>"; min is minimized, music off.
# BENCH_CASES="1 off;1 min" measures only those.
cases=("1 on" "1 off" "10 on" "10 off" "100 on" "100 off" "1 min" "100 min" "stopped off")
[[ -n "${BENCH_CASES:-}" ]] && IFS=';' read -r -a cases <<<"$BENCH_CASES"

# Runs one build (or the floor) in one case; prints "program% xserver% wake-ups-in-10-s".
measure() {
  local which=$1 interval=$2 music=$3 pid id x y h menu
  if [[ "$which" == floor ]]; then
    start_program "$floor" "$interval"
    pid=$E2E_LAST_PID
    id=$(wait_window floor 30) || fail "no window from the floor"
  else
    start_program "$which/aelorin"
    pid=$E2E_LAST_PID
    id=$(wait_window Aelorin 30) || fail "no window from $which"
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
    [[ "$music" != on ]] && press_in "$id" ctrl+n
    [[ "$music" == min ]] && xdotool windowminimize --sync "$id"
  fi
  xdotool mousemove 0 0
  sleep 7   # past the moment a silent sound device is let go
  local p0 x0 s0 w0 w1 p1 x1 s1
  p0=$(ticks "$pid"); x0=$(ticks "$xvfb"); w0=$(wakeups "$pid"); s0=$(date +%s%N)
  sleep 10
  w1=$(wakeups "$pid")
  sleep $((seconds - 10))
  p1=$(ticks "$pid"); x1=$(ticks "$xvfb"); s1=$(date +%s%N)
  kill -9 "$pid"
  wait_exit "$pid" 5 || true
  awk -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v hz="$hz" -v ns=$((s1 - s0)) -v w=$((w1 - w0)) \
    'BEGIN {s = ns / 1e9; printf "%.3f %.3f %d\n", 100 * p / hz / s, 100 * x / hz / s, w}'
}

printf '%-9s %-5s %-5s %9s %9s %8s\n' interval music build program xserver wakeups
: >"$E2E_TMP/results"
n=0
for c in "${cases[@]}"; do
  read -r interval music <<<"$c"
  builds=(old new)
  # The floor flies once at each interval, beside the case with the music off.
  [[ "$music" == off && "$interval" != stopped ]] && builds+=(floor)
  # Rotate which goes first, so none always meets the same load.
  for ((i = 0; i < n % ${#builds[@]}; i++)); do builds=("${builds[@]:1}" "${builds[0]}"); done
  n=$((n + 1))
  for which in "${builds[@]}"; do
    case $which in new) dir=$new ;; old) dir=$old ;; floor) dir=floor ;; esac
    read -r prog xs wk < <(measure "$dir" "$interval" "$music")
    printf '%-9s %-5s %-5s %8s%% %8s%% %8s\n' "$interval" "$music" "$which" "$prog" "$xs" "$wk"
    echo "$interval $music $which $prog $xs $wk" >>"$E2E_TMP/results"
  done
done

echo "== program + X server, each build against the floor at its interval"
awk '{k = $1 " " $2; t[k " " $3] = $4 + $5; wk[k " " $3] = $6; if ($3 == "floor") f[$1] = $4 + $5;
    if (!(k in seen)) {seen[k] = 1; order[++n] = k}}
  END {for (i = 1; i <= n; i++) {k = order[i]; split(k, a, " ");
    o = t[k " old"]; w = t[k " new"]; fl = (a[1] in f) && a[2] != "min" ? f[a[1]] : -1;
    printf "%-10s old %.3f%% new %.3f%%", k, o, w;
    if (fl > 0) printf "  floor %.3f%%  old/floor %.2fx  new/floor %.2fx", fl, o / fl, w / fl;
    printf "  wake-ups in 10 s: old %d new %d\n", wk[k " old"], wk[k " new"]}}' \
  "$E2E_TMP/results"
