#!/usr/bin/env bash
# Twenty copies started at the same moment leave exactly one main window; the
# others only warn. After the running copy is killed outright, the next start
# succeeds at once.
# Usage: e2e_race.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

start_x 1280x1024x24
pids=()
for i in $(seq 1 20); do
  start_program "$program"
  pids+=("$E2E_LAST_PID")
done

# Wait until every copy has either opened its window or its warning.
for i in $(seq 1 600); do
  shown=$(($(count_windows Aelorin) + $(count_windows 警告)))
  ((shown >= 20)) && break
  sleep 0.1
done
mains=$(count_windows Aelorin)
warnings=$(count_windows 警告)
((mains == 1)) || fail "$mains main windows after 20 simultaneous starts"
((warnings == 19)) || fail "$warnings warnings after 20 simultaneous starts, expected 19"

# The one that won is the one with a window.
winner=$(xdotool search --onlyvisible --name '^Aelorin$' getwindowpid 2>/dev/null | head -n1)
[[ -n "$winner" ]] || fail "cannot tell which copy runs"
for pid in "${pids[@]}"; do
  kill -9 "$pid" 2>/dev/null || true
done
for pid in "${pids[@]}"; do
  wait_exit "$pid" 10 || true
done

expect_no_window Aelorin "a killed copy's window stayed"
start_program "$program"
expect_main_window "the start after the kill"
echo "e2e_race: passed"
