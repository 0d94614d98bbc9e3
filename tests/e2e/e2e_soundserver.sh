#!/usr/bin/env bash
# What a person hears through a desktop's sound server (a private PulseAudio on
# a null sink, its output recorded): the chimes whole, with the window up only
# after the opening one; the tune without gaps while the machine is busy; the
# music back soon after the server restarts; and, with no server at all, a
# prompt and quiet start.
# Usage: e2e_soundserver.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
start_x 1024x768x24
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Longest run of silence (ms) between the first and the last sound of a recording.
longest_gap() { sound_runs_ms "$1" | tr ' ' '\n' | sed '1{/^silence/d}' | sed '${/^silence/d}' \
  | awk -F: '$1 == "silence" && $2 > m { m = $2 } END { print m + 0 }'; }
# Milliseconds of sound in a recording's first run of sound.
first_sound() { sound_runs_ms "$1" | tr ' ' '\n' | awk -F: '$1 == "sound" { print $2; exit }'; }

# The opening and closing chimes are heard whole, and the window appears only
# once the opening one has been played out. The null sink plays (and so records)
# nothing while no stream plays, so the recording starts with the chime.
case_chimes() {
  local app=$E2E_TMP/chimes chime runs played
  copy_program "$(dirname "$program")" "$app"
  sox -n -r 22050 -c 1 -b 16 "$app/sounds/Over.wav" trim 0 1  # a silent tune
  chime=$(first_sound "$app/sounds/Wave22.wav")
  start_pulse
  record_pulse "$E2E_TMP/chimes.raw"
  start_program "$app/aelorin"
  local pid=$E2E_LAST_PID
  wait_window Aelorin 30 >/dev/null || fail "chimes: no window"
  played=$(($(stat -c %s "$E2E_TMP/chimes.raw") * 1000 / 176400))
  sleep 1
  close_and_expect_exit "$pid" chimes
  sleep 0.5
  kill "$E2E_RECORDER_PID"
  runs=$(sound_runs_ms "$E2E_TMP/chimes.raw")
  echo "chimes: source ${chime} ms, heard: $runs; window up after $played ms had played"
  [[ "$runs" =~ ^(silence:[0-9]+\ )?sound:([0-9]+)\ silence:[0-9]+\ sound:([0-9]+)( silence:[0-9]+)?$ ]] \
    || fail "chimes: not two chimes apart ($runs)"
  ((BASH_REMATCH[2] >= chime - 10 && BASH_REMATCH[3] >= chime - 10)) || fail "chimes: a chime was cut short ($runs)"
  local lead=${BASH_REMATCH[1]//[!0-9]/}
  ((played >= ${lead:-0} + BASH_REMATCH[2])) || fail "chimes: the window came up before the chime ended"
  kill_pulse
}

# Two compilers at work, one for each core, as during a build, while the tune
# plays: no gap of 30 ms or more.
case_load() {
  local gap busy=()
  start_pulse
  start_program "$program"
  local pid=$E2E_LAST_PID
  wait_window Aelorin 30 >/dev/null || fail "load: no window"
  printf '#include <QtWidgets>\nint f() { QWidget w; w.show(); return 0; }\n' >"$E2E_TMP/busy.cpp"
  local flags
  flags=$(pkg-config --cflags Qt6Widgets)
  for _ in 1 2; do
    timeout 20 sh -c "while :; do g++ -O2 -fPIC $flags -c '$E2E_TMP/busy.cpp' -o /dev/null; done" &
    busy+=($!)
  done
  E2E_PIDS+=("${busy[@]}")
  record_pulse "$E2E_TMP/load.raw"
  sleep 8
  kill "$E2E_RECORDER_PID" "${busy[@]}"
  gap=$(longest_gap "$E2E_TMP/load.raw")
  echo "load: longest gap in 8 s of the tune on a busy machine: $gap ms"
  ((gap < 30)) || fail "load: the tune broke off for $gap ms"
  close_and_expect_exit "$pid" load
  kill_pulse
}

# The server is killed and started again: switching the music off and on brings
# it back within 1.5 s.
case_restart() {
  local heard
  start_pulse
  start_program "$program"
  local pid=$E2E_LAST_PID
  local main
  main=$(wait_window Aelorin 30) || fail "restart: no window"
  sleep 1
  kill_pulse
  sleep 0.5
  start_pulse
  press_in "$main" ctrl+n
  sleep 0.3
  record_pulse "$E2E_TMP/restart.raw"
  sleep 0.2
  press_in "$main" ctrl+p
  sleep 1.5
  kill "$E2E_RECORDER_PID"
  heard=$(sound_runs_ms "$E2E_TMP/restart.raw" | tr ' ' '\n' | awk -F: '$1 == "sound" { s += $2 } END { print s + 0 }')
  echo "restart: ${heard} ms of music heard in the 1.5 s after Ctrl+P"
  ((heard > 0)) || fail "restart: no music within 1.5 s of Ctrl+P after the server came back"
  close_and_expect_exit "$pid" restart
  kill_pulse
}

# No sound server and no sound card: the window comes promptly, nothing is
# printed, and closing ends the program with status 0.
case_noserver() {
  local t0 t1 log
  export PULSE_SERVER=unix:$E2E_TMP/no-such-server
  unset SDL_AUDIODRIVER
  t0=$(date +%s%N)
  start_program "$program"
  local pid=$E2E_LAST_PID
  wait_window Aelorin 10 >/dev/null || fail "noserver: no window within 10 s"
  t1=$(date +%s%N)
  echo "noserver: window after $(((t1 - t0) / 1000000)) ms"
  close_and_expect_exit "$pid" noserver
  log=$E2E_TMP/program.$E2E_STARTS.log
  [[ ! -s "$log" ]] || fail "noserver: the program printed: $(head -n3 "$log")"
  # Asked for, the sound log says why, in the sound library's words.
  QT_LOGGING_RULES=aelorin.sound.debug=true start_program "$program"
  pid=$E2E_LAST_PID
  wait_window Aelorin 10 >/dev/null || fail "noserver: no window with the sound log on"
  close_and_expect_exit "$pid" noserver
  log=$E2E_TMP/program.$E2E_STARTS.log
  grep -q '^aelorin.sound: no sound server: Connection refused$' "$log" \
    || fail "noserver: the sound log does not say why: $(head -n3 "$log")"
}

cases=(${E2E_SOUND_CASES:-chimes load restart noserver})
for c in "${cases[@]}"; do
  "case_$c"
done
echo "e2e_soundserver: passed"
