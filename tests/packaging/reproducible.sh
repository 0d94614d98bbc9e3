#!/usr/bin/env bash
# Builds the package once more, from a copy of the sources in another directory
# with every file's time set to now, and compares it byte for byte with the one
# built before: the same commit must give the same .deb wherever and whenever it
# is built. Where they differ, lists the files inside that do.
# Usage: reproducible.sh source-dir first.deb
set -euo pipefail
src=$(realpath "$1")
first=$2
[[ -f "$first" ]] || { echo "FAIL: no package at $first to compare with"; exit 1; }
work=$(mktemp -d /tmp/aelorin-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The files git knows, as they are in the working tree.
mkdir "$work/src"
git -C "$src" ls-files -z --cached --others --exclude-standard \
  | (cd "$src" && tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$work/src"
find "$work/src" -exec touch {} +
SOURCE_DATE_EPOCH=$(git -C "$src" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
echo "reproducible: second build in $work/src (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
"$work/src/scripts/package.sh" "$work/src/build/deb" >"$work/build.log" 2>&1 \
  || { tail -n 40 "$work/build.log"; echo "FAIL: the second build failed"; exit 1; }
second=$work/src/build/deb/package/$(basename "$first")

if cmp -s "$first" "$second"; then
  echo "reproducible: $(basename "$first") is the same byte for byte ($(stat -c %s "$first") bytes)"
  exit 0
fi
echo "FAIL: two builds of the same sources give different packages"
mkdir "$work/a" "$work/b"
dpkg-deb -R "$first" "$work/a"
dpkg-deb -R "$second" "$work/b"
diff -rq "$work/a" "$work/b" || true
cmp -l "$first" "$second" | head -n 5 || true
exit 1
