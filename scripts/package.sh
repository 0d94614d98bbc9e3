#!/usr/bin/env bash
# Builds the Debian package the way a distribution builds one: the program, the
# help viewer and their data only (no tests, no benchmarks), compiled and linked
# with Debian's hardening flags from dpkg-buildflags, and reproducibly: the time
# stamps in the package are the last commit's time (SOURCE_DATE_EPOCH), and no
# path of the source or build directory is kept in the binaries, so one commit
# gives the same .deb byte for byte wherever and whenever it is built.
# Usage: [SOURCE_DATE_EPOCH=seconds] scripts/package.sh [build-dir]
# The build directory defaults to build-deb/; the .deb lands in its package/.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$src/build-deb}")
cd "$src"

if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) \
    || { echo "package.sh: not a git checkout; set SOURCE_DATE_EPOCH to the sources' time" >&2; exit 2; }
fi
export SOURCE_DATE_EPOCH

# Fortify, the strong stack protector, full RELRO and immediate binding. The
# flags map the current directory (the sources) to "."; the build directory is
# mapped after it, so that its own map wins where it lies inside the sources.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS) -ffile-prefix-map=$build=build"
ldflags=$(dpkg-buildflags --get LDFLAGS)

# The compiler cache where there is one (CCACHE_DISABLE=1 turns it off), going
# by the compiler's own list of what it read (no second preprocessor run). Each
# library's files are compiled together (a unity build): the Qt headers are
# read once a library rather than once a file, which takes a third off the
# compiler's time. The other trees compile file by file, and so check that
# every file includes what it uses.
launcher=()
command -v ccache >/dev/null && launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_DEPEND=1;ccache")
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAELORIN_WERROR=ON \
  -DBUILD_TESTING=OFF -DCMAKE_UNITY_BUILD=ON -DAELORIN_BENCH=OFF -DAELORIN_FUZZ=OFF "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j 2
cpack -B "$build/package" --config "$build/CPackConfig.cmake"
