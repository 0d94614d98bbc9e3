#!/usr/bin/env bash
# The program in a directory one level below the root, /aelorin-e2e.XXXXXX/,
# finds its data there: its window appears and a close request ends it. Without
# its background picture the report names /aelorin-e2e.XXXXXX/images/back.bmp,
# with no doubled separator. Creating a directory in / needs root: anyone else
# skips (status 77).
# Usage: e2e_rootdir.sh path/to/aelorin
build=$(dirname "$(realpath "$1")")
if [[ $(id -u) != 0 || ! -w / ]]; then
  echo "e2e_rootdir: skipped (needs to create a directory in /)"
  exit 77
fi
source "$(dirname "$0")/lib.sh"
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

top=$(mktemp -d /aelorin-e2e.XXXXXX)
trap 'rm -rf "$top"; e2e_cleanup' EXIT
copy_program "$build" "$top"

start_x 1024x768x24
start_program "$top/aelorin"
pid=$E2E_LAST_PID
expect_main_window "from $top"
close_and_expect_exit "$pid" "from $top"

rm "$top/images/back.bmp"
start_program "$top/aelorin"
pid=$E2E_LAST_PID
box=$(wait_window Aelorin 30) || fail "no error report for the missing picture"
press_in "$box" Return
wait_exit "$pid" 10 || fail "the program did not end after the error report"
log="$E2E_TMP/program.$E2E_STARTS.log"
grep -q "cannot load picture $top/images/back.bmp:" "$log" || { cat "$log" >&2; fail "the report does not name $top/images/back.bmp"; }
! grep -q "//" "$log" || fail "a doubled separator in: $(cat "$log")"

echo "e2e_rootdir: passed"
