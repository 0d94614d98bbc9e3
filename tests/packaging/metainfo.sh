#!/usr/bin/env bash
# Unpacks the built .deb and checks its metainfo as a software centre reads the
# installed tree: it validates (the launchable desktop file must be there too),
# and the name and summary it lists exist in English and in Japanese.
# Usage: metainfo.sh path/to/package.deb
set -euo pipefail
deb=$1
root=$(mktemp -d /tmp/aelorin-metainfo.XXXXXX)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

appstreamcli validate-tree --no-net "$root" || { echo "FAIL: the installed metainfo does not validate"; exit 1; }

shopt -s nullglob
files=("$root"/usr/share/metainfo/*.metainfo.xml)
((${#files[@]} == 1)) || { echo "FAIL: expected one metainfo file, found ${#files[@]}"; exit 1; }

# language (empty: the untranslated text)
langs=("" ja)
for lang in "${langs[@]}"; do
  for tag in name summary; do
    text=$(python3 - "${files[0]}" "$tag" "$lang" <<'PY'
import sys, xml.etree.ElementTree as ET
path, tag, lang = sys.argv[1:]
key = "{http://www.w3.org/XML/1998/namespace}lang"
for e in ET.parse(path).getroot().findall(tag):
    if e.get(key, "") == lang:
        print((e.text or "").strip())
PY
)
    [[ -n "$text" ]] || { echo "FAIL: no $tag for language '${lang:-untranslated}'"; exit 1; }
    echo "$tag[${lang:-C}]: $text"
  done
done
echo "metainfo: passed"
