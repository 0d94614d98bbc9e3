#!/usr/bin/env bash
# Started where no display server is named, both programs say so plainly and end
# with status 1, rather than letting the toolkit abort.
# Usage: e2e_nodisplay.sh path/to/aelorin (the help viewer lies beside it)
source "$(dirname "$0")/lib.sh"
programs=("$1" "$(dirname "$1")/aelorin-help")
# Each case: the environment the program starts in, beyond an empty one.
cases=(
  ""
  "QT_QPA_PLATFORM=xcb"
  "QT_QPA_PLATFORM=wayland"
)
for program in "${programs[@]}"; do
  name=$(basename "$program")
  for extra in "${cases[@]}"; do
    status=0
    # shellcheck disable=SC2086
    env -i PATH="$PATH" HOME="$E2E_TMP" $extra "$program" >"$E2E_TMP/out" 2>"$E2E_TMP/err" </dev/null || status=$?
    [[ "$status" == 1 ]] || fail "$name with '${extra:-nothing}': status $status, expected 1 ($(head -c 300 "$E2E_TMP/err"))"
    grep -q "^$name: no display to open the window on" "$E2E_TMP/err" \
      || fail "$name with '${extra:-nothing}': no plain report ($(head -c 300 "$E2E_TMP/err"))"
  done
done
echo "e2e_nodisplay: passed"
