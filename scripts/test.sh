#!/usr/bin/env bash
# Sets up what is missing, checks the formatting, builds, runs clang-tidy, and
# runs every test: the unit and end-to-end tests on the normal build, then the
# unit tests again built with AddressSanitizer and UndefinedBehaviorSanitizer
# (any report fails them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh --test

# The tree as the formatter would leave it (.clang-format): any difference fails.
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror

scripts/build.sh

# The checks in .clang-tidy over the program's, the tests' and the benchmarks'
# sources, as the build compiles them (build/compile_commands.json).
if ! run-clang-tidy-14 -p build -j 2 -quiet \
  "$PWD/(app|bench|data|dialogs|helpviewer|labels|platform|rules|tests|widgets)/[^/]+\.cpp$" >build/clang-tidy.log 2>&1; then
  grep -E "(error|warning):" build/clang-tidy.log | sort -u
  echo "FAIL: clang-tidy (the whole report is in build/clang-tidy.log)"
  exit 1
fi

ctest --test-dir build --output-on-failure -j 2

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DAELORIN_WERROR=ON \
  -DAELORIN_SANITIZE=ON -DAELORIN_BENCH=OFF
cmake --build build-asan -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j 2 -L unit

# A short run of each fuzz target (about a minute in all).
scripts/fuzz.sh 20
