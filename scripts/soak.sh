#!/usr/bin/env bash
# Runs chosen tests of a built tree again and again, and prints for each test
# how many of its runs passed: the way to prove a new end-to-end test before it
# lands (20 passes out of 20 with --busy), and to tell a fault from a test that
# fails without one.
# With --busy, every core is kept busy by a plain busy loop for the whole soak,
# as on a machine that is building something else.
# With -j, that many tests run at once, as the test command runs them; by
# default one at a time. What the tests need set up first (the package the
# end-to-end tests drive) is set up in the first run only.
# Usage: scripts/soak.sh [-n runs] [--busy] [-j jobs] [-L label] [-R regex] [-d build-dir]
#   e.g. scripts/soak.sh -n 20 --busy -R '^e2e_wayland$'
#        scripts/soak.sh -n 10 --busy -j 4 -L e2e
set -euo pipefail
cd "$(dirname "$0")/.."
usage="usage: scripts/soak.sh [-n runs] [--busy] [-j jobs] [-L label] [-R regex] [-d build-dir]"
runs=10 busy=0 jobs=1 build=build select=()
while (($#)); do
  case $1 in
    -n) runs=$2; shift 2 ;;
    --busy) busy=1; shift ;;
    -j) jobs=$2; shift 2 ;;
    -L | -R) select+=("$1" "$2"); shift 2 ;;
    -d) build=$2; shift 2 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
[[ "$runs" =~ ^[1-9][0-9]*$ && "$jobs" =~ ^[1-9][0-9]*$ ]] || { echo "$usage" >&2; exit 2; }
((${#select[@]})) || { echo "$usage (name the tests with -L or -R)" >&2; exit 2; }

logs=$build/soak
rm -rf "$logs"
mkdir -p "$logs"
loops=()
stop_loops() {
  ((${#loops[@]} == 0)) || kill "${loops[@]}" 2>/dev/null || true
}
trap stop_loops EXIT
if ((busy)); then
  for _ in $(seq 1 "$(nproc)"); do
    bash -c 'while :; do :; done' &
    loops+=($!)
  done
fi

declare -A passed=() ran=() skipped=()
for run in $(seq 1 "$runs"); do
  setup=()
  ((run == 1)) || setup=(--fixture-exclude-setup '.*')
  ctest --test-dir "$build" "${select[@]}" "${setup[@]}" --output-on-failure -j "$jobs" >"$logs/run$run.log" 2>&1 || true
  while read -r name result; do
    ran[$name]=$((${ran[$name]:-0} + 1))
    case $result in
      Passed) passed[$name]=$((${passed[$name]:-0} + 1)) ;;
      # A test that cannot run here (status 77: it needs root) neither passed nor failed.
      Skipped) skipped[$name]=$((${skipped[$name]:-0} + 1)) ;;
    esac
  done < <(sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) \.+ *(\*+)?([A-Za-z]+).*/\1 \3/p' "$logs/run$run.log")
  echo "run $run of $runs done"
done

echo "passes out of runs$( ((busy)) && echo ", every core busy"):"
for name in $(printf '%s\n' "${!ran[@]}" | sort); do
  printf '  %-28s %2d/%d%s\n' "$name" "${passed[$name]:-0}" "${ran[$name]}" \
    "${skipped[$name]:+, ${skipped[$name]} skipped}"
done
echo "the output of each run is in $logs/"
for name in "${!ran[@]}"; do
  ((${passed[$name]:-0} + ${skipped[$name]:-0} == ${ran[$name]})) || exit 1
done
