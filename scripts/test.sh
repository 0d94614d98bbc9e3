#!/usr/bin/env bash
# The test command.
#
# scripts/test.sh: the whole gate (.ci/run calls it). Sets up what is missing,
# checks the formatting, builds build-san/ (scripts/san.sh: clang with
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets beside), then
# runs every test there: the unit tests under the sanitizers, the package built
# as a distribution builds it, checked and built a second time to compare, and
# the end-to-end tests on the package's program. clang-tidy (scripts/tidy.py)
# and a short run of the fuzz targets run meanwhile, below the tests in
# priority.
#
# scripts/test.sh --quick [label...]: a contributor's inner loop. Checks the
# formatting and runs clang-tidy on the files changed since the last commit,
# brings build/ up to date (scripts/build.sh) and runs its unit tests, and the
# tests of each label given (e2e, packaging) too.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
# Prints how long the stage that just ended took, and since the start.
last=$started
stage() {
  local now
  now=$(date +%s)
  printf '== %-36s %4d s (%d s in all)\n' "$1" $((now - last)) $((now - started))
  last=$now
}
usage="usage: scripts/test.sh [--quick [label...]]"

quick() {
  local labels=unit label changed sources=() file
  for label in "$@"; do
    [[ "$label" =~ ^[a-z0-9_]+$ ]] || { echo "$usage" >&2; exit 2; }
    labels+="|$label"
  done
  scripts/setup-deps.sh --test
  changed=$({ git diff --name-only --diff-filter=d HEAD; git ls-files --others --exclude-standard; } \
    | grep -E '\.(cpp|h)$' | sort -u || true)
  if [[ -n "$changed" ]]; then
    # shellcheck disable=SC2086
    clang-format-14 --dry-run -Werror $changed
  fi
  stage "formatting of the changed files"
  mkdir -p build
  scripts/build.sh >build/build.log 2>&1 \
    || { tail -n 40 build/build.log; echo "FAIL: the build (all of it in build/build.log)"; exit 1; }
  stage "build/ brought up to date"
  # A changed header is checked with the file of the same name that includes it.
  for file in $changed; do
    file=${file%.h}
    file=${file%.cpp}.cpp
    [[ -f "$file" ]] && sources+=("$file")
  done
  if ((${#sources[@]})); then
    scripts/tidy.py build "${sources[@]}"
  fi
  stage "clang-tidy of the changed files"
  ctest --test-dir build --output-on-failure -j "$(nproc)" -L "^($labels)\$"
  stage "tests labelled ${labels//|/, }"
}

if [[ "${1:-}" == --quick ]]; then
  shift
  quick "$@"
  exit 0
fi
(($# == 0)) || { echo "$usage" >&2; exit 2; }

scripts/setup-deps.sh --test
stage "set-up"

# The tree as the formatter would leave it (.clang-format): any difference fails.
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror
stage "formatting"

mkdir -p build-san
scripts/san.sh >build-san/build.log 2>&1 \
  || { tail -n 40 build-san/build.log; echo "FAIL: the build (all of it in build-san/build.log)"; exit 1; }
stage "build of build-san/"

# clang-tidy and the fuzz targets (each for 20 s, with the seed it prints) need
# no display and wait for nothing: they take what the tests leave of the
# processors.
nice -n 10 scripts/tidy.py build-san >build-san/clang-tidy.log 2>&1 &
tidy=$!
nice -n 10 scripts/fuzz.sh --built build-san 20 >build-san/fuzz.log 2>&1 &
fuzz=$!

# Each end-to-end test has its own X server and sound server and mostly waits
# for them, so they run four at a time; the one that loads the machine runs
# alone.
status=0
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-san --output-on-failure -j 4 || status=1
stage "tests"

tidy_status=0
wait "$tidy" || tidy_status=1
tail -n 1 build-san/clang-tidy.log
if ((tidy_status)); then
  grep -E "(error|warning):" build-san/clang-tidy.log | sort -u || true
  echo "FAIL: clang-tidy (the whole report is in build-san/clang-tidy.log)"
  status=1
fi
stage "clang-tidy (beside the tests)"

if wait "$fuzz"; then
  grep -E "^fuzz(_[a-z]+)?:" build-san/fuzz.log
else
  cat build-san/fuzz.log
  echo "FAIL: fuzzing (its log is build-san/fuzz.log)"
  status=1
fi
stage "fuzzing (beside the tests)"
((status == 0)) || exit 1
