#!/usr/bin/env bash
# A stop request from outside (kill, Ctrl+C in the starting terminal, the
# terminal hanging up) closes the program as its close box does: the secondary
# windows go, the closing sound is played, and the status is 0; one its parent
# set to be ignored does nothing.
# Usage: e2e_signals.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=disk
# The music is a silent wave, so the sound written is the opening chime,
# silence, and, only if the closing path runs, the chime again. A loop that
# plays on, if silently, keeps the device open however late the signal comes:
# after a rest it would open again and the disk driver start its file anew.
copy_program "$(dirname "$program")" "$E2E_TMP/app"
sox -n -r 22050 -c 1 -b 16 "$E2E_TMP/app/sounds/Over.wav" trim 0 1
# As from a terminal: a job of its own, with SIGINT not ignored.
set -m

start_x 1024x768x24
signals=(TERM INT HUP)
for sig in "${signals[@]}"; do
  export SDL_DISKAUDIOFILE="$E2E_TMP/$sig.raw"
  start_program "$E2E_TMP/app/aelorin"
  pid=$E2E_LAST_PID
  main=$(wait_window Aelorin 30) || fail "SIG$sig: no main window"
  press_in "$main" ctrl+v
  wait_window "Aelorinのﾊﾞｰｼﾞｮﾝ情報" 10 >/dev/null || fail "SIG$sig: the version box did not open"
  sleep 1
  kill -s "$sig" "$pid"
  wait_exit "$pid" 15 || fail "SIG$sig: the program is still running"
  [[ "$E2E_STATUS" == 0 ]] || fail "SIG$sig: the program ended with status $E2E_STATUS"
  runs=$(sound_runs_ms "$SDL_DISKAUDIOFILE")
  echo "SIG$sig: $runs"
  [[ "$runs" =~ ^(silence:[0-9]+ )?sound:[0-9]+\ silence:([0-9]+)\ sound:[0-9]+( silence:[0-9]+)?$ ]] \
    || fail "SIG$sig: the closing chime was not played ($runs)"
  ((BASH_REMATCH[2] >= 500)) || fail "SIG$sig: no pause between the two chimes ($runs)"
done

# A signal the starting process set to be ignored stays ignored: nohup's SIGHUP,
# or a wrapper's SIGTERM that shields what it starts from a stop sent to its
# group. A key that opens the version box after the signal has the signal
# reach the event loop first; a closing path set off by it would end the program
# within a few seconds (the chime is shorter). It still closes the usual way.
ignored=(TERM HUP)
for sig in "${ignored[@]}"; do
  export SDL_DISKAUDIOFILE="$E2E_TMP/ignored-$sig.raw"
  # shellcheck disable=SC2016
  start_program bash -c 'trap "" "$1"; exec "$2"' ignore "$sig" "$E2E_TMP/app/aelorin"
  pid=$E2E_LAST_PID
  main=$(wait_window Aelorin 30) || fail "SIG$sig ignored: no main window"
  kill -s "$sig" "$pid"
  press_in "$main" ctrl+v
  wait_window "Aelorinのﾊﾞｰｼﾞｮﾝ情報" 10 >/dev/null || fail "SIG$sig ignored by the parent closed the program"
  ! wait_exit "$pid" 5 || fail "SIG$sig ignored by the parent ended the program (status $E2E_STATUS)"
  close_and_expect_exit "$pid" "SIG$sig ignored"
  echo "SIG$sig ignored by the parent: the program ran on"
done
echo "e2e_signals: passed"
