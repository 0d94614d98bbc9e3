#!/usr/bin/env bash
# A program copied into a directory whose path holds spaces and Japanese runs
# from there; without its background picture it reports the file and ends.
# Usage: e2e_baddata.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
build=$(dirname "$(realpath "$1")")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

home="$E2E_TMP/凧 あそび"
copy_program "$build" "$home"

start_x 1024x768x24
start_program "$home/aelorin"
pid=$E2E_LAST_PID
expect_main_window "from a path with spaces and Japanese"
kill -9 "$pid"
wait_exit "$pid" 5 || true

rm "$home/images/back.bmp"
start_program "$home/aelorin"
pid=$E2E_LAST_PID
box=$(wait_window Aelorin 30) || fail "no error report for the missing picture"
read -r _ _ w _ < <(window_geometry "$box")
[[ "$w" != 630 ]] || fail "the main window appeared without its picture"
press_in "$box" Return
wait_exit "$pid" 10 || fail "the program did not end after the error report"
[[ "$E2E_STATUS" != 0 ]] || fail "a failed start-up ended with status 0"
grep -q "images/back.bmp" "$E2E_TMP"/program.*.log || fail "the report does not name the file"

echo "e2e_baddata: passed"
