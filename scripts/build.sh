#!/usr/bin/env bash
# Configures and builds the program in build/ (warnings are errors here).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAELORIN_WERROR=ON "$@"
cmake --build build -j "$(nproc)"
