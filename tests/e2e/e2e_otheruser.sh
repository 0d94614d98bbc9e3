#!/usr/bin/env bash
# The desktop's two claims (the running copy, the help window that takes the
# next request) met from outside: help windows killed, closing, or under a long
# TMPDIR; a main window closed with its help open; then another user (nobody, as
# root only) who moves first, holding every name the program used and listening.
# Usage: e2e_otheruser.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1") HELP="Aelorin ヘルプ"
viewer=$(dirname "$program")/aelorin-help help=$(dirname "$program")/help/Aelor.hlp
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy && start_x 1024x768x24
runtime=$E2E_TMP/runtime other=$E2E_TMP/other
mkdir -m 700 "$runtime" && mkdir -m 777 "$other" && chmod 711 "$E2E_TMP"  # the other user reaches "$other"
as_other=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
# The other user locks NAME.lock and listens at NAME in a folder, and notes each connection.
cat >"$other/hold.py" <<'PY'
import fcntl, os, select, socket, sys
folder, log, names = sys.argv[1], sys.argv[2], sys.argv[3:]
locks = [open(os.path.join(folder, n + ".lock"), "a") for n in names]
[fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB) for f in locks]
servers = [socket.socket(socket.AF_UNIX) for n in names]
[(s.bind(os.path.join(folder, n)), s.listen(16)) for s, n in zip(servers, names)]
print("holding", flush=True)
while True:
    for s in select.select(servers, [], [])[0]:
        s.accept(), open(log, "a").write("connection\n")
PY
install -m 666 /dev/null "$other/heard"
# Programs start with the environment in envs, set for each row.
view() { start_program env "${envs[@]}" "$@" "$viewer" "$help"; }
opens() { wait_window "$HELP" 30 >/dev/null || fail "$1: no help window"; }
# The next viewer hands its file to the one help window and ends.
hands_over() {
  view
  wait_exit "$E2E_LAST_PID" 30 && [[ "$E2E_STATUS" == 0 ]] || fail "$1: the next viewer did not hand its file over"
  (($(count_windows "$HELP") == 1)) || fail "$1: not exactly one help window after the next request"
}
close_help() {
  for id in $(xdotool search --onlyvisible --name "^$HELP\$"); do wmctrl -i -c "$id"; done
  expect_no_window "$HELP" "$1: the help window did not close"
}
close_main() {
  wmctrl -i -c "$(wait_window Aelorin 5)"
  wait_exit "$2" 15 && [[ "$E2E_STATUS" == 0 ]] || fail "$1: the program did not end cleanly"
}
case_killed() {
  view && opens killed && kill -9 "$E2E_LAST_PID"
  expect_no_window "$HELP" "killed: the help window stayed"
  view && opens killed && hands_over killed
}
case_closing() {
  # The claim passes from the window closing to one that keeps it.
  (exec 9<"$(echo "$runtime"/*help*.lock)" && flock 9 && echo held && exec sleep 600) >"$E2E_TMP/closing" &
  local holder=$! && E2E_PIDS+=("$holder")
  close_help closing
  until grep -qs held "$E2E_TMP/closing"; do sleep 0.05; done
  view QT_LOGGING_RULES=aelorin.desktop.debug=true
  for _ in $(seq 1 300); do grep -qs 'waiting for its claim' "$E2E_TMP/program.$E2E_STARTS.log" && break; sleep 0.1; done
  grep -q 'waiting for its claim' "$E2E_TMP/program.$E2E_STARTS.log" || fail "closing: the viewer did not wait"
  kill "$holder"
  opens closing && hands_over closing && close_help closing
}
case_longtmp() {
  envs=(-u XDG_RUNTIME_DIR TMPDIR="$E2E_TMP/$(printf 'a%.0s' {1..100})")
  mkdir "${envs[2]#TMPDIR=}"
  view && opens longtmp && hands_over longtmp && close_help longtmp
}
case_leak() {
  start_program env "${envs[@]}" "$program" && local main=$E2E_LAST_PID
  expect_main_window leak
  press_in "$(wait_window Aelorin 5)" ctrl+h
  opens leak && close_main leak "$main"
  start_program env "${envs[@]}" "$program"
  expect_main_window "leak: started again with its help open"
  close_main leak "$E2E_LAST_PID" && close_help leak
}
# The fallback folder the program would use is made as the row says, and the
# other user holds the names in HELD first.
case_other() {
  local row=$1 says=$2 tmp=$E2E_TMP/tmp-$1 main log expected && local own=$tmp/aelorin-$(id -u)
  local held=$own && envs=(-u XDG_RUNTIME_DIR TMPDIR="$tmp") && mkdir -m 1777 "$tmp"
  case $row in
    open) "${as_other[@]}" mkdir -m 777 "$own" ;;
    mode*) "${as_other[@]}" mkdir -m "${row#mode}" "$own" ;;
    link) held=$other/link && "${as_other[@]}" mkdir -m 777 "$held" && "${as_other[@]}" ln -s "$held" "$own" ;;
    group) mkdir -m 770 "$own" && chgrp nogroup "$own" ;;
    all) mkdir -m 777 "$own" ;;
    runtime) held=$tmp/run && envs=(XDG_RUNTIME_DIR="$held" TMPDIR="$tmp") && mkdir -m 777 "$held" ;;
  esac
  "${as_other[@]}" /usr/bin/python3 "$other/hold.py" "$held" "$other/heard" "${names[@]}" >"$tmp.hold" 2>&1 &
  E2E_PIDS+=($!)
  until grep -qs holding "$tmp.hold" || ! kill -0 $! 2>/dev/null; do sleep 0.05; done
  grep -q holding "$tmp.hold" || fail "$row: the other user could not hold the names: $(cat "$tmp.hold")"
  start_program env "${envs[@]}" "$program"
  main=$E2E_LAST_PID log=$E2E_TMP/program.$E2E_STARTS.log
  expect_main_window "$row: the program did not start"
  expected=${says:+aelorin.desktop: $own $says; starting without claims}
  [[ "$(grep '^aelorin.desktop:' "$log" || true)" == "$expected" ]] \
    || fail "$row: expected '${expected:-no word of the claims}', got: $(head -n 3 "$log")"
  press_in "$(wait_window Aelorin 5)" ctrl+h
  opens "$row" && { [[ -n "$says" ]] || hands_over "$row"; }
  close_help "$row" && close_main "$row" "$main"
  [[ ! -s "$other/heard" ]] || fail "$row: the other user heard: $(head -c 300 "$other/heard")"
}

# row | what it shows | for another user's rows, why the program goes without claims
rows=(
  "killed|a help viewer killed: the next takes its claim, the one after hands over to it"
  "closing|a viewer that meets its holder closing waits for the claim, then serves"
  "longtmp|a TMPDIR longer than a socket name may be: the help still hands over"
  "leak|help open, main window closed: the program starts again, not refused"
  "other open|the other user's fallback folder, open to all|belongs to another user"
  "other link|a link to a folder of the other user's|is a link or not a directory"
  "other mode755|the other user's fallback folder, mode 0755|belongs to another user"
  "other mode700|the other user's fallback folder, mode 0700|belongs to another user"
  "other group|this user's fallback folder, open to the group|is open to other users"
  "other all|this user's fallback folder, open to all|is open to other users"
  "other runtime|a runtime directory open to all: the claims go to the fallback|"
)
skipped=0
for r in "${rows[@]}"; do
  IFS='|' read -r name what says <<<"$r"
  if [[ "$name" == other* ]]; then
    (($(id -u) == 0)) || { skipped=1 && echo "${name#other }: skipped (needs root)" && continue; }
    names=($(cd "$runtime" && ls -- *.lock | sed 's/\.lock$//'))  # every name the rows above used
    ((${#names[@]} == 2)) || fail "the program's names were not found: ${names[*]}"
  fi
  envs=(XDG_RUNTIME_DIR="$runtime") && case_$name "$says"
  echo "${name#other }: $what"
done
((skipped == 0)) || exit 77
echo "e2e_otheruser: passed"
