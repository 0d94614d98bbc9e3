#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh --test
scripts/build.sh
ctest --test-dir build --output-on-failure -j 2
