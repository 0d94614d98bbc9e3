#!/usr/bin/env bash
# Another user of the machine (nobody) holds every name it can compute for the
# program and its help viewer on this desktop, and listens there: the program
# still starts, its help still opens in this user's viewer while that user hears
# nothing, and a second copy of this user is still refused. Where the session
# has no runtime directory and that user made the program's fallback directory
# first, the program starts and says so in one line.
# Runs as root only (it acts as nobody through setpriv).
# Usage: e2e_otheruser.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
if [[ $(id -u) -ne 0 ]]; then
  echo "e2e_otheruser: needs root to act as another user; skipped"
  exit 77
fi
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy
start_x 1024x768x24
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# A place the other user can write, inside the test's own.
chmod 711 "$E2E_TMP"
other=$E2E_TMP/other
mkdir -m 777 "$other"
as_other=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

# The other user binds the names a program of this user on this display could
# have been known by in the shared socket namespace, padded and not, and writes
# down whatever reaches them.
cat >"$other/hold.py" <<'PY'
import hashlib, select, socket, sys
log, uid, display = sys.argv[1], sys.argv[2], sys.argv[3]
listening = []
for prefix in ("Aelorin", "Aelorin-help"):
    name = f"{prefix}-{hashlib.sha1(f'{uid}|{display}'.encode()).hexdigest()[:16]}".encode()
    for address in (b"\0" + name, (b"\0" + name).ljust(108, b"\0")):
        s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        s.bind(address)
        s.listen(16)
        listening.append(s)
print("holding", flush=True)
while True:
    for s in select.select(listening, [], [])[0]:
        peer, _ = s.accept()
        peer.settimeout(2)
        try:
            heard = peer.recv(65536)
        except OSError:
            heard = b""
        with open(log, "ab") as f:
            f.write(b"connection: " + heard + b"\n")
        peer.close()
PY
touch "$other/heard"
chmod 666 "$other/heard"
"${as_other[@]}" /usr/bin/python3 "$other/hold.py" "$other/heard" "$(id -u)" "$DISPLAY" >"$other/hold.out" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 1 100); do
  grep -qs holding "$other/hold.out" && break
  sleep 0.05
done
grep -q holding "$other/hold.out" || fail "the other user could not hold the names: $(cat "$other/hold.out")"

case_starts() {
  start_program "$program"
  main_pid=$E2E_LAST_PID
  expect_main_window "while another user holds the names"
}

case_help() {
  local main helps viewer window
  main=$(wait_window Aelorin 5) || fail "help: no main window"
  press_in "$main" ctrl+h
  window=$(wait_window "Aelorin ヘルプ" 20) || fail "help: no help window opened"
  # The next viewer hands its file to the open window and ends.
  start_program "$(dirname "$program")/aelorin-help" "$(dirname "$program")/help/Aelor.hlp"
  viewer=$E2E_LAST_PID
  wait_exit "$viewer" 20 || fail "help: a second viewer did not hand its file over"
  [[ "$E2E_STATUS" == 0 ]] || fail "help: the second viewer ended with status $E2E_STATUS"
  helps=$(count_windows "Aelorin ヘルプ")
  ((helps == 1)) || fail "help: $helps help windows after two requests, expected the one"
  [[ ! -s "$other/heard" ]] || fail "help: the other user heard: $(head -c 300 "$other/heard")"
  wmctrl -i -c "$window"
  expect_no_window "Aelorin ヘルプ" "help: the help window did not close"
}

case_refused() {
  local warn
  start_program "$program"
  local second=$E2E_LAST_PID
  warn=$(wait_window 警告 20) || fail "refused: the second copy showed no warning"
  press_in "$warn" Return
  wait_exit "$second" 10 || fail "refused: the second copy did not end"
  (($(count_windows Aelorin) == 1)) || fail "refused: not exactly one main window"
  close_and_expect_exit "$main_pid" refused
}

case_fallback() {
  local log
  unset XDG_RUNTIME_DIR
  export TMPDIR=$E2E_TMP/tmp
  mkdir -m 1777 "$TMPDIR"
  "${as_other[@]}" mkdir -m 755 "$TMPDIR/aelorin-$(id -u)"
  start_program "$program"
  main_pid=$E2E_LAST_PID
  expect_main_window "fallback directory taken"
  close_and_expect_exit "$main_pid" fallback
  log=$E2E_TMP/program.$E2E_STARTS.log
  (($(grep -c '^aelorin.desktop:' "$log") == 1)) && grep -q "^aelorin.desktop: .*another user" "$log" \
    || fail "fallback: the program did not say so in one line: $(head -n 3 "$log")"
}

# case | what it shows
cases=(
  "starts|the program starts while another user holds its names"
  "help|the help opens in this user's viewer, the other user hears nothing"
  "refused|a second copy of this user is still refused"
  "fallback|no runtime directory, the fallback another user's: starts, says so"
)
for c in "${cases[@]}"; do
  IFS='|' read -r name what <<<"$c"
  "case_$name"
  echo "$name: $what"
done
echo "e2e_otheruser: passed"
