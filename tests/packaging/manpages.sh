#!/usr/bin/env bash
# Renders each manual page the way `man` shows it in a terminal, 80 columns wide,
# with groff's warnings on: a page must render with no warning at all and open
# with its title line. The Japanese page needs a UTF-8 locale, as its readers have.
# Usage: manpages.sh packaging-dir
set -euo pipefail
dir=$1

# page file     locale    the title line begins with
pages=(
  "aelorin.6    C         AELORIN(6)"
  "aelorin.ja.6 C.UTF-8   AELORIN(6)"
)

status=0
for row in "${pages[@]}"; do
  read -r page locale title <<<"$row"
  warnings=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$dir/$page" 2>&1 >/dev/null)
  if [[ -n "$warnings" ]]; then
    echo "FAIL: $page ($locale) renders with warnings:"
    echo "$warnings"
    status=1
  fi
  first=$(LC_ALL=$locale MANWIDTH=80 man -l "$dir/$page" 2>/dev/null | head -n1)
  if [[ "$first" != "$title"* ]]; then
    echo "FAIL: $page ($locale) opens with '$first', not with $title"
    status=1
  fi
done
((status == 0)) && echo "manpages: both pages render cleanly"
exit "$status"
