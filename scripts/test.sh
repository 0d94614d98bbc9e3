#!/usr/bin/env bash
# Sets up what is missing, checks the formatting, builds, and runs every test:
# the unit and end-to-end tests on the normal build, then the unit tests again
# built with AddressSanitizer and UndefinedBehaviorSanitizer (any report fails
# them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh --test

# The tree as the formatter would leave it (.clang-format): any difference fails.
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror

scripts/build.sh
ctest --test-dir build --output-on-failure -j 2

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DAELORIN_WERROR=ON \
  -DAELORIN_SANITIZE=ON -DAELORIN_BENCH=OFF
cmake --build build-asan -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j 2 -L unit

# A short run of each fuzz target (about a minute in all).
scripts/fuzz.sh 20
