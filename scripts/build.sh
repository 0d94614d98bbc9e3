#!/usr/bin/env bash
# Configures and builds the program in build/ (warnings are errors here).
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler cache where there is one (CCACHE_DISABLE=1 turns it off).
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAELORIN_WERROR=ON "${launcher[@]}" "$@"
cmake --build build -j "$(nproc)"
