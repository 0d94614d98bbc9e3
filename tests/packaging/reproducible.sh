#!/usr/bin/env bash
# Builds the package once more, from a copy of the sources in another directory,
# and compares it byte for byte with the one built before: the same commit must
# give the same .deb wherever and whenever it is built. The second build
# directory lies outside its sources where the first lay inside its own, and
# inside where the first lay outside. Where they differ, lists the files inside
# that do.
# The copy and its build tree are kept in the work directory: a later run copies
# only the files whose content changed (their time is then now, and every file's
# was at the first copy) and rebuilds what depends on them.
# Usage: reproducible.sh source-dir first.deb work-dir
set -euo pipefail
src=$(realpath "$1")
first=$2
work=$(realpath -m "$3")
[[ -f "$first" ]] || { echo "FAIL: no package at $first to compare with"; exit 1; }
mkdir -p "$work/src"
staging=$(mktemp -d /tmp/aelorin-repro.XXXXXX)
trap 'rm -rf "$staging"' EXIT

# The files git knows, as they are in the working tree.
git -C "$src" ls-files -z --cached --others --exclude-standard \
  | (cd "$src" && tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$staging"
rsync -rlc --delete --exclude=/build/ "$staging/" "$work/src/"
SOURCE_DATE_EPOCH=$(git -C "$src" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
# The first package lies in <build>/package/.
build=$work/src/build/deb
[[ "$(realpath "$(dirname "$first")/..")" == "$src"/* ]] && build=$work/build
echo "reproducible: second build of $work/src in $build (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
# Below the tests that run beside it, which a busy machine would slow.
nice -n 10 "$work/src/scripts/package.sh" "$build" >"$work/build.log" 2>&1 \
  || { tail -n 40 "$work/build.log"; echo "FAIL: the second build failed"; exit 1; }
second=$build/package/$(basename "$first")

if cmp -s "$first" "$second"; then
  echo "reproducible: $(basename "$first") is the same byte for byte ($(stat -c %s "$first") bytes)"
  exit 0
fi
echo "FAIL: two builds of the same sources give different packages"
mkdir "$staging/a" "$staging/b"
dpkg-deb -R "$first" "$staging/a"
dpkg-deb -R "$second" "$staging/b"
diff -rq "$staging/a" "$staging/b" || true
cmp -l "$first" "$second" | head -n 5 || true
exit 1
