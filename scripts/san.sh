#!/usr/bin/env bash
# Configures and builds build-san/, the test command's own tree: with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer (any report fails a test), the
# program, the unit tests, the benchmarks (built, not run) and the fuzz targets,
# whose libraries carry the coverage libFuzzer steers by. Its end-to-end tests
# drive the package's program (build-san/deb/). Warnings are errors here too.
# Further arguments go to the build, e.g. --target fuzz_wave.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
if command -v ccache >/dev/null; then
  # Precompiled headers need the two sloppinesses to be cached, and clang's own
  # -fno-pch-timestamp, which the build sets. Paths are taken relative to the
  # sources and the working directory is left out, so that another clone of the
  # same sources finds what this one compiled (its debug information then names
  # the first clone's files: of no consequence in a test tree). The compiler's
  # own list of what it read stands in for a second run of the preprocessor,
  # which a cache that does not hold the file yet would otherwise cost.
  launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_SLOPPINESS=pch_defines,time_macros;CCACHE_BASEDIR=$PWD;CCACHE_NOHASHDIR=true;CCACHE_DEPEND=1;ccache")
fi
# Line tables are all the debug information a sanitizer's report needs.
cmake -S . -B build-san -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" \
  -DAELORIN_WERROR=ON -DAELORIN_SANITIZE=ON -DAELORIN_FUZZ=ON -DAELORIN_E2E_PACKAGE=ON "${launcher[@]}" >/dev/null
cmake --build build-san -j "$(nproc)" "$@"
