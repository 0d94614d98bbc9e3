#!/usr/bin/env bash
# Debian's checker on the built package, with its informational tags shown: no
# error or warning, and none of the tags that say a binary was built without
# the hardening flags or keeps sections a package strips.
# Usage: lintian.sh path/to/package.deb
set -euo pipefail
deb=$1
# tag patterns that may not appear
forbidden=(
  'hardening-[a-z-]*'
  'binary-has-unneeded-section'
)
status=0
out=$(lintian --display-info --fail-on error,warning "$deb") || status=$?
echo "$out"
((status == 0)) || { echo "FAIL: lintian reports errors or warnings"; exit 1; }
for tag in "${forbidden[@]}"; do
  if grep -Eq "^[EWI]: [^ ]+: $tag( |\$)" <<<"$out"; then
    echo "FAIL: lintian reports $tag"
    status=1
  fi
done
((status == 0)) && echo "lintian: no error, warning, hardening or unneeded-section tag"
exit "$status"
