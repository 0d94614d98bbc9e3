#!/usr/bin/env bash
# Desktop figures of the real program under Xvfb, each measured side by side
# with its reference in this one run:
#   ticks run against ticks due, repaints and wake-ups a second at 1, 2, 10 and
#   100 ms, on a quiet machine and with every core kept busy by a busy loop,
#   CPU use of a running copy at the default interval,
#   start to first composed frame, and peak memory, against a minimal window.
# Usage: bench/desktop.sh [build dir] [CPU seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cpu_seconds=${2:-30}
source "$root/tests/e2e/lib.sh"
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy
start_x 1280x1024x24

echo "== ticks, quiet (10 s per interval)"
"$build/bench/bench_ticks" "$build" 10
echo "== ticks, every core busy (10 s per interval)"
loops=()
for _ in $(seq 1 "$(nproc)"); do
  bash -c 'while :; do :; done' &
  loops+=($!)
done
"$build/bench/bench_ticks" "$build" 10
kill "${loops[@]}"

echo "== CPU use of a running copy at 100 ms over ${cpu_seconds} s"
start_program "$build/aelorin"
pid=$E2E_LAST_PID
wait_window Aelorin 30 >/dev/null || fail "no window"
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks "$pid"); s0=$(date +%s%N)
sleep "$cpu_seconds"
t1=$(ticks "$pid"); s1=$(date +%s%N)
awk -v t="$((t1 - t0))" -v hz="$hz" -v ns="$((s1 - s0))" \
  'BEGIN {printf "cpu-percent-of-one-core %.3f\n", 100 * (t / hz) / (ns / 1e9)}'
kill -9 "$pid"
wait_exit "$pid" 5 || true

echo "== start to first frame and peak memory (5 runs each, median)"
data="$E2E_TMP/nosound"
mkdir -p "$data"
cp -r "$build/images" "$data/"   # no sounds/: nothing to wait for
measure() {
  local t0 out
  t0=$(date +%s%3N)
  out=$("$build/bench/bench_startup" "$@")
  echo "$(( $(awk '/first-frame-ms/ {print $2}' <<<"$out") - t0 )) $(awk '/peak-rss-kb/ {print $2}' <<<"$out") $(( $(awk '/window-ms/ {print $2}' <<<"$out") - t0 ))"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
: >"$E2E_TMP/a"; : >"$E2E_TMP/m"
for i in 1 2 3 4 5; do
  measure aelorin "$data" >>"$E2E_TMP/a"
  measure minimal >>"$E2E_TMP/m"
done
a_ms=$(cut -d' ' -f1 "$E2E_TMP/a" | median); m_ms=$(cut -d' ' -f1 "$E2E_TMP/m" | median)
a_kb=$(cut -d' ' -f2 "$E2E_TMP/a" | median); m_kb=$(cut -d' ' -f2 "$E2E_TMP/m" | median)
echo "first-frame-ms aelorin $a_ms minimal $m_ms ratio $(awk -v a="$a_ms" -v m="$m_ms" 'BEGIN {printf "%.2f", a / m}')"
a_win=$(cut -d' ' -f3 "$E2E_TMP/a" | median); m_win=$(cut -d' ' -f3 "$E2E_TMP/m" | median)
echo "window-painted-ms aelorin $a_win minimal $m_win ratio $(awk -v a="$a_win" -v m="$m_win" 'BEGIN {printf "%.2f", a / m}')"
echo "peak-rss-kb aelorin $a_kb minimal $m_kb ratio $(awk -v a="$a_kb" -v m="$m_kb" 'BEGIN {printf "%.2f", a / m}')"
